// The directory store against real files, byte for byte.

#include "directory/annuaire.h"

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

const QString RepertoireVide = QStringLiteral("i Le repertoire est vide... Vous pouvez enregistrer "
                                              "un ou plusieurs noms avec leur date de naissance.");
const Octets Absent, A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n");
const Octets ABA = A1 + B + "nom=A;Naissan=3\r\n", LF("nom=A;Naissan=1\nnom=B;Naissan=2\n");
const Octets Mixte = A1 + "brouillon\r" + B; // a line without the marker, ended by a lone CR

// One line a message: "i <text>", "r <text>", "e <number>".
struct Journal : Avertisseur {
    Noms lignes;
    void information(const QString& texte) override { lignes << "i " + texte; }
    void refus(const QString& texte) override { lignes << "r " + texte; }
    void erreur(int numero, const QString&) override { lignes << "e " + QString::number(numero); }
};

} // namespace

class TestAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> racine_;
    Journal journal_;
    Annuaire annuaire_{journal_};

    void pose(const QString& chemin, const Octets& octets)
    {
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }
    // C loads, A adds, S deletes, T looks up; names joined by '|', the date, or "-" for none.
    QString lance(char routine, const QString& nom, const QString& naissance)
    {
        if (routine == 'T')
            return annuaire_.TrouveFiche(nom).naissance.value_or("-");
        const std::optional<Noms> noms = routine == 'C' ? annuaire_.ChargeAnnuaire()
            : routine == 'A'                            ? annuaire_.AjouteFiche(nom, naissance)
                                                        : annuaire_.SupprimeFiche(nom);
        return noms ? noms->join('|') : "-";
    }

private slots:
    void init()
    {
        racine_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(racine_->filePath("app"));
        journal_.lignes.clear();
        annuaire_.fixeChemins(racine_->filePath("app"), racine_->path() + "/");
        QCOMPARE(annuaire_.FichierTemp(), racine_->filePath("temp.anu")); // no doubled separator
        std::signal(SIGXFSZ, SIG_IGN); // a write past the size limit fails, nothing more
        pose(annuaire_.FichierTemp(), "nom=Vieux;Naissan=1\r\n"); // stale, never to be read
    }

    void routine_data()
    {
        using QTest::newRow;
        QTest::addColumn<Octets>("avant"); // Absent: no file
        QTest::addColumn<char>("routine"); // lower case: on a disk that takes 20 bytes a file
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("resultat");
        QTest::addColumn<Octets>("apres");
        QTest::addColumn<Noms>("messages");
        const Octets VB("nom=X;Naissan=01/02vbcrlf03VBCRLF\r\n"), Vide("");
        const Octets Cp = A1 + "nom=\x8Cuvre \xE0 5 \x80 \x81\x8D;Naissan=No\xEBl \x8F\x90\x9D\r\n";
        newRow("vierge") << Absent << 'C' << "" << "" << "" << Absent << Noms{RepertoireVide};
        newRow("doublons listés") << ABA << 'C' << "" << "" << "A|B|A" << ABA << Noms();
        newRow("LF seul: une ligne") << LF << 'C' << "" << "" << "A" << LF << Noms();
        newRow("zéro octet") << Vide << 'C' << "" << "" << "" << Vide
                             << Noms{"e 62", "e 5", "i L'annuaire est vide..."};
        newRow("sans marqueur") << Mixte << 'C' << "" << "" << "A|B" << Mixte << Noms{"e 5"};
        newRow("premier des doublons") << ABA << 'T' << "A" << "" << "1" << ABA << Noms();
        newRow("vbcrlf") << VB << 'T' << "X" << "" << "01/02\r\n03VBCRLF" << VB << Noms();
        newRow("marqueur absent") << Mixte << 'T' << "B" << "" << "2" << Mixte << Noms{"e 5"};
        newRow("ajout sans annuaire") << Absent << 'A' << "Duvoro Zidu" << "03/11/1975"
            << "Duvoro Zidu" << Octets("nom=Duvoro Zidu;Naissan=03/11/1975\r\n") << Noms();
        newRow("Windows-1252") << A1 << 'A' << "Œuvre à 5 € \u0081\u008D"
            << "Noël \u008F\u0090\u009D" << "A|Œuvre à 5 € \u0081\u008D" << Cp << Noms();
        newRow("date vide") << A1 << 'A' << "P" << "" << "A|P" << A1 + "nom=P;Naissan=\r\n"
                            << Noms();
        newRow("ajout coupé") << A1 << 'a' << "Zoé" << "1/1/2000" << "A" << A1 << Noms{"e 61"};
        newRow("ajout coupé sans annuaire") << Absent << 'a' << "Zoé" << "1/1/2000" << ""
                                            << Absent << Noms{"e 61", RepertoireVide};
        newRow("doublons supprimés") << ABA << 'S' << "A" << "" << "B" << B << Noms();
        newRow("autre casse") << ABA << 'S' << "a" << "" << "A|B|A" << ABA << Noms();
        newRow("dernière personne") << A1 << 'S' << "A" << "" << "" << Absent << Noms();
        newRow("sans marqueur, gardé") << Mixte << 'S' << "A" << "" << "B"
                                       << "brouillon\r\n" + B << Noms{"e 5", "e 5"};
        newRow("rien à supprimer") << Absent << 'S' << "A" << "" << "-" << Absent << Noms{"e 53"};
        newRow("réécriture coupée") << ABA << 's' << "Z" << "" << "-" << ABA << Noms{"e 61"};
        newRow("CR dans le nom") << A1 << 'A' << "B\r" << "1" << "-" << A1
            << Noms{"r Le nom ne peut pas contenir de retour à la ligne..."};
        newRow("LF dans la date") << A1 << 'A' << "B" << "1\n2" << "-" << A1
            << Noms{"r La date de naissance ne peut pas contenir de retour à la ligne..."};
        newRow("marqueur dans le nom") << A1 << 'A' << "B;NaissanC" << "1" << "-" << A1
            << Noms{"r Le nom ne peut pas contenir « ;Naissan »..."};
        newRow("date hors page de code") << A1 << 'A' << "B" << "1 😀" << "-" << A1
            << Noms{"r La date de naissance contient le caractère « 😀 », que l'annuaire ne peut "
                    "pas enregistrer..."};
    }
    void routine()
    {
        QFETCH(Octets, avant);
        QFETCH(char, routine);
        QFETCH(QString, nom);
        QFETCH(QString, naissance);
        QFETCH(Octets, apres);
        if (!avant.isNull())
            pose(annuaire_.FichierAnnuaire(), avant);
        rlimit normale{};
        getrlimit(RLIMIT_FSIZE, &normale);
        const rlimit limite{QChar(routine).isLower() ? 20 : normale.rlim_cur, normale.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limite);
        const QString resultat = lance(QChar(routine).toUpper().toLatin1(), nom, naissance);
        setrlimit(RLIMIT_FSIZE, &normale);
        QTEST(resultat, "resultat");
        QFile fichier(annuaire_.FichierAnnuaire());
        QCOMPARE(fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : Absent, apres);
        QCOMPARE(QDir(racine_->filePath("app")).entryList(QDir::Files),
                 apres.isNull() ? Noms() : Noms{"trivo.dat"}); // and no half-written copy
        QTEST(journal_.lignes, "messages");
        if (routine == 'A' && journal_.lignes.isEmpty()) // read back as typed
            QCOMPARE(annuaire_.TrouveFiche(nom).naissance, std::optional(naissance));
    }
};

QTEST_GUILESS_MAIN(TestAnnuaire)
#include "test_annuaire.moc"
