// The directory store against real files, byte for byte: its routines, the files other editors
// leave, and every way a write can fail.

#include "directory/annuaire.h"
#include "directory/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

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

// What stands at the directory's path before the routine runs.
enum class Forme { Fichier, Absent, Tube, Dossier, Enorme };

enum class Panne {
    EcritureEIO,     // the disk fails part-way through a write
    EcritureENOSPC,  // the disk fills up part-way
    LimiteTaille,    // the process may not write past 10 bytes (a real limit)
    OuvertureEMFILE, // no file handle left
    OuvertureEACCES, // the folder refuses the new file
    DossierALaPlace, // a folder stands at the file's path (real)
    SansDossier,     // the directory's folder is gone (real)
};

const QString RepertoireVide = "i Le repertoire est vide... Vous pouvez enregistrer un ou "
                               "plusieurs noms avec leur date de naissance.";
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
// after `octetsAvantPanne` bytes with `errnoEcriture`.
struct FichiersEnPanne : Fichiers {
    int errnoOuverture = 0;
    qint64 octetsAvantPanne = -1;
    int errnoEcriture = 0;

    bool ouvre(QFileDevice& fichier, QIODevice::OpenMode mode) override
    {
        if (errnoOuverture == 0)
            return Fichiers::ouvre(fichier, mode);
        errno = errnoOuverture;
        return false;
    }
    qint64 ecrit(QFileDevice& fichier, QByteArrayView octets) override
    {
        if (octetsAvantPanne < 0)
            return Fichiers::ecrit(fichier, octets);
        const qint64 n =
            Fichiers::ecrit(fichier, octets.first(std::min(octets.size(), octetsAvantPanne)));
        errno = errnoEcriture;
        return n;
    }
};

} // namespace

Q_DECLARE_METATYPE(Routine)
Q_DECLARE_METATYPE(Forme)
Q_DECLARE_METATYPE(Panne)

class TestAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> racine_;
    Journal journal_;
    FichiersEnPanne disque_;
    std::unique_ptr<Annuaire> annuaire_;

    QString dossier() const { return racine_->filePath("app"); }
    QString chemin() const { return annuaire_->FichierAnnuaire(); }
    void pose(const Octets& octets)
    {
        QFile f(chemin());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }
    // What the folder holds besides the lock, which stays.
    Noms fichiersDuDossier() const
    {
        Noms noms =
            QDir(dossier()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        noms.removeOne("trivo.dat.lock");
        return noms;
    }
    Octets contenu() const
    {
        QFile f(chemin());
        return QFileInfo(f).isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : Octets();
    }
    // Names joined by '|', the date found, "déjà" or "-" when the routine failed.
    QString lance(Routine routine, const QString& nom, const QString& naissance = "01/01/1990")
    {
        const auto noms = [](const Annuaire::Resultat& r) {
            return r.issue == Annuaire::Issue::Fait             ? r.noms.join('|')
                   : r.issue == Annuaire::Issue::DejaEnregistre ? QString("déjà")
                                                                : QString("-");
        };
        switch (routine) {
        case Routine::Charge: return annuaire_->ChargeAnnuaire().join('|');
        case Routine::Trouve: return annuaire_->TrouveFiche(nom).naissance.value_or("-");
        case Routine::Ajoute: return noms(annuaire_->AjouteFiche(nom, naissance));
        case Routine::Modifie: return noms(annuaire_->ModifieFiche(nom, naissance));
        case Routine::Supprime: return noms(annuaire_->SupprimeFiche(nom));
        }
        return {};
    }

private slots:
    void init()
    {
        racine_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(dossier());
        journal_.lignes.clear();
        disque_ = FichiersEnPanne();
        annuaire_ = std::make_unique<Annuaire>(journal_, &disque_);
        annuaire_->fixeDossier(dossier());
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN); // a write past the size limit fails, nothing more
#endif
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
        using R = Routine;
        const auto row = [](const char* cas, const Octets& avant, R r, const QString& nom,
                            const QString& naissance, const QString& resultat, const Octets& apres,
                            const Noms& messages = {}) {
            QTest::newRow(cas) << avant << r << nom << naissance << resultat << apres << messages;
        };
        const Octets VB("nom=X;Naissan=01/02vbcrlf03VBCRLF\r\n");
        const Octets Cp = A1 + "nom=\x8Cuvre \xE0 5 \x80 \x81\x8D;Naissan=No\xEBl \x8F\x90\x9D\r\n";
        row("vierge", {}, R::Charge, "", "", "", {}, {RepertoireVide});
        row("doublons listés", ABA, R::Charge, "", "", "A|B|A", ABA);
        row("zéro octet", "", R::Charge, "", "", "", "",
            {"e 62", "e 5", "i L'annuaire est vide..."});
        row("sans marqueur", Mixte, R::Charge, "", "", "A|B", Mixte, {"e 5"});
        row("premier des doublons", ABA, R::Trouve, "A", "", "1", ABA);
        row("vbcrlf", VB, R::Trouve, "X", "", "01/02\r\n03VBCRLF", VB);
        row("marqueur absent", Mixte, R::Trouve, "B", "", "2", Mixte, {"e 5"});
        row("ajout sans annuaire", {}, R::Ajoute, "Duvoro Zidu", "03/11/1975", "Duvoro Zidu",
            "nom=Duvoro Zidu;Naissan=03/11/1975\r\n");
        row("Windows-1252", A1, R::Ajoute, "Œuvre à 5 € \u0081\u008D", "Noël \u008F\u0090\u009D",
            "A|Œuvre à 5 € \u0081\u008D", Cp);
        row("date vide", A1, R::Ajoute, "P", "", "A|P", A1 + "nom=P;Naissan=\r\n");
        row("déjà dans le fichier", ABA, R::Ajoute, "A", "9", "déjà", ABA);
        row("modifiée, à la fin", ABA, R::Modifie, "A", "9", "B|A", B + "nom=A;Naissan=9\r\n");
        row("modifiée, ligne gardée", Mixte, R::Modifie, "B", "9", "A|B",
            A1 + "brouillon\r\nnom=B;Naissan=9\r\n", {"e 5", "e 5"});
        row("doublons supprimés", ABA, R::Supprime, "A", "", "B", B);
        row("autre casse", ABA, R::Supprime, "a", "", "A|B|A", ABA);
        row("dernière personne", A1, R::Supprime, "A", "", "", {});
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
    }
    void routine()
    {
        QFETCH(Octets, avant);
        QFETCH(Routine, routine);
        QFETCH(QString, nom);
        QFETCH(QString, naissance);
        QFETCH(Octets, apres);
        if (!avant.isNull())
            pose(avant);
        const QString resultat = lance(routine, nom, naissance);
        QTEST(resultat, "resultat");
        QCOMPARE(contenu(), apres);
        QCOMPARE(fichiersDuDossier(),
                 apres.isNull() ? Noms() : Noms{"trivo.dat"}); // no half-written copy
        QTEST(journal_.lignes, "messages");
        if (routine == Routine::Ajoute && resultat != "déjà"
            && journal_.lignes.isEmpty()) // as typed
            QCOMPARE(annuaire_->TrouveFiche(nom).naissance, std::optional(naissance));
    }

    // Whatever fails and wherever, the file keeps its old content to the byte and the user
    // gets the one report that says why.
    void panne_data()
    {
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<Panne>("panne");
        QTest::addColumn<int>("numero");
        const std::pair<Panne, int> pannes[] = {
            {Panne::EcritureEIO, 57},     {Panne::EcritureENOSPC, 61},
            {Panne::LimiteTaille, 61},    {Panne::OuvertureEMFILE, 67},
            {Panne::OuvertureEACCES, 70}, {Panne::DossierALaPlace, 75},
            {Panne::SansDossier, 76}};
        const char* noms[] = {"EIO",    "ENOSPC",  "limite",      "EMFILE",
                              "EACCES", "dossier", "sans dossier"};
        int i = 0;
        for (const auto& [panne, numero] : pannes) {
            for (const auto& [routine, quoi] : {std::pair{Routine::Ajoute, "ajout"},
                                                {Routine::Modifie, "modification"},
                                                {Routine::Supprime, "suppression"}})
                QTest::addRow("%s, %s", noms[i], quoi) << routine << panne << numero;
            ++i;
        }
    }
    void panne()
    {
        QFETCH(Routine, routine);
        QFETCH(Panne, panne);
        pose(AB);
        const QString fichier = chemin();
        switch (panne) {
        case Panne::EcritureEIO:
        case Panne::EcritureENOSPC:
            disque_.octetsAvantPanne = 7;
            disque_.errnoEcriture = panne == Panne::EcritureEIO ? EIO : ENOSPC;
            break;
        case Panne::OuvertureEMFILE: disque_.errnoOuverture = EMFILE; break;
        case Panne::OuvertureEACCES: disque_.errnoOuverture = EACCES; break;
        case Panne::DossierALaPlace:
            QVERIFY(QFile::remove(chemin()) && QDir().mkdir(chemin()));
            break;
        case Panne::SansDossier: annuaire_->fixeDossier(chemin()); break; // a file stands there
        case Panne::LimiteTaille:
#ifndef Q_OS_UNIX
            QSKIP("Windows sets a process no file-size limit");
#endif
            break;
        }
#ifdef Q_OS_UNIX
        rlimit normale{};
        getrlimit(RLIMIT_FSIZE, &normale);
        const rlimit limite{panne == Panne::LimiteTaille ? 10 : normale.rlim_cur, normale.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
#endif
        const QString resultat = lance(routine, routine == Routine::Ajoute ? "Zoé" : "A");
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &normale);
#endif
        QCOMPARE(resultat, "-");
        QFETCH(int, numero);
        QCOMPARE(journal_.lignes, Noms{"e " + QString::number(numero)});
        if (QFile f(fichier); panne != Panne::DossierALaPlace)
            QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : Octets(), AB);
        QCOMPARE(fichiersDuDossier(), Noms{"trivo.dat"});
    }

    // Files other editors leave, and things that are no file at all: what the list shows and
    // how many boxes a load shows; what adding Zoé and deleting A write, and their boxes.
    void formes_data()
    {
        QTest::addColumn<Forme>("forme");
        QTest::addColumn<Octets>("avant");
        QTest::addColumn<QString>("noms");
        QTest::addColumn<Octets>("ajout");       // null: left as it was
        QTest::addColumn<Octets>("suppression"); // null: left as it was
        QTest::addColumn<QList<int>>("boites");  // shown by the load, the add, the deletion
        const auto row = [](const char* cas, Forme f, const Octets& avant, const QString& noms,
                            const Octets& ajout, const Octets& suppression, QList<int> boites) {
            QTest::newRow(cas) << f << avant << noms << ajout << suppression << boites;
        };
        const Octets BNu("nom=B;Naissan=2"), Ev("nom=\xC3\x89va;Naissan=5\n"),
            EvCp("nom=\xC9va;Naissan=5\r\n");
        const Octets Utf16 = Octets("\xFF\xFE", 2) + Octets("n\0o\0m\0=\0A\0;\0", 12);
        Octets brouillons;
        for (int i = 0; i < 1000; ++i)
            brouillons += "brouillon " + Octets::number(i) + "\r\n";
        const Octets Inconnu("nom=\xC5\x81ukasz;Naissan=4\n"); // Ł: no place in Windows-1252
        row("sans fin de ligne", Forme::Fichier, A1 + BNu, "A|B", A1 + BNu + "\r\n" + Zoe, B,
            {0, 0, 0});
        row("LF seul", Forme::Fichier, "nom=A;Naissan=1\nnom=B;Naissan=2\n", "A|B",
            "nom=A;Naissan=1\nnom=B;Naissan=2\n" + Zoe, B, {0, 0, 0});
        row("fins mêlées", Forme::Fichier, A1 + "nom=B;Naissan=2\rnom=C;Naissan=3\n", "A|B|C",
            A1 + "nom=B;Naissan=2\rnom=C;Naissan=3\n" + Zoe, B + "nom=C;Naissan=3\r\n", {0, 0, 0});
        row("fin en CR", Forme::Fichier, A1 + "nom=B;Naissan=2\r", "A|B", AB + Zoe, B, {0, 0, 0});
        row("Ctrl-Z", Forme::Fichier, AB + "\x1A", "A|B", AB + Zoe, B, {0, 0, 0});
        row("UTF-8 avec BOM", Forme::Fichier, "\xEF\xBB\xBF" + A1 + Ev, "A|Éva", A1 + EvCp + Zoe,
            EvCp, {0, 0, 0});
        row("UTF-8 sans BOM", Forme::Fichier, A1 + Ev, "A|Éva", A1 + EvCp + Zoe, EvCp, {0, 0, 0});
        row("UTF-8 hors page de code", Forme::Fichier, A1 + Inconnu, "A|Łukasz", {}, {}, {0, 1, 1});
        row("UTF-16", Forme::Fichier, Utf16, "", {}, {}, {1, 1, 1});
        const Octets Ambigu("nom=\xC3\xA9;Naissan=1\r\n"); // Windows-1252 "Ã©", yet valid UTF-8
        row("Windows-1252 qui passerait pour de l'UTF-8", Forme::Fichier,
            Ambigu + "nom=A;Naissan=\xE9\r\n", "Ã©|A", Ambigu + "nom=A;Naissan=\xE9\r\n" + Zoe,
            "\xEF\xBB\xBFnom=\xC3\x83\xC2\xA9;Naissan=1\r\n", {0, 0, 0});
        row("ligne vide", Forme::Fichier, A1 + "\r\n" + B, "A|B", A1 + "\r\n" + B + Zoe, B,
            {0, 0, 0});
        row("1000 lignes illisibles", Forme::Fichier, A1 + brouillons + B, "A|B",
            A1 + brouillons + B + Zoe, brouillons + B, {2, 2, 4});
        row("tube nommé", Forme::Tube, {}, "", {}, {}, {1, 1, 1});
        row("dossier", Forme::Dossier, {}, "", {}, {}, {1, 1, 1});
        row("plus de 32 Mio", Forme::Enorme, {}, "", {}, {}, {1, 1, 1});
    }
    void formes()
    {
        QFETCH(Forme, forme);
        QFETCH(Octets, avant);
        QFETCH(QList<int>, boites);
#ifndef Q_OS_UNIX
        if (forme == Forme::Tube)
            QSKIP("no named pipe stands among Windows files");
#endif
        const auto pose = [&] {
            QFile::remove(chemin());
            if (forme == Forme::Fichier)
                this->pose(avant);
#ifdef Q_OS_UNIX
            else if (forme == Forme::Tube)
                QCOMPARE(::mkfifo(QFile::encodeName(chemin()).constData(), 0600), 0);
#endif
            else if (forme == Forme::Dossier)
                QVERIFY(QDir().mkpath(chemin()));
            else if (QFile f(chemin()); f.open(QIODevice::WriteOnly)) // sparse: quick to make
                QVERIFY(f.resize(Annuaire::TailleMax + 1));
        };
        const auto inchange = [&] {
            const QFileInfo info(chemin());
            switch (forme) {
            case Forme::Fichier: return contenu() == avant;
            case Forme::Tube: return !info.isFile() && !info.isDir() && info.exists();
            case Forme::Dossier: return info.isDir();
            default: return info.size() == Annuaire::TailleMax + 1;
            }
        };
        const auto boitesDe = [&](auto&& routine) {
            journal_.lignes.clear();
            routine();
            return int(journal_.lignes.size());
        };
        pose();
        QList<int> vues;
        vues << boitesDe([&] { QTEST(lance(Routine::Charge, {}), "noms"); });
        QVERIFY(inchange());
        vues << boitesDe([&] { lance(Routine::Ajoute, "Zoé"); });
        QFETCH(Octets, ajout);
        QVERIFY(ajout.isNull() ? inchange() : contenu() == ajout);
        pose();
        vues << boitesDe([&] { lance(Routine::Supprime, "A"); });
        QFETCH(Octets, suppression);
        QVERIFY(suppression.isNull() ? inchange() : contenu() == suppression);
        QCOMPARE(vues, boites);
    }

    // A lock held by another window makes a change wait, then give up without writing.
    // (Taking over the lock of a program that died: test_annuaire_processus, at every kill.)
    void verrou()
    {
        pose(AB);
        annuaire_->fixeDelaiVerrou(50);
        {
            const Verrou autre = Fichiers().verrouille(chemin(), 0);
            QVERIFY(autre.tenu());
            QCOMPARE(lance(Routine::Supprime, "A"), "-");
        }
        QCOMPARE(contenu(), AB);
        QCOMPARE(journal_.lignes.size(), 1);
        QVERIFY(journal_.lignes[0].startsWith("a L'annuaire est en cours de modification"));
        QCOMPARE(lance(Routine::Supprime, "A"), "B");
    }

    // Another program reading the file for a moment (a window loading its list, an antivirus)
    // delays a rewrite or a deletion; it does not make it fail. (Windows would refuse both.)
    void lecteurPassager_data()
    {
        QTest::addColumn<Octets>("avant"); // then "A" deleted
        QTest::addColumn<Octets>("apres");
        QTest::addColumn<QString>("noms");
        QTest::newRow("réécrit") << AB << B << "B";
        QTest::newRow("supprimé") << A1 << Octets() << "";
    }
    void lecteurPassager()
    {
        QFETCH(Octets, avant);
        pose(avant);
        QFile lecteur(chemin());
        QVERIFY(lecteur.open(QIODevice::ReadOnly));
        std::thread passe([&lecteur] {
            QThread::msleep(300);
            lecteur.close();
        });
        const QString resultat = lance(Routine::Supprime, "A");
        passe.join();
        QCOMPARE(journal_.lignes, Noms());
        QTEST(resultat, "noms");
        QTEST(contenu(), "apres");
    }
};

QTEST_GUILESS_MAIN(TestAnnuaire)
#include "test_annuaire.moc"
