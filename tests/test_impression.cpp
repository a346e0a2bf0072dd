// The printed page: the report and chart as recorded for the printer, and the print command.
#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QPrinter>
#include <QProcess>
#include <QtTest>

using namespace dz;

Q_DECLARE_METATYPE(EntreesImpression)

namespace {

const QColor Rouge(200, 0, 0);
const double d = 11906.0 / 45, T = 16838.0 / 5; // on A4, in twips: a day; the band's top and height
// Line heights of the report's two fonts, in twips.
constexpr double Ligne12pt = 276, Ligne10pt = 230;

EntreesImpression entrees(const QString& naissance, const QString& calcul, const QString& dgus = {},
                          const QString& ap = {}, const QString& nom = "Jeanne Exemple")
{
    return {nom,
            naissance,
            calcul,
            dgus,
            ap,
            "45 ( Min -50, Max +50)",
            "-12 ( Min -50, Max +50)",
            "0 ( Min -50, Max +50)",
            Rouge.red(),
            {}};
}

// Report lines of someone born 3/11/1975 ("" empty); a coloured text is tagged with its colour.
QStringList rapport(const QString& date, const QString& age, const QStringList& avant,
                    const QStringList& fin)
{
    const QString ban = "********** T R I V I X E S  par l'Atelier des Ondes  **********";
    const QStringList valeurs{
        "#003200  Cycle Intellectuel 33/J  .............: 45 ( Min -50, Max +50)",
        "#320000    Cycle Emotionnel 28/J  . . . . . . .: -12 ( Min -50, Max +50)",
        "#000032      Cycle Physique 23/J  _____________: 0 ( Min -50, Max +50)", ""};
    return QStringList{"",
                       QString(14, ' ') + ban,
                       QString(40, ' ') + date,
                       "",
                       " Mme.ou M. Jeanne Exemple Né(e) le:lundi 03/11/1975",
                       " Age" + age,
                       ""}
           + avant + valeurs + fin;
}

void dialogue(FakePlateforme& pf, const QString& pdf, bool accepte = true) // the printer dialog
{
    pf.imprimante = [=](QWidget*, QPrinter& p) {
        p.setOutputFileName(pdf);
        return accepte;
    };
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

private slots:
    void page_data()
    {
        QTest::addColumn<EntreesImpression>("e");
        QTest::addColumn<QStringList>("lignes"); // the whole report, or one of its lines
        QTest::addColumn<int>("marqueur");       // the day line in red across the band
        QTest::addColumn<QString>("jours");      // the first and last day numbers under it
        QTest::newRow("normale") << entrees("3/11/1975", "17/05/2004")
                                 << rapport("Date de Prévision:17/05/2004", "28/Ans et 6/Mois", {},
                                            {"#000032Jour Vecus: 10 423"})
                                 << 16 << " 2 , 2 ";
        QTest::newRow("terme") << entrees("3/11/1975", "17/05/2004", "01/01/2004", "10/10/2004")
                               << rapport(
                                      "Date ultime du terme:10/10/2004", "28/Ans et 11/Mois",
                                      {"Ondagrammes au dernier jour du terme"},
                                      {"", "", "", "", "", "#000032" + QString(63, ' ') + "Terme"})
                               << 31 << " 10 , 11 ";
        const auto ligne = [](const char* cas, const EntreesImpression& e, const QString& l) {
            QTest::newRow(cas) << e << QStringList{l} << 16 << QString();
        };
        ligne("terme sans DGUS", entrees("3/11/1975", "17/05/2004", "", "10/10/2004"),
              "#000032Jour Vecus: 10 423");
        ligne("mois du calendrier", entrees("31/12/2000", "01/01/2001"), " Age0/Ans et 1/Mois");
        ligne("dimanche, sans nom", entrees("02/01/2000", "17/05/2004", {}, {}, {}),
              " Mme.ou M.  Né(e) le:dimanche 02/01/2000");
        ligne("cinq chiffres", entrees("01/01/1970", "20/10/2003"), "#000032Jour Vecus: 12 345");
        ligne("âge négatif", entrees("20/07/2004", "17/05/2004"), " Age-1/Ans et 10/Mois");
    }
    void page()
    {
        QFETCH(EntreesImpression, e);
        QFETCH(QStringList, lignes);
        QFETCH(int, marqueur);
        QFETCH(QString, jours);
        FakePlateforme pf;
        PageEnregistree page(Impression::PageA4Twips, Impression::ResolutionEnregistrement);
        Feuille f(page);
        Etat etat;
        ImprimeFiche(f, e, etat, pf, nullptr);
        ImprimeCourbes(f, e, etat, pf);
        QStringList rapport, nombres; // the report line by line, and the day numbers under the band
        QSet<int> pleins, longs;      // red day lines: across the band, and long ticks
        for (const Trait& t : page.traits) {
            const double y = t.a.y() - QFontMetricsF(t.police).ascent(); // a text's top
            if (t.genre == Trait::Genre::Texte && y > 2 * T) {
                QCOMPARE(t.a.x(), 11906.0 / 100 + nombres.size() * d);
                nombres << t.texte;
            } else if (t.genre == Trait::Genre::Texte) { // lines of 12, then 10 points, 1.15 high
                const double n =
                    y < 3 * Ligne12pt ? y / Ligne12pt : 3 + (y - 3 * Ligne12pt) / Ligne10pt;
                QVERIFY2(std::abs(n - qRound(n)) < 0.3, qPrintable(t.texte));
                rapport.resize(std::max(rapport.size(), qsizetype(qRound(n) + 1)));
                rapport[qRound(n)] = (t.couleur == Qt::black ? "" : t.couleur.name()) + t.texte;
            } else if (t.couleur == Rouge && t.b.y() - t.a.y() > 300) { // long ticks: 400 at zero
                (t.b.y() - t.a.y() > T / 2 ? pleins : longs) << qRound(t.a.x() / d);
            }
        }
        QCOMPARE(pleins, QSet<int>{marqueur});
        QCOMPARE(longs, (QSet<int>{0, 5, 10, 15, 20, 25, 30}));
        QVERIFY2(rapport.contains(lignes.last()), qPrintable(rapport.join('\n')));
        if (!jours.isEmpty()) { // the whole report, and the day numbers
            QCOMPARE(rapport, lignes);
            QCOMPARE(nombres.first() + "," + nombres.last(), jours);
        }

        // Through the print command; a second one while the window's events run does nothing.
        dialogue(pf, pf.dossierTemp + "/page.pdf");
        Impression impression(pf);
        QList<Impression::Resultat> imbriques;
        pf.pendantPompe = [&] { imbriques << impression.imprime(nullptr, e, etat); };
        QCOMPARE(impression.imprime(nullptr, e, etat), Impression::Resultat::Imprime);
        QCOMPARE(imbriques, QList<Impression::Resultat>(3, Impression::Resultat::DejaEnCours));
    }

    // What reaches the file: the report's text in order, the marker in the window's red, on
    // the paper chosen in the dialog.
    void pdf_data()
    {
        QTest::addColumn<QPageSize::PageSizeId>("papier");
        QTest::addColumn<QSizeF>("twips");
        QTest::newRow("A4") << QPageSize::A4 << QSizeF(11906, 16838);
        QTest::newRow("Letter") << QPageSize::Letter << QSizeF(12240, 15840);
    }
    void pdf()
    {
        QFETCH(QPageSize::PageSizeId, papier);
        QFETCH(QSizeF, twips);
        FakePlateforme pf;
        dz::Etat etat;
        const QString fichier = pf.dossierTemp + "/page.pdf";
        pf.imprimante = [&](QWidget*, QPrinter& p) {
            p.setOutputFileName(fichier);
            p.setPageSize(QPageSize(papier));
            return true;
        };
        QCOMPARE(Impression(pf).imprime(nullptr, entrees("3/11/1975", "17/05/2004"), etat),
                 Impression::Resultat::Imprime);
        QProcess texte;
        texte.start("pdftotext", {"-layout", fichier, "-"});
        QVERIFY(texte.waitForFinished());
        const QString lu = QString::fromUtf8(texte.readAllStandardOutput());
        qsizetype position = 0;
        const QStringList ordre{"T R I V I X E S",           "Date de Prévision:17/05/2004",
                                "Né(e) le:lundi 03/11/1975", ".: 45 ( Min -50, Max +50)",
                                "Jour Vecus: 10 423",        " 2 "};
        for (const QString& attendu : ordre) {
            position = lu.indexOf(attendu, position);
            QVERIFY2(position >= 0, qPrintable(attendu));
        }
        QProcess rendu; // 72 dpi, one pixel for 20 twips, no smoothing
        rendu.start("pdftoppm", {"-png", "-r", "72", "-aa", "no", "-aaVector", "no", fichier,
                                 pf.dossierTemp + "/page"});
        QVERIFY(rendu.waitForFinished());
        const QImage image(pf.dossierTemp + "/page-1.png");
        QCOMPARE(image.size(), (twips / 20).toSize());
        const double jour = twips.width() / 45, bande = twips.height() / 5;
        QList<int> rouges; // columns in red midway between the top and middle ticks
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, qRound((bande + bande / 4) / 20)) == Rouge)
                rouges << x;
        QCOMPARE(rouges.size(), 1);
        QVERIFY(std::abs(rouges.first() - 16 * jour / 20) <= 1);
    }

    void commande() // a page that cannot be printed leaves no file; only real failures are told
    {
        FakePlateforme pf;
        Etat etat;
        const EntreesImpression bonnes = entrees("3/11/1975", "17/05/2004");
        dialogue(pf, pf.dossierTemp + "/page.pdf", false);
        Impression impression(pf);
        using R = Impression::Resultat;
        QCOMPARE(impression.imprime(nullptr, bonnes, etat), R::Annule);
        dialogue(pf, pf.dossierTemp + "/page.pdf");
        QCOMPARE(impression.imprime(nullptr, entrees("", "17/05/2004"), etat),
                 R::NaissanceInvalide);
        QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975", "31/02/2004"), etat),
                 R::DateInvalide);
        dialogue(pf, pf.dossierTemp + "/absent/page.pdf");
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(impression.imprime(nullptr, bonnes, etat), R::ImprimanteEnErreur);
        QVERIFY(QDir(pf.dossierTemp).isEmpty());
        QCOMPARE(pf.messages.size(), 2);
        QVERIFY(pf.messages[0].texte.contains("31/02/2004"));
        QVERIFY(pf.messages[1].texte.contains("absent/page.pdf"));
    }
};

QTEST_MAIN(TestImpression)
#include "test_impression.moc"
