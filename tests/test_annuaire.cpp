// The directory store against real files, byte for byte.

#include "directory/annuaire.h"
#include "directory/cp1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using Noms = QStringList;
using Octets = QByteArray;

namespace {

const QString Sep = QDir::separator();
const QString RepertoireVide = QStringLiteral(
    "i Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs noms avec leur date de naissance.");
const QString AnnuaireVide = QStringLiteral("i L'annuaire est vide...");
const Octets ABC("nom=A;Naissan=1\r\nnom=B;Naissan=2\r\nnom=C;Naissan=3\r\n");

// One line a message: "i <text>", "r <text>", "e <number>".
struct Journal : Avertisseur {
    QStringList lignes;
    void information(const QString& texte) override { lignes << "i " + texte; }
    void refus(const QString& texte) override { lignes << "r " + texte; }
    void erreur(int numero, const QString& description) override
    {
        lignes << "e " + QString::number(numero) + (description.isEmpty() ? " sans description" : "");
    }
};

// Files cannot grow past `octets` while this lives, as on a full disk.
struct LimiteTaille {
    rlimit avant{};
    void (*signal)(int) = std::signal(SIGXFSZ, SIG_IGN);
    explicit LimiteTaille(rlim_t octets)
    {
        getrlimit(RLIMIT_FSIZE, &avant);
        rlimit limite{octets, avant.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteTaille()
    {
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signal);
    }
};

enum Routine { Charge, Ajoute, Supprime, Trouve };

} // namespace

class TestAnnuaire : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> racine_;
    Journal journal_;
    std::unique_ptr<Annuaire> annuaire_;

    QString chemin() const { return annuaire_->FichierAnnuaire(); }
    void pose(const Octets& octets)
    {
        QFile f(chemin());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }
    Octets contenu() const
    {
        QFile f(chemin());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : Octets();
    }
    // Whatever the store leaves beside the directory file (a half-written copy, say).
    QStringList dossierApp() const { return QDir(racine_->filePath("app")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); }

private slots:
    void init()
    {
        racine_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(racine_->filePath("app"));
        QDir().mkpath(racine_->filePath("tmp"));
        journal_.lignes.clear();
        annuaire_ = std::make_unique<Annuaire>(journal_);
        annuaire_->fixeChemins(racine_->filePath("app"), racine_->filePath("tmp"));
    }

    void texteDuRapport()
    {
        QCOMPARE(texteSignaleErreur(53, "Fichier introuvable"),
                 QStringLiteral("Une erreur inattendue est survenue.\r\n\r\nNuméro de l'erreur : \r\n53\r\n\r\n"
                                "Description de l'erreur : \r\nFichier introuvable"));
    }

    void chemins_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("temp");
        QTest::addColumn<QString>("annuaire");
        QTest::addColumn<QString>("fichierTemp");
        const QString long_ = "/t" + QString(300, u'x');
        QTest::newRow("ordinaire") << "/opt/dz" << "/tmp" << "/opt/dz" + Sep + "trivo.dat" << "/tmp" + Sep + "temp.anu";
        QTest::newRow("racines") << "/" << "/" << "/trivo.dat" << "/temp.anu";
        QTest::newRow("temp finissant par un séparateur") << "/a" << "/var/tmp/" << "/a" + Sep + "trivo.dat" << "/var/tmp/temp.anu";
        QTest::newRow("temp très long") << "/a" << long_ << "/a" + Sep + "trivo.dat" << long_ + Sep + "temp.anu";
    }
    void chemins()
    {
        QFETCH(QString, app);
        QFETCH(QString, temp);
        annuaire_->fixeChemins(app, temp);
        QTEST(annuaire_->FichierAnnuaire(), "annuaire");
        QTEST(annuaire_->FichierTemp(), "fichierTemp");
    }

    void codecTousLesOctets()
    {
        Octets tous;
        for (int i = 0; i < 256; ++i)
            tous.append(char(i));
        const QString texte = cp1252::decode(tous);
        QCOMPARE(texte.size(), 256);
        QCOMPARE(texte.mid(0x80, 14), QStringLiteral("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008D"));
        QCOMPARE(cp1252::encode(texte), std::optional(tous));
    }

    void premierLancement()
    {
        QCOMPARE(annuaire_->ChargeAnnuaire(), Noms());
        QVERIFY(annuaire_->TrouveFiche("Duvoro Zidu").annuaireAbsent);
        QCOMPARE(journal_.lignes, Noms({RepertoireVide, "i Rien n'a encore été entré dans l'annuaire..."}));
    }

    void ajout_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<Octets>("octets");
        QTest::newRow("Duvoro Zidu") << "Duvoro Zidu" << "03/11/1975" << Octets("nom=Duvoro Zidu;Naissan=03/11/1975\r\n");
        QTest::newRow("accents") << QStringLiteral("Élodie Hébert") << "1/2/3" << Octets("nom=\xC9lodie H\xE9" "bert;Naissan=1/2/3\r\n");
        QTest::newRow("euro et Œ") << QStringLiteral("Œuvre à 5 €") << QStringLiteral("Noël")
                                   << Octets("nom=\x8Cuvre \xE0 5 \x80;Naissan=No\xEBl\r\n");
        QTest::newRow("date vide") << "Pim" << "" << Octets("nom=Pim;Naissan=\r\n");
        QTest::newRow("blancs gardés") << " Bob " << " x " << Octets("nom= Bob ;Naissan= x \r\n");
        QTest::newRow("octets indéfinis") << QStringLiteral("a\u0081\u008D\u008F") << QStringLiteral("\u0090\u009D")
                                          << Octets("nom=a\x81\x8D\x8F;Naissan=\x90\x9D\r\n");
    }
    void ajout()
    {
        QFETCH(QString, nom);
        QFETCH(QString, naissance);
        QVERIFY(refusFiche(nom, naissance).isEmpty());
        QCOMPARE(annuaire_->AjouteFiche(nom, naissance), std::optional(Noms{nom}));
        QTEST(contenu(), "octets");
        QCOMPARE(annuaire_->TrouveFiche(nom).naissance, std::optional(naissance));
        QCOMPARE(journal_.lignes, Noms());
    }

    void chargement_data()
    {
        QTest::addColumn<Octets>("octets");
        QTest::addColumn<Noms>("noms");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("CR LF") << Octets("nom=A;Naissan=1\r\nnom=B;Naissan=2\r\n") << Noms{"A", "B"} << QStringList();
        QTest::newRow("CR seul") << Octets("nom=A;Naissan=1\rnom=B;Naissan=2\r") << Noms{"A", "B"} << QStringList();
        QTest::newRow("sans fin de ligne finale") << Octets("nom=A;Naissan=1\r\nnom=B;Naissan=2") << Noms{"A", "B"} << QStringList();
        QTest::newRow("LF seul: une seule ligne") << Octets("nom=A;Naissan=1\nnom=B;Naissan=2\n") << Noms{"A"} << QStringList();
        QTest::newRow("doublons") << Octets("nom=A;Naissan=1\r\nnom=B;Naissan=2\r\nnom=A;Naissan=3\r\n") << Noms{"A", "B", "A"} << QStringList();
        QTest::newRow("quatre premiers caractères ignorés") << Octets("xyz=A;Naissan=1\r\n") << Noms{"A"} << QStringList();
        QTest::newRow("nom vide") << Octets("nom=;Naissan=1\r\n") << Noms{""} << QStringList();
        QTest::newRow("ligne sans marqueur") << Octets("nom=A;Naissan=1\r\nbrouillon\r\nnom=B;Naissan=2\r\n") << Noms{"A", "B"} << QStringList{"e 5"};
        QTest::newRow("marqueur trop tôt") << Octets("nom;Naissan=1\r\nnom=B;Naissan=2\r\n") << Noms{"B"} << QStringList{"e 5"};
        QTest::newRow("marqueur sans égal") << Octets("nom=C;NaissanX\r\n") << Noms() << QStringList{"e 5", AnnuaireVide};
        QTest::newRow("ligne vide") << Octets("\r\n") << Noms() << QStringList{"e 5", AnnuaireVide};
        QTest::newRow("fichier de zéro octet") << Octets("") << Noms() << QStringList{"e 62", "e 5", AnnuaireVide};
    }
    void chargement()
    {
        QFETCH(Octets, octets);
        pose(octets);
        QTEST(annuaire_->ChargeAnnuaire(), "noms");
        QTEST(journal_.lignes, "messages");
    }

    void recherche_data()
    {
        QTest::addColumn<Octets>("octets");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("trouve");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QStringList>("messages");
        const Octets lf("nom=A;Naissan=1\nnom=B;Naissan=2\n");
        QTest::newRow("premier des doublons") << Octets("nom=A;Naissan=1\r\nnom=A;Naissan=3\r\n") << "A" << true << "1" << QStringList();
        QTest::newRow("nom inconnu") << ABC << "Z" << false << "" << QStringList();
        QTest::newRow("casse différente") << Octets("nom=Anne;Naissan=1\r\n") << "anne" << false << "" << QStringList();
        QTest::newRow("blancs comptés") << Octets("nom=A;Naissan=1\r\nnom= A ;Naissan=2\r\n") << " A " << true << "2" << QStringList();
        QTest::newRow("vbcrlf") << Octets("nom=X;Naissan=01/02vbcrlf03VBCRLF\r\n") << "X" << true << "01/02\r\n03VBCRLF" << QStringList();
        QTest::newRow("date vide") << Octets("nom=P;Naissan=\r\n") << "P" << true << "" << QStringList();
        QTest::newRow("LF seul: la suite est dans la date") << lf << "A" << true << "1\nnom=B;Naissan=2\n" << QStringList();
        QTest::newRow("LF seul: pas de deuxième ligne") << lf << "B" << false << "" << QStringList();
        QTest::newRow("après une ligne sans marqueur") << Octets("brouillon\r\nnom=B;Naissan=2\r\n") << "B" << true << "2" << QStringList{"e 5"};
        QTest::newRow("nom sans date") << Octets("nom=C;NaissanX\r\nnom=C;Naissan=4\r\n") << "C" << false << "" << QStringList{"e 5"};
        QTest::newRow("après un nom sans date") << Octets("nom=C;NaissanX\r\nnom=D;Naissan=4\r\n") << "D" << true << "4" << QStringList();
        QTest::newRow("fichier de zéro octet") << Octets("") << "A" << false << "" << QStringList{"e 62", "e 5"};
    }
    void recherche()
    {
        QFETCH(Octets, octets);
        QFETCH(QString, nom);
        QFETCH(bool, trouve);
        QFETCH(QString, naissance);
        pose(octets);
        const Recherche r = annuaire_->TrouveFiche(nom);
        QVERIFY(!r.annuaireAbsent);
        QCOMPARE(r.naissance, trouve ? std::optional(naissance) : std::nullopt);
        QTEST(journal_.lignes, "messages");
        QCOMPARE(contenu(), octets);
    }

    void suppression_data()
    {
        QTest::addColumn<Octets>("octets");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<Octets>("apres"); // null: no file left
        QTest::addColumn<Noms>("noms");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("doublons ensemble") << Octets("nom=A;Naissan=1\r\nnom=B;Naissan=2\r\nnom=A;Naissan=3\r\n") << "A"
                                           << Octets("nom=B;Naissan=2\r\n") << Noms{"B"} << QStringList();
        QTest::newRow("casse différente") << Octets("nom=anne;Naissan=1\r\nnom=Anne;Naissan=2\r\n") << "Anne"
                                          << Octets("nom=anne;Naissan=1\r\n") << Noms{"anne"} << QStringList();
        QTest::newRow("nom inconnu") << ABC << "Z" << ABC << Noms{"A", "B", "C"} << QStringList();
        QTest::newRow("dernière personne") << Octets("nom=A;Naissan=1\r\n") << "A" << Octets() << Noms() << QStringList();
        QTest::newRow("ligne sans marqueur gardée") << Octets("nom=A;Naissan=1\r\nbrouillon\r\nnom=B;Naissan=2\r\n") << "A"
                                                    << Octets("brouillon\r\nnom=B;Naissan=2\r\n") << Noms{"B"} << QStringList{"e 5", "e 5"};
        QTest::newRow("octets indéfinis gardés") << Octets("nom=\x81\x8D;Naissan=\x8F\x90\x9D\r\nnom=B;Naissan=2\r\n") << "B"
                                                 << Octets("nom=\x81\x8D;Naissan=\x8F\x90\x9D\r\n") << Noms{QStringLiteral("\u0081\u008D")} << QStringList();
        QTest::newRow("CR seuls réécrits en CR LF") << Octets("nom=A;Naissan=1\rnom=B;Naissan=2\rnom=C;Naissan=3") << "Z" << ABC << Noms{"A", "B", "C"} << QStringList();
        QTest::newRow("fichier de zéro octet") << Octets("") << "A" << Octets() << Noms() << QStringList{"e 62", "e 5"};
    }
    void suppression()
    {
        QFETCH(Octets, octets);
        QFETCH(QString, nom);
        QFETCH(Octets, apres);
        QFETCH(Noms, noms);
        pose(octets);
        QCOMPARE(annuaire_->SupprimeFiche(nom), std::optional(noms));
        QCOMPARE(QFile::exists(chemin()), !apres.isNull());
        QCOMPARE(contenu(), apres);
        QCOMPARE(dossierApp(), apres.isNull() ? QStringList() : QStringList{"trivo.dat"});
        QTEST(journal_.lignes, "messages");
    }

    void suppressionSansAnnuaire()
    {
        QCOMPARE(annuaire_->SupprimeFiche("A"), std::nullopt);
        QCOMPARE(journal_.lignes, QStringList{"e 53"});
        QCOMPARE(dossierApp(), QStringList());
        QVERIFY(!QFile::exists(annuaire_->FichierTemp()));
    }

    void tempPerimeIgnore()
    {
        QFile temp(annuaire_->FichierTemp());
        QVERIFY(temp.open(QIODevice::WriteOnly) && temp.write("nom=Vieux;Naissan=1\r\n") > 0);
        temp.close();
        pose(ABC);
        QCOMPARE(annuaire_->SupprimeFiche("A"), std::optional(Noms{"B", "C"}));
        QCOMPARE(contenu(), ABC.sliced(17));
    }

    void refus_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("motif");
        QTest::newRow("nom vide") << "" << "1" << "Vous devez au moins entrez le nom...";
        QTest::newRow("CR dans le nom") << "A\rB" << "1" << "Le nom ne peut pas contenir de retour à la ligne";
        QTest::newRow("LF dans le nom") << "A\nB" << "1" << "Le nom ne peut pas contenir de retour à la ligne";
        QTest::newRow("CR LF dans la date") << "A" << "1\r\n2" << "La date de naissance ne peut pas contenir de retour";
        QTest::newRow("LF dans la date") << "A" << "1\n" << "La date de naissance ne peut pas contenir de retour";
        QTest::newRow("marqueur dans le nom") << "A;Naissan=B" << "1" << "« ;Naissan »";
        QTest::newRow("marqueur court dans le nom") << "A;NaissanB" << "1" << "« ;Naissan »";
        QTest::newRow("nom hors page de code") << QStringLiteral("Ştefan") << "1" << "Le nom contient le caractère « Ş »";
        QTest::newRow("contrôle hors page de code") << QStringLiteral("A\u0080") << "1" << "Le nom contient le caractère « \u0080 »";
        QTest::newRow("date hors page de code") << "A" << QStringLiteral("1/2 😀") << "La date de naissance contient le caractère « 😀 »";
    }
    void refus()
    {
        QFETCH(QString, nom);
        QFETCH(QString, naissance);
        QFETCH(QString, motif);
        pose(ABC);
        const QString message = refusFiche(nom, naissance);
        QVERIFY2(message.contains(motif), qPrintable(message));
        QCOMPARE(annuaire_->AjouteFiche(nom, naissance), std::nullopt);
        QCOMPARE(journal_.lignes, QStringList{"r " + message});
        QCOMPARE(contenu(), ABC);
    }

    void echecOuverture_data()
    {
        QTest::addColumn<int>("routine");
        QTest::newRow("chargement") << int(Charge);
        QTest::newRow("ajout") << int(Ajoute);
        QTest::newRow("suppression") << int(Supprime);
        QTest::newRow("recherche") << int(Trouve);
    }
    void echecOuverture()
    {
        QFETCH(int, routine);
        QVERIFY(QDir().mkdir(chemin())); // a folder where the file should be
        if (routine == Charge)
            QCOMPARE(annuaire_->ChargeAnnuaire(), Noms());
        else if (routine == Ajoute)
            QCOMPARE(annuaire_->AjouteFiche("A", "1"), std::nullopt);
        else if (routine == Supprime)
            QCOMPARE(annuaire_->SupprimeFiche("A"), std::nullopt);
        else
            QVERIFY(!annuaire_->TrouveFiche("A").annuaireAbsent);
        QCOMPARE(journal_.lignes, QStringList{"e 75"});
        QVERIFY(QFileInfo(chemin()).isDir());
        QCOMPARE(dossierApp(), QStringList{"trivo.dat"});
    }

    void ajoutDansUnDossierAbsent()
    {
        annuaire_->fixeChemins(racine_->filePath("nulle/part"), racine_->filePath("tmp"));
        QCOMPARE(annuaire_->AjouteFiche("A", "1"), std::nullopt);
        QCOMPARE(journal_.lignes, QStringList{"e 76"});
        QVERIFY(!QFileInfo::exists(racine_->filePath("nulle")));
    }

    void ecritureEchouee_data()
    {
        QTest::addColumn<Octets>("avant"); // null: no file
        QTest::addColumn<int>("routine");
        QTest::addColumn<int>("place"); // bytes the disk still takes beyond the old file
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("ajout coupé en route") << ABC << int(Ajoute) << 5 << QStringList{"e 61"};
        QTest::newRow("ajout sans place") << ABC << int(Ajoute) << 0 << QStringList{"e 57"};
        QTest::newRow("ajout à un annuaire absent") << Octets() << int(Ajoute) << 0 << QStringList{"e 57", RepertoireVide};
        QTest::newRow("réécriture coupée en route") << ABC << int(Supprime) << -20 << QStringList{"e 61"};
        QTest::newRow("réécriture sans place") << ABC << int(Supprime) << -int(ABC.size()) << QStringList{"e 57"};
    }
    void ecritureEchouee()
    {
        QFETCH(Octets, avant);
        QFETCH(int, routine);
        QFETCH(int, place);
        if (!avant.isNull())
            pose(avant);
        std::optional<Noms> noms;
        {
            LimiteTaille limite(avant.size() + place);
            noms = routine == Ajoute ? annuaire_->AjouteFiche("Zoé", "1/1/2000") : annuaire_->SupprimeFiche("B");
        }
        QTEST(journal_.lignes, "messages");
        QCOMPARE(contenu(), avant);
        QCOMPARE(dossierApp(), avant.isNull() ? QStringList() : QStringList{"trivo.dat"});
        if (routine == Ajoute) // reloaded: the same names as before
            QCOMPARE(noms, std::optional(avant.isNull() ? Noms() : Noms{"A", "B", "C"}));
        else
            QCOMPARE(noms, std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestAnnuaire)
#include "test_annuaire.moc"
