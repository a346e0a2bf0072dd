// The directory store against real files, byte for byte: its routines, the files other editors
// leave, and every way a write can fail.

#include "directory/annuaire.h"
#include "directory/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <memory>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace dz;

using Noms = QStringList;
using Octets = QByteArray;

namespace {

enum class Routine { Charge, Trouve, Ajoute, Modifie, Supprime };
// What stands in a change's way: the disk failing on cue as it opens or writes, a 10-byte file
// size limit, a folder or a named pipe at the file's path, a file where its folder should be, the
// lock held by another window, or another program reading the file for a moment.
enum class Obstacle { Rien, Lecteur, Ouverture, Ecriture, Limite, Dossier, Tube, Orphelin, Verrou };

const Octets A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), AB = A1 + B;
const Octets ABA = AB + "nom=A;Naissan=3\r\n";
const Octets Mixte = A1 + "brouillon\r" + B; // a line without the marker, ended by a lone CR
const Octets Zoe("nom=Zo\xE9;Naissan=01/01/1990\r\n");

// One line a message: "i <text>", "a <text>", "e <number>".
struct Journal : Avertisseur {
    Noms lignes;
    void information(const QString& texte) override { lignes << "i " + texte; }
    void alerte(const QString& texte) override { lignes << "a " + texte; }
    void erreur(Echec e) override { lignes << "e " + QString::number(int(e)); }
};

// The disk, failing on cue: opening for writing fails with `errnoOuverture`, or a write stops
// after 7 bytes with `errnoEcriture`. Every step of a write is logged.
struct FichiersEnPanne : Fichiers {
    int errnoOuverture = 0, errnoEcriture = 0;
    QStringList pas;
    bool ouvre(QFileDevice& fichier, QIODevice::OpenMode mode) override
    {
        pas << "ouvre";
        errno = errnoOuverture;
        return !errnoOuverture && Fichiers::ouvre(fichier, mode);
    }
    qint64 ecrit(QFileDevice& fichier, QByteArrayView octets) override
    {
        const qint64 n = Fichiers::ecrit(fichier, errnoEcriture ? octets.first(7) : octets);
        pas << "écrit " + QString::number(n);
        if (errnoEcriture)
            errno = errnoEcriture;
        return n;
    }
    bool synchronise(QFileDevice& fichier) override
    {
        pas << "synchronise";
        return Fichiers::synchronise(fichier);
    }
    bool valide(QSaveFile& fichier) override
    {
        const bool fait = Fichiers::valide(fichier);
        pas << (fait ? "renomme" : "abandonne");
        return fait;
    }
    void synchroniseDossier(const QString& chemin) override
    {
        pas << "synchronise le dossier";
        Fichiers::synchroniseDossier(chemin);
    }
};

} // namespace

Q_DECLARE_METATYPE(Routine)
Q_DECLARE_METATYPE(Obstacle)

class TestAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> racine_;
    Journal journal_;
    FichiersEnPanne disque_;
    std::unique_ptr<Annuaire> annuaire_;

    QString chemin() const { return racine_->filePath("trivo.dat"); }
    // Null: a sparse file one byte past the size limit, quick to make.
    void pose(const Octets& octets)
    {
        QFile f(chemin());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(octets.isNull() ? f.resize(Annuaire::TailleMax + 1)
                                : f.write(octets) == octets.size());
    }
    // The file's bytes; null when there is none, a word for what stands there instead.
    Octets contenu() const
    {
        QFile f(chemin());
        if (const QFileInfo i(f); !i.isFile())
            return i.isDir() ? "<dossier>" : i.exists() ? "<tube>" : Octets();
        return f.open(QIODevice::ReadOnly) ? f.readAll() : Octets();
    }
    // Names joined by '|', the date found, "déjà" or "-" when the routine failed.
    QString lance(Routine routine, const QString& nom, const QString& naissance = "01/01/1990")
    {
        Annuaire::Resultat r;
        switch (routine) {
        case Routine::Charge: return annuaire_->ChargeAnnuaire().join('|');
        case Routine::Trouve: return annuaire_->TrouveFiche(nom).naissance.value_or("-");
        case Routine::Ajoute: r = annuaire_->AjouteFiche(nom, naissance); break;
        case Routine::Modifie: r = annuaire_->ModifieFiche(nom, naissance); break;
        case Routine::Supprime: r = annuaire_->SupprimeFiche(nom); break;
        }
        return r.issue == Annuaire::Issue::Fait             ? r.noms.join('|')
               : r.issue == Annuaire::Issue::DejaEnregistre ? "déjà"
                                                            : "-";
    }

private slots:
    void init()
    {
        racine_ = std::make_unique<QTemporaryDir>();
        journal_.lignes.clear();
        disque_ = FichiersEnPanne();
        annuaire_ = std::make_unique<Annuaire>(journal_, &disque_);
        annuaire_->fixeDossier(racine_->path());
    }

    void routine_data()
    {
        QTest::addColumn<Octets>("avant"); // null: no file
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("resultat");
        QTest::addColumn<Octets>("apres");
        QTest::addColumn<Noms>("messages");
        QTest::addColumn<Obstacle>("obstacle");
        QTest::addColumn<int>("erreur"); // errno of the disk failing on cue
        using R = Routine;
        const auto row = [](const QByteArray& cas, const Octets& avant, R r, const QString& nom,
                            const QString& naissance, const QString& resultat, const Octets& apres,
                            const Noms& messages = {}, Obstacle obstacle = Obstacle::Rien,
                            int erreur = 0) {
            QTest::newRow(cas.constData()) << avant << r << nom << naissance << resultat << apres
                                           << messages << obstacle << erreur;
        };
        const Octets VB("nom=X;Naissan=01/02vbcrlf03VBCRLF\r\n");
        const Octets Cp = A1 + "nom=\x8Cuvre \xE0 5 \x80 \x81\x8D;Naissan=No\xEBl \x8F\x90\x9D\r\n";
        row("vierge", {}, R::Charge, "", "", "", {},
            {"i Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs noms avec leur "
             "date de naissance."});
        row("doublons listés", ABA, R::Charge, "", "", "A|B|A", ABA);
        row("zéro octet", "", R::Charge, "", "", "", "",
            {"e 62", "e 5", "i L'annuaire est vide..."});
        row("premier des doublons", ABA, R::Trouve, "A", "", "1", ABA);
        row("vbcrlf", VB, R::Trouve, "X", "", "01/02\r\n03VBCRLF", VB);
        row("marqueur absent", Mixte, R::Trouve, "B", "", "2", Mixte, {"e 5"});
        row("ajout sans annuaire", {}, R::Ajoute, "Duvoro Zidu", "03/11/1975", "Duvoro Zidu",
            "nom=Duvoro Zidu;Naissan=03/11/1975\r\n");
        row("Windows-1252", A1, R::Ajoute, "Œuvre à 5 € \u0081\u008D", "Noël \u008F\u0090\u009D",
            "A|Œuvre à 5 € \u0081\u008D", Cp);
        row("date vide", A1, R::Ajoute, "P", "", "A|P", A1 + "nom=P;Naissan=\r\n");
        row("date vide trouvée", A1 + "nom=P;Naissan=\r\n", R::Trouve, "P", "", "",
            A1 + "nom=P;Naissan=\r\n");
        row("déjà dans le fichier", ABA, R::Ajoute, "A", "9", "déjà", ABA);
        row("modifiée, à la fin", ABA, R::Modifie, "A", "9", "B|A", B + "nom=A;Naissan=9\r\n");
        row("doublons supprimés", ABA, R::Supprime, "A", "", "B", B);
        row("autre casse", ABA, R::Supprime, "a", "", "A|B|A", ABA);
        row("dernière personne", A1, R::Supprime, "A", "", "", {});
        // The reload after the change reports the kept line a second time.
        row("sans marqueur, gardé", Mixte, R::Supprime, "A", "", "B", "brouillon\r\n" + B,
            {"e 5", "e 5"});
        row("rien à supprimer", {}, R::Supprime, "A", "", "-", {}, {"e 53"});
        row("CR dans le nom", A1, R::Ajoute, "B\r", "1", "-", A1,
            {"a Le nom ne peut pas contenir de retour à la ligne..."});
        row("LF dans la date", A1, R::Modifie, "A", "1\n2", "-", A1,
            {"a La date de naissance ne peut pas contenir de retour à la ligne..."});
        row("marqueur dans le nom", A1, R::Ajoute, "B;NaissanC", "1", "-", A1,
            {"a Le nom ne peut pas contenir « ;Naissan »..."});
        row("date hors page de code", A1, R::Ajoute, "B", "1 😀", "-", A1,
            {"a La date de naissance contient le caractère « 😀 », que l'annuaire ne peut pas "
             "enregistrer..."});
        // A reader (a window loading its list, an antivirus) delays a rewrite or a deletion;
        // it does not make it fail. (Windows would refuse both.)
        row("lecteur, réécriture", AB, R::Supprime, "A", "", "B", B, {}, Obstacle::Lecteur);
        row("lecteur, suppression", A1, R::Supprime, "A", "", "", {}, {}, Obstacle::Lecteur);
        // Whatever fails and wherever, the file keeps its old content to the byte and the user
        // gets the one report that says why.
        const std::tuple<const char*, Obstacle, int, QString, Octets> pannes[] = {
            {"EIO", Obstacle::Ecriture, EIO, "e 57", AB},
            {"ENOSPC", Obstacle::Ecriture, ENOSPC, "e 61", AB},
            {"limite", Obstacle::Limite, 0, "e 61", AB},
            {"EMFILE", Obstacle::Ouverture, EMFILE, "e 67", AB},
            {"EACCES", Obstacle::Ouverture, EACCES, "e 70", AB},
            {"dossier", Obstacle::Dossier, 0, "e 75", "<dossier>"},
            {"tube", Obstacle::Tube, 0, "e 75", "<tube>"},
            {"sans dossier", Obstacle::Orphelin, 0, "e 76", AB},
            {"verrou tenu", Obstacle::Verrou, 0,
             "a L'annuaire est en cours de modification par une autre fenêtre de Dazozare. "
             "Réessayez dans un instant : rien n'a été enregistré.",
             AB}};
        for (const auto& [panne, obstacle, erreur, message, apres] : pannes)
            for (const auto& [r, quoi, nom] : {std::tuple{R::Ajoute, ", ajout", "Zoé"},
                                               {R::Modifie, ", modification", "A"},
                                               {R::Supprime, ", suppression", "A"}})
                row(panne + QByteArray(quoi), AB, r, nom, "1", "-", apres, {message}, obstacle,
                    erreur);
        // Nor is anything but a plain file listed.
        row("dossier, liste", AB, R::Charge, "", "", "", "<dossier>", {"e 75"}, Obstacle::Dossier);
    }
    void routine()
    {
        QFETCH(Octets, avant);
        QFETCH(Routine, routine);
        QFETCH(QString, nom);
        QFETCH(QString, naissance);
        QFETCH(Octets, apres);
        QFETCH(Obstacle, obstacle);
        QFETCH(int, erreur);
        if (!avant.isNull())
            pose(avant);
        QFile passant(chemin());
        std::jthread passe; // joined before `passant` goes
        std::optional<Verrou> autre;
        switch (obstacle) {
        case Obstacle::Rien: break;
        case Obstacle::Lecteur:
            QVERIFY(passant.open(QIODevice::ReadOnly));
            passe = std::jthread([&passant] {
                QTest::qSleep(300);
                passant.close();
            });
            break;
        case Obstacle::Ouverture: disque_.errnoOuverture = erreur; break;
        case Obstacle::Ecriture: disque_.errnoEcriture = erreur; break;
        case Obstacle::Dossier: QVERIFY(QFile::remove(chemin()) && QDir().mkdir(chemin())); break;
        case Obstacle::Tube:
#ifdef Q_OS_UNIX
            QVERIFY(QFile::remove(chemin()));
            QCOMPARE(::mkfifo(QFile::encodeName(chemin()).constData(), 0600), 0);
#else
            QSKIP("no named pipe stands among Windows files");
#endif
            break;
        case Obstacle::Orphelin: annuaire_->fixeDossier(chemin()); break; // a file stands there
        case Obstacle::Verrou:
            annuaire_->fixeDelaiVerrou(50);
            autre.emplace(Fichiers().verrouille(chemin(), 0));
            QVERIFY(autre->tenu());
            break;
        case Obstacle::Limite:
#ifndef Q_OS_UNIX
            QSKIP("Windows sets a process no file-size limit");
#endif
            break;
        }
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN); // a write past the size limit fails, nothing more
        rlimit normale{};
        getrlimit(RLIMIT_FSIZE, &normale);
        const rlimit limite{obstacle == Obstacle::Limite ? 10 : normale.rlim_cur, normale.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
#endif
        const QString resultat = lance(routine, nom, naissance);
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &normale);
#endif
        QTEST(resultat, "resultat");
        QCOMPARE(contenu(), apres);
        Noms reste =
            QDir(racine_->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        reste.removeOne("trivo.dat.lock");                            // the lock stays
        QCOMPARE(reste, apres.isNull() ? Noms() : Noms{"trivo.dat"}); // no half-written copy
        QTEST(journal_.lignes, "messages");
        autre.reset(); // once released, the lock is ours again
        if (obstacle == Obstacle::Verrou)
            QCOMPARE_NE(lance(routine, nom, naissance), "-");
    }

    // Each step of a durable write, in order: a change is synced before it is reported done, a
    // new file before it replaces the old one, the folder once it lists a new name or loses one;
    // a short write is abandoned, never renamed over the file.
    void etapes_data()
    {
        QTest::addColumn<Octets>("avant");
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<int>("erreur");
        QTest::addColumn<QStringList>("pas");
        const QString ecrit = "écrit " + QString::number(Zoe.size());
        QTest::newRow("premier ajout")
            << Octets() << Routine::Ajoute << 0
            << QStringList{"ouvre", ecrit, "synchronise", "synchronise le dossier"};
        QTest::newRow("ajout") << AB << Routine::Ajoute << 0
                               << QStringList{"ouvre", ecrit, "synchronise"};
        QTest::newRow("ajout coupé")
            << AB << Routine::Ajoute << ENOSPC << QStringList{"ouvre", "écrit 7"};
        QTest::newRow("réécriture")
            << AB << Routine::Supprime << 0
            << QStringList{"ouvre", "écrit 17", "renomme", "synchronise le dossier"};
        QTest::newRow("réécriture coupée")
            << AB << Routine::Supprime << EIO << QStringList{"ouvre", "écrit 7", "abandonne"};
        QTest::newRow("dernière personne")
            << A1 << Routine::Supprime << 0 << QStringList{"synchronise le dossier"};
    }
    void etapes()
    {
        QFETCH(Octets, avant);
        QFETCH(Routine, routine);
        QFETCH(int, erreur);
        if (!avant.isNull())
            pose(avant);
        disque_.errnoEcriture = erreur;
        lance(routine, routine == Routine::Ajoute ? "Zoé" : "A");
        QTEST(disque_.pas, "pas");
    }

    // Files other editors leave, and one too big to be a directory: what the list shows, what
    // adding Zoé and deleting A write, and how many boxes have been shown after each.
    void formes_data()
    {
        QTest::addColumn<Octets>("avant");
        QTest::addColumn<QString>("noms");
        QTest::addColumn<Octets>("ajout");       // null: left as it was
        QTest::addColumn<Octets>("suppression"); // null: left as it was
        QTest::addColumn<QList<int>>("boites");  // so far: after the load, the add, the deletion
        const auto row = [](const char* cas, const Octets& avant, const QString& noms,
                            const Octets& ajout, const Octets& suppression, QList<int> boites) {
            QTest::newRow(cas) << avant << noms << ajout << suppression << boites;
        };
        const QList<int> Aucune{0, 0, 0};
        const Octets BNu("nom=B;Naissan=2"), Ev("nom=\xC3\x89va;Naissan=5\n"),
            EvCp("nom=\xC9va;Naissan=5\r\n"), Lf("nom=A;Naissan=1\nnom=B;Naissan=2\n"),
            Meles = A1 + "nom=B;Naissan=2\rnom=C;Naissan=3\n";
        Octets brouillons;
        for (int i = 0; i < 1000; ++i)
            brouillons += "brouillon " + Octets::number(i) + "\r\n";
        const Octets Inconnu("nom=\xC5\x81ukasz;Naissan=4\n"); // Ł: no place in Windows-1252
        const Octets Ambigu("nom=\xC3\xA9;Naissan=1\r\n"); // Windows-1252 "Ã©", yet valid UTF-8
        row("sans fin de ligne", A1 + BNu, "A|B", A1 + BNu + "\r\n" + Zoe, B, Aucune);
        row("LF seul", Lf, "A|B", Lf + Zoe, B, Aucune);
        row("fins mêlées", Meles, "A|B|C", Meles + Zoe, B + "nom=C;Naissan=3\r\n", Aucune);
        row("fin en CR", A1 + "nom=B;Naissan=2\r", "A|B", AB + Zoe, B, Aucune);
        row("Ctrl-Z", AB + "\x1A", "A|B", AB + Zoe, B, Aucune);
        row("UTF-8 avec BOM", "\xEF\xBB\xBF" + A1 + Ev, "A|Éva", A1 + EvCp + Zoe, EvCp, Aucune);
        row("UTF-8 sans BOM", A1 + Ev, "A|Éva", A1 + EvCp + Zoe, EvCp, Aucune);
        row("UTF-8 hors page de code", A1 + Inconnu, "A|Łukasz", {}, {}, {0, 1, 2});
        row("UTF-16", Octets("\xFF\xFEn\0o\0m\0=\0A\0;\0", 14), "", {}, {}, {1, 2, 3});
        row("Windows-1252 qui passerait pour de l'UTF-8", Ambigu + "nom=A;Naissan=\xE9\r\n", "Ã©|A",
            Ambigu + "nom=A;Naissan=\xE9\r\n" + Zoe,
            "\xEF\xBB\xBFnom=\xC3\x83\xC2\xA9;Naissan=1\r\n", Aucune);
        row("ligne vide", A1 + "\r\n" + B, "A|B", A1 + "\r\n" + B + Zoe, B, Aucune);
        row("1000 lignes illisibles", A1 + brouillons + B, "A|B", A1 + brouillons + B + Zoe,
            brouillons + B, {2, 4, 8});
        row("plus de 32 Mio", {}, "", {}, {}, {1, 2, 3});
    }
    void formes()
    {
        QFETCH(Octets, avant);
        pose(avant);
        const Octets initial = contenu();
        QTEST(lance(Routine::Charge, {}), "noms");
        QList<int> vues{int(journal_.lignes.size())};
        QVERIFY(contenu() == initial);
        lance(Routine::Ajoute, "Zoé");
        vues << int(journal_.lignes.size());
        QFETCH(Octets, ajout);
        QVERIFY(contenu() == (ajout.isNull() ? initial : ajout));
        pose(avant);
        lance(Routine::Supprime, "A");
        vues << int(journal_.lignes.size());
        QFETCH(Octets, suppression);
        QVERIFY(contenu() == (suppression.isNull() ? initial : suppression));
        QTEST(vues, "boites");
    }
};

QTEST_GUILESS_MAIN(TestAnnuaire)
#include "test_annuaire.moc"
