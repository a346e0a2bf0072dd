// The directory store on real files, byte for byte: routines, other editors' files, links, every
// way a write fails; and real processes (the test program as its own child), killed or racing.

#include "directory/annuaire.h"
#include "directory/fichiers.h"
#include "support/fakeplatform.h"

#include <QtTest>

#include <cerrno>
#include <memory>
#include <random>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace dz;

using Noms = QStringList;
using Octets = QByteArray;

namespace {

enum class Routine { Charge, Trouve, Ajoute, Modifie, Supprime };
// What stands in a change's way: the disk failing, a 10-byte size limit, a folder or pipe at the
// path, a file at the folder's, the lock held, remade or a link, a reader, others' file, leftovers.
// clang-format off
enum class Obstacle { Rien, Lecteur, Ouverture, Ecriture, Limite, Dossier, Tube, Orphelin, Verrou, VerrouRemplace, LienVerrou, Autrui, Restes };
// clang-format on

const Octets A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), AB = A1 + B;
const Octets ABA = AB + "nom=A;Naissan=3\r\n";
const Octets Mixte = A1 + "brouillon\r" + B; // a line without the marker, ended by a lone CR
const Octets Zoe("nom=Zo\xE9;Naissan=1\r\n");
constexpr unsigned Autre = 4242; // a user who is not running the tests

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
        errno = errnoEcriture ? errnoEcriture : errno;
        return n;
    }
    bool valide(QSaveFile& fichier) override
    {
        const bool renomme = Fichiers::valide(fichier);
        pas << (renomme ? "renomme" : "abandonne");
        return renomme;
    }
    void synchroniseDossier(const QString& chemin) override
    {
        pas << "synchronise le dossier";
        Fichiers::synchroniseDossier(chemin);
    }
};

// A directory of one record whose date makes the file `taille` bytes long.
Octets gros(qsizetype taille) { return "nom=A;Naissan=" + Octets(taille - 16, '1') + "\r\n"; }

// What dead changes left beside the file.
int restes(const QString& dossier)
{
    return int(QDir(dossier).entryList({"trivo.dat.??????"}, QDir::Files | QDir::Hidden).size());
}

Journal bavard(true); // a child's

// Change k of series `serie`, the same for the child that makes it and the parent that checks
// it: adds, deletes, modifies the series' people, or adds one another series may add too.
struct Operation {
    int genre; // 0 modifies, 1 adds, 2 adds a shared person, 3 deletes
    QString nom, naissance;
};
Operation operation(int serie, int k)
{
    std::mt19937 g(quint32(serie) * 7919u + quint32(k));
    const int genre = k % 4 == 2 && g() % 2 ? 2 : k % 4, personne = int(g() % 200);
    const QString nom = genre == 1   ? QStringLiteral("Nouveau %1-%2").arg(serie).arg(k)
                        : genre == 2 ? QStringLiteral("Commun %1").arg(personne % 20)
                                     : QStringLiteral("Personne %1-%2").arg(serie).arg(personne);
    return {genre, nom,
            genre == 2 ? QStringLiteral("1") : QStringLiteral("%1/01/2000").arg(1 + g() % 28)};
}

// The people of a series as a file holds them at the start.
Octets depart(int serie, int personnes)
{
    Octets octets;
    for (int i = 0; i < personnes; ++i)
        octets +=
            "nom=Personne " + Octets::number(serie) + "-" + Octets::number(i) + ";Naissan=1\r\n";
    return octets;
}

// What the file holds after the change, as the store writes it.
Octets applique(const Octets& avant, const Operation& op)
{
    const Octets debut = "nom=" + op.nom.toLatin1() + ";Naissan";
    if (op.genre == 2 && (avant.startsWith(debut) || avant.contains("\n" + debut)))
        return avant; // already there
    Octets apres;
    for (qsizetype i = 0, fin; i < avant.size(); i = fin + 2)
        if (fin = avant.indexOf("\r\n", i); !QByteArrayView(avant).sliced(i).startsWith(debut))
            apres += QByteArrayView(avant).sliced(i, fin + 2 - i);
    return op.genre == 3 ? apres : apres + debut + "=" + op.naissance.toLatin1() + "\r\n";
}

// Child: the changes of series `serie` from number `debut` on, for `ms` (0: until killed),
// each announced ("d k") and acknowledged with the milliseconds it took ("f k ms").
int enfant(const QString& dossier, int serie, int debut, int ms)
{
    Annuaire annuaire(bavard);
    annuaire.fixeDossier(dossier);
    QElapsedTimer depuis, chrono;
    depuis.start();
    for (int k = debut; ms == 0 || depuis.elapsed() < ms; ++k) {
        const Operation op = operation(serie, k);
        std::printf("d %d\n", k);
        std::fflush(stdout);
        chrono.start();
        const auto r = op.genre == 3   ? annuaire.SupprimeFiche(op.nom)
                       : op.genre == 0 ? annuaire.ModifieFiche(op.nom, op.naissance)
                                       : annuaire.AjouteFiche(op.nom, op.naissance);
        if (r.issue == Annuaire::Issue::Echec)
            return 3;
        std::printf("f %d %lld\n", k, chrono.elapsed());
        std::fflush(stdout);
    }
    return 0;
}

// The changes a child announced and acknowledged: the last of each; `etat` follows the latter.
std::pair<int, int> lis(QProcess& enfant, int serie, Octets& etat, qint64& duree)
{
    int annoncee = -1, finie = -1;
    for (const QByteArray& ligne : enfant.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> mots = ligne.trimmed().split(' '); // Windows ends in CR LF
        if (mots[0] == "d")
            annoncee = mots.value(1).toInt();
        if (mots[0] == "f") {
            etat = applique(etat, operation(serie, finie = mots.value(1).toInt()));
            duree = std::max<qint64>({duree, mots.value(2).toLongLong(), 2});
        }
    }
    return {annoncee, finie};
}

// A routine on a file (null: none), and what it gives: its result (names joined by '|', the
// date found, "déjà", or "-" when it failed), the file, the messages; what stands in its way.
struct Cas {
    Octets avant;
    Routine routine;
    QString nom, naissance, resultat;
    Octets apres;
    Noms messages = {};
    Obstacle obstacle = Obstacle::Rien;
    int erreur = 0; // errno of the disk failing on cue
};

} // namespace

Q_DECLARE_METATYPE(Cas)

class TestAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> racine_;
    Journal journal_;
    FichiersEnPanne disque_;
    std::unique_ptr<Annuaire> annuaire_;

    QString chemin(const QString& nom = "trivo.dat") const { return racine_->filePath(nom); }
    // Null: a sparse file one byte past the size limit, quick to make.
    void pose(const Octets& octets, const QString& nom = "trivo.dat")
    {
        QFile f(chemin(nom));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(octets.isNull() ? f.resize(Annuaire::TailleMax + 1)
                                : f.write(octets) == octets.size());
    }
    // The file's bytes; null when there is none, a word for what stands there instead.
    Octets contenu(const QString& nom = "trivo.dat") const
    {
        QFile f(chemin(nom));
        if (const QFileInfo i(f); !i.isFile())
            return i.isDir() ? "<dossier>" : i.exists() ? "<tube>" : Octets();
        return f.open(QIODevice::ReadOnly) ? f.readAll() : Octets();
    }
    // Names joined by '|', the date found, "déjà" or "-" when the routine failed.
    QString lance(Routine routine, const QString& nom, const QString& naissance = "1")
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
        QTest::addColumn<Cas>("c");
        using R = Routine;
        const auto row = [](const QByteArray& nom, const Cas& c) {
            QTest::newRow(nom.constData()) << c;
        };
        const Octets VB("nom=X;Naissan=01/02vbcrlf03VBCRLF\r\n");
        const Octets Cp = A1 + "nom=\x8Cuvre \xE0 5 \x80 \x81\x8D;Naissan=No\xEBl \x8F\x90\x9D\r\n";
        const QString Trop = "a L'annuaire dépasserait 32 Mio, la taille que Dazozare sait lire : "
                             "rien n'a été enregistré.";
        // clang-format off
        row("vierge", {{}, R::Charge, "", "", "", {}, {"i Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs noms avec leur date de naissance."}});
        row("doublons listés", {ABA, R::Charge, "", "", "A|B|A", ABA});
        row("nom vide listé", {"nom=;Naissan=1\r\n" + B, R::Charge, "", "", "|B", "nom=;Naissan=1\r\n" + B});
        row("zéro octet", {"", R::Charge, "", "", "", "", {"e 62", "e 5", "i L'annuaire est vide..."}});
        row("premier des doublons", {ABA, R::Trouve, "A", "", "1", ABA});
        row("vbcrlf", {VB, R::Trouve, "X", "", "01/02\r\n03VBCRLF", VB});
        row("marqueur absent", {Mixte, R::Trouve, "B", "", "2", Mixte, {"e 5"}});
        row("marque en tête", {"\xEF\xBB\xBF" + Zoe + B, R::Trouve, "Zoé", "", "1", "\xEF\xBB\xBF" + Zoe + B}); // then Windows-1252
        row("ajout sans annuaire", {{}, R::Ajoute, "Duvoro Zidu", "03/11/1975", "Duvoro Zidu", "nom=Duvoro Zidu;Naissan=03/11/1975\r\n"});
        row("Windows-1252", {A1, R::Ajoute, "Œuvre à 5 € \u0081\u008D", "Noël \u008F\u0090\u009D", "A|Œuvre à 5 € \u0081\u008D", Cp});
        row("date vide", {A1, R::Ajoute, "P", "", "A|P", A1 + "nom=P;Naissan=\r\n"});
        row("déjà dans le fichier", {ABA, R::Ajoute, "A", "9", "déjà", ABA});
        row("modifiée, à la fin", {ABA, R::Modifie, "A", "9", "B|A", B + "nom=A;Naissan=9\r\n"});
        row("doublons supprimés", {ABA, R::Supprime, "A", "", "B", B});
        row("autre casse", {ABA, R::Supprime, "a", "", "A|B|A", ABA});
        row("dernière personne", {A1, R::Supprime, "A", "", "", {}});
        row("sans marqueur, gardé", {Mixte, R::Supprime, "A", "", "B", "brouillon\r\n" + B, {"e 5", "e 5"}}); // and on the reload
        row("rien à supprimer", {{}, R::Supprime, "A", "", "-", {}, {"e 53"}});
        row("CR dans le nom", {A1, R::Ajoute, "B\r", "1", "-", A1, {"a Le nom ne peut pas contenir de retour à la ligne..."}});
        row("LF dans la date", {A1, R::Modifie, "A", "1\n2", "-", A1, {"a La date de naissance ne peut pas contenir de retour à la ligne..."}});
        row("marqueur dans le nom", {A1, R::Ajoute, "B;NaissanC", "1", "-", A1, {"a Le nom ne peut pas contenir « ;Naissan »..."}});
        row("date hors page de code", {A1, R::Ajoute, "B", "1 😀", "-", A1, {"a La date de naissance contient le caractère « 😀 », que l'annuaire ne peut pas enregistrer..."}});
        // What the program writes, it reads back: 32 MiB and not a byte more.
        row("32 Mio tout juste", {gros(Annuaire::TailleMax - 17), R::Ajoute, "B", "2", "A|B", gros(Annuaire::TailleMax - 17) + B});
        row("32 Mio, ajout", {gros(Annuaire::TailleMax - 16), R::Ajoute, "B", "2", "-", gros(Annuaire::TailleMax - 16), {Trop}});
        row("32 Mio, modification", {gros(Annuaire::TailleMax), R::Modifie, "A", "1" + Octets(Annuaire::TailleMax - 15, '1'), "-", gros(Annuaire::TailleMax), {Trop}});
        // clang-format on
        // A reader (another window, an antivirus) delays a change on Windows; it does not fail it.
        row("lecteur, réécriture", {AB, R::Supprime, "A", "", "B", B, {}, Obstacle::Lecteur});
        row("lecteur, suppression", {A1, R::Supprime, "A", "", "", {}, {}, Obstacle::Lecteur});
        // Another user's file keeps its owner, group and mode; only dead changes' leftovers go.
        row("à autrui",
            {AB, R::Modifie, "A", "9", "B|A", B + "nom=A;Naissan=9\r\n", {}, Obstacle::Autrui});
        row("restes", {AB, R::Supprime, "A", "", "B", B, {}, Obstacle::Restes});
        // Whatever fails, the file keeps its bytes and the user gets the one report that says why.
        const QString Occupe = "a L'annuaire est en cours de modification par une autre fenêtre "
                               "de Dazozare. Réessayez dans un instant : rien n'a été enregistré.";
        const std::tuple<const char*, Obstacle, int, QString, Octets> pannes[] = {
            {"EIO", Obstacle::Ecriture, EIO, "e 57", AB},
            {"ENOSPC", Obstacle::Ecriture, ENOSPC, "e 61", AB},
            {"limite", Obstacle::Limite, 0, "e 61", AB},
            {"EMFILE", Obstacle::Ouverture, EMFILE, "e 67", AB},
            {"EACCES", Obstacle::Ouverture, EACCES, "e 70", AB},
            {"dossier", Obstacle::Dossier, 0, "e 75", "<dossier>"},
            {"tube", Obstacle::Tube, 0, "e 75", "<tube>"},
            {"sans dossier", Obstacle::Orphelin, 0, "e 76", AB},
            {"verrou tenu", Obstacle::Verrou, 0, Occupe, AB},
#ifdef Q_OS_UNIX // Windows deletes no file that another program holds open
            {"verrou refait", Obstacle::VerrouRemplace, 0, Occupe, AB},
#endif
            {"lien au verrou", Obstacle::LienVerrou, 0, "e 75", AB}};
        for (const auto& [panne, obstacle, erreur, message, apres] : pannes)
            for (const auto& [r, quoi, nom] : {std::tuple{R::Ajoute, ", ajout", "Zoé"},
                                               {R::Modifie, ", modification", "A"},
                                               {R::Supprime, ", suppression", "A"}})
                row(panne + QByteArray(quoi),
                    {AB, r, nom, "1", "-", apres, {message}, obstacle, erreur});
        // Nor is anything but a plain file listed.
        row("dossier, liste",
            {AB, R::Charge, "", "", "", "<dossier>", {"e 75"}, Obstacle::Dossier});
    }
    void routine()
    {
        QFETCH(Cas, c);
        const auto& [avant, routine, nom, naissance, resultat, apres, messages, obstacle, erreur] =
            c;
        if (!avant.isNull())
            pose(avant);
        QFile passant(chemin());
        std::jthread passe; // joined before `passant` goes
        std::optional<Verrou> autre;
        const QString verrou = chemin("trivo.dat.lock");
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
        case Obstacle::Orphelin: annuaire_->fixeDossier(chemin()); break; // a file stands there
        case Obstacle::Verrou:
        case Obstacle::VerrouRemplace:
            annuaire_->fixeDelaiVerrou(obstacle == Obstacle::Verrou ? 50 : 600);
            autre.emplace(Fichiers().verrouille(chemin(), 0));
            QVERIFY(autre->tenu());
            // While waited for, the lock file is remade and taken by a third; the first lets go.
            if (obstacle == Obstacle::VerrouRemplace)
                passe = std::jthread([&] {
                    QTest::qSleep(100);
                    QFile::remove(verrou);
                    Verrou troisieme = Fichiers().verrouille(chemin(), 0);
                    autre.reset();
                    QTest::qSleep(1000);
                });
            break;
#ifdef Q_OS_UNIX
        case Obstacle::Tube:
            QVERIFY(QFile::remove(chemin()));
            QCOMPARE(::mkfifo(QFile::encodeName(chemin()).constData(), 0600), 0);
            break;
        case Obstacle::LienVerrou: QVERIFY(QFile::link(chemin("ailleurs"), verrou)); break;
        case Obstacle::Autrui:
            QVERIFY(::chown(QFile::encodeName(chemin()).constData(), Autre, Autre + 1) == 0
                    && ::chmod(QFile::encodeName(chemin()).constData(), 0444) == 0);
            break;
        case Obstacle::Restes:
            for (const char* reste : {"trivo.dat.AbCdEf", "trivo.dat.AbCdE", "autre.dat.AbCdEf"})
                pose("nom=Mort;Naissan=1\r\n", reste);
            break;
        case Obstacle::Limite: break;
#else
        default: QSKIP("no named pipe, link, owner or file-size limit among Windows files");
#endif
        }
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN); // as the program does: a write past the limit just fails
        rlimit normale{};
        getrlimit(RLIMIT_FSIZE, &normale);
        const rlimit limite{obstacle == Obstacle::Limite ? 10 : normale.rlim_cur, normale.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
#endif
        const QString obtenu = lance(routine, nom, naissance);
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &normale);
        struct stat ensuite {};
        QVERIFY(obstacle != Obstacle::Autrui
                || (::stat(QFile::encodeName(chemin()).constData(), &ensuite) == 0
                    && ensuite.st_uid == Autre && ensuite.st_gid == Autre + 1
                    && (ensuite.st_mode & 07777) == 0444));
#endif
        QCOMPARE(obtenu, resultat);
        QVERIFY(contenu() == apres);
        Noms reste =
            QDir(racine_->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        // The lock stays, unless a link stood in its place; names not of a change's shape stay.
        for (const char* autre : {"trivo.dat.lock", "autre.dat.AbCdEf", "trivo.dat.AbCdE"})
            reste.removeOne(autre);
        QCOMPARE(reste, apres.isNull() ? Noms() : Noms{"trivo.dat"}); // no half-written copy
        QCOMPARE(journal_.lignes, messages);
        passe = {};
        autre.reset(); // once released, the lock is ours again
        if (obstacle == Obstacle::Verrou || obstacle == Obstacle::VerrouRemplace)
            QCOMPARE_NE(lance(routine, nom, naissance), "-");
    }

    // Each step of a durable write: a new file, synced as it replaces the old one, then the folder;
    // a short write abandoned, never renamed over the file.
    void etapes()
    {
        const auto entier = [](int octets) {
            return QStringList{"ouvre", "écrit " + QString::number(octets), "renomme",
                               "synchronise le dossier"};
        };
        const std::tuple<Octets, Routine, int, QStringList> cas[] = {
            {{}, Routine::Ajoute, 0, entier(17)}, // the first add too
            {A1, Routine::Ajoute, 0, entier(34)},
            {AB, Routine::Supprime, 0, entier(17)},
            {A1, Routine::Ajoute, EIO, {"ouvre", "écrit 7", "abandonne"}},
            {A1, Routine::Supprime, 0, {"synchronise le dossier"}}}; // the last person
        for (const auto& [avant, routine, erreur, pas] : cas) {
            init();
            if (!avant.isNull())
                pose(avant);
            disque_.errnoEcriture = erreur;
            lance(routine, routine == Routine::Ajoute ? "B" : "A", "2");
            QCOMPARE(disque_.pas, pas);
        }
    }

    // Files other editors leave: the list, what adding Zoé and deleting A write (in the program's
    // own shape), and the boxes shown so far after each.
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
        const Octets Ev("nom=\xC3\x89va;Naissan=5\n"), EvCp("nom=\xC9va;Naissan=5\r\n"),
            Lf("nom=A;Naissan=1\nnom=B;Naissan=2\n"), Bom("\xEF\xBB\xBF");
        const Octets Lk("nom=\xC5\x81ukasz;Naissan=4\r\n");        // Ł: no place in Windows-1252
        const Octets Ambigu("nom=\xC3\x83\xC2\xA9;Naissan=1\r\n"); // "Ã©", "é" in cp1252 bytes
        // clang-format off
        row("sans fin de ligne", A1 + "nom=B;Naissan=2", "A|B", AB + Zoe, B, Aucune);
        row("LF seul", Lf, "A|B", AB + Zoe, B, Aucune);
        row("Ctrl-Z final", AB + "\x1A", "A|B", AB + Zoe, B, Aucune);
        row("Ctrl-Z d'un ajout", A1 + "\x1A" + B, "A|B", AB + Zoe, B, Aucune);
        row("UTF-8 avec BOM", Bom + A1 + Ev, "A|Éva", A1 + EvCp + Zoe, EvCp, Aucune);
        row("BOM puis Windows-1252", Bom + A1 + EvCp, "A|Éva", A1 + EvCp + Zoe, EvCp, Aucune);
        row("UTF-8 et un octet Windows-1252", A1 + Ev + EvCp, "A|Éva|Éva", A1 + EvCp + EvCp + Zoe, EvCp + EvCp, Aucune);
        row("UTF-8 hors page de code", A1 + Lk, "A|Łukasz", A1 + Lk + Zoe, Lk, Aucune);
        row("UTF-8 qui passerait pour de l'UTF-8", Ambigu + A1, "Ã©|A", Ambigu + A1 + Zoe, Ambigu, Aucune);
        row("UTF-16", Octets("\xFF\xFEn\0o\0m\0=\0A\0;\0", 14), "", {}, {}, {1, 2, 3});
        row("ligne vide", A1 + "\r\n" + B, "A|B", AB + Zoe, B, Aucune);
        row("plus de 32 Mio", {}, "", {}, {}, {1, 2, 3});
        // clang-format on
    }
    void formes()
    {
        QFETCH(Octets, avant);
        pose(avant);
        const Octets initial = contenu();
        QTEST(lance(Routine::Charge, {}), "noms");
        QList<int> vues{int(journal_.lignes.size())};
        for (const auto& [routine, colonne] :
             {std::pair{Routine::Ajoute, "ajout"}, {Routine::Supprime, "suppression"}}) {
            pose(avant);
            lance(routine, routine == Routine::Ajoute ? "Zoé" : "A");
            vues << int(journal_.lignes.size());
            const Octets attendu =
                *static_cast<Octets*>(QTest::qData(colonne, qMetaTypeId<Octets>()));
            QCOMPARE(contenu(), attendu.isNull() ? initial : attendu);
        }
        QTEST(vues, "boites");
    }

#ifdef Q_OS_UNIX
    // A directory linked beside the program is worked on where it is, through every change, the
    // last deletion included; the link stays. Another user's link, or file, is refused.
    void lien()
    {
        QVERIFY(QDir(racine_->path()).mkdir("sync"));
        pose(A1, "sync/trivo.dat");
        QVERIFY(QFile::link(chemin("sync/trivo.dat"), chemin()));
        using R = Routine;
        // clang-format off
        const auto etapes = {std::tuple{R::Ajoute, "B", "A|B"}, {R::Modifie, "A", "B|A"},
                             {R::Supprime, "B", "A"}, {R::Supprime, "A", ""}, {R::Ajoute, "C", "C"}};
        // clang-format on
        for (const auto& [routine, nom, noms] : etapes) {
            QCOMPARE(lance(routine, nom), noms);
            QVERIFY(QFileInfo(chemin()).isSymLink());
        }
        QCOMPARE(contenu("sync/trivo.dat"), "nom=C;Naissan=1\r\n");
        QVERIFY(QFileInfo::exists(chemin("sync/trivo.dat.lock")));
        QVERIFY(journal_.lignes.isEmpty());
        const QByteArray lien = QFile::encodeName(chemin()),
                         cible = QFile::encodeName(chemin("sync/trivo.dat"));
        for (const QByteArray& etranger : {lien, cible}) {
            QCOMPARE(::lchown(etranger.constData(), Autre, Autre), 0);
            journal_.lignes.clear();
            QCOMPARE(lance(Routine::Charge, {}), "");
            QCOMPARE(lance(Routine::Ajoute, "D"), "-");
            QCOMPARE(journal_.lignes, Noms({"e 75", "e 75"}));
            QCOMPARE(::lchown(etranger.constData(), ::geteuid(), ::getegid()), 0);
        }
        QCOMPARE(contenu("sync/trivo.dat"), "nom=C;Naissan=1\r\n");
    }
#endif

    // Killed at any moment of a change, the file holds either everything before it or
    // everything after it, to the byte; what the dead change left is cleared by the next.
    void tueEnPleinTravail()
    {
        const QString chemin = racine_->filePath("trivo.dat");
        Octets etat = depart(7, 20'000);
        pose(etat);
        std::mt19937 hasard(20261206);
        constexpr int Tues = 200;
        int prochaine = 0, anciens = 0, nouveaux = 0, entreDeux = 0, laisses = 0;
        qint64 duree = 0; // of one change, as the children report it: kills land within it
        for (int tue = 0; tue < Tues; ++tue) {
            QProcess enfant;
            enfant.start(QCoreApplication::applicationFilePath(),
                         {"--travaille", racine_->path(), "7", QString::number(prochaine), "0"});
            QVERIFY(enfant.waitForReadyRead(10'000));
            if (duree == 0) // the first child is let finish a change, which times it
                while (!enfant.peek(1 << 20).contains("\nf ") && enfant.waitForReadyRead(10'000)) {
                }
            else
                QTest::qSleep(int(hasard() % (duree * 3)));
            enfant.kill(); // SIGKILL, or TerminateProcess on Windows: no clean-up either way
            QVERIFY(enfant.waitForFinished());
            const auto [annoncee, finie] = lis(enfant, 7, etat, duree);
            const Octets fichier = contenu();
            const bool pendant = annoncee > finie; // killed during change `annoncee`
            const Octets apres = pendant ? applique(etat, operation(7, annoncee)) : etat;
            QVERIFY2(fichier == etat || fichier == apres, qPrintable(QString::number(annoncee)));
            ++(!pendant ? entreDeux : fichier == etat ? anciens : nouveaux);
            etat = fichier;
            prochaine = annoncee + 1;
            QVERIFY(restes(racine_->path()) <= 1);
            laisses += restes(racine_->path());
        }
        qInfo("%d kills over %d changes: %d during one (%d left the old file, %d the new), %d "
              "between two; every file whole; %d leftovers, each cleared by the next change",
              Tues, prochaine, anciens + nouveaux, anciens, nouveaux, entreDeux, laisses);
        QVERIFY(anciens > 20 && nouveaux > 20); // the kills did land on both sides of a commit
    }

    // A size limit with its default signal kills a child mid-add, the first one too: the file as
    // it was (or still absent, not empty); the next change clears what the dead one left.
    void limiteDeTaille()
    {
#ifndef Q_OS_UNIX
        QSKIP("Windows sets a process no file-size limit");
#endif
        for (const Octets& avant : {Octets(), AB}) {
            init();
            if (!avant.isNull())
                pose(avant);
            QProcess enfant;
            enfant.start(QCoreApplication::applicationFilePath(),
                         {"--limite", racine_->path(), QString::number(avant.size() + 10)});
            QVERIFY(enfant.waitForFinished());
            QVERIFY(enfant.exitStatus() == QProcess::CrashExit && contenu() == avant);
            QVERIFY(restes(racine_->path()) <= 1); // none where the system makes it unnamed
            QCOMPARE(lance(Routine::Ajoute, "Nouveau"), avant.isNull() ? "Nouveau" : "A|B|Nouveau");
            QCOMPARE(restes(racine_->path()), 0);
        }
    }

    // Two series at once on one folder for 3 s, changing their own people and adding shared
    // ones: no acknowledged change lost, no shared person added twice.
    void deuxFenetres()
    {
        Octets etats[2] = {depart(1, 200), depart(2, 200)};
        pose(etats[0] + etats[1]);
        QProcess enfants[2];
        for (int i = 0; i < 2; ++i) {
            enfants[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            enfants[i].start(QCoreApplication::applicationFilePath(),
                             {"--travaille", racine_->path(), QString::number(i + 1), "0", "3000"});
        }
        qint64 duree = 0;
        int changes = 0;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(enfants[i].waitForFinished(60'000) && enfants[i].exitCode() == 0);
            changes += lis(enfants[i], i + 1, etats[i], duree).second + 1;
        }
        // Apart, each series would have added each shared person once; together, once in all.
        auto attendues = (etats[0] + etats[1]).split('\n'), lignes = contenu().split('\n');
        std::sort(attendues.begin(), attendues.end());
        attendues.erase(std::unique(attendues.begin(), attendues.end()), attendues.end());
        std::sort(lignes.begin(), lignes.end());
        QVERIFY(lignes == attendues);
        qInfo("%d acknowledged changes by two programs at once; none lost, none twice", changes);
        QVERIFY(changes > 100);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 6 && a[1] == "--travaille")
        return enfant(a[2], a[3].toInt(), a[4].toInt(), a[5].toInt());
    if (a.size() == 5 && a[1] == "--ajoute") { // a person in a folder, for the installer's test
        Annuaire annuaire(bavard);
        annuaire.fixeDossier(a[2]);
        return annuaire.AjouteFiche(a[3], a[4]).issue == Annuaire::Issue::Fait ? 0 : 3;
    }
#ifdef Q_OS_UNIX
    if (a.size() == 4 && a[1] == "--limite") {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limite{a[3].toULongLong(), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limite);
        Annuaire annuaire(bavard);
        annuaire.fixeDossier(a[2]);
        annuaire.AjouteFiche(QStringLiteral("Nouveau"), QString(40, u'1'));
        return 0; // not reached: the limit kills
    }
#endif
    TestAnnuaire test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_annuaire.moc"
