// The printed page: the report and chart as recorded, the page printed to PDF and read back
// (the marks' size on paper, their places), and the print command's outcomes.

#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QPrinter>
#include <QtTest>

using namespace dz;

Q_DECLARE_METATYPE(EntreesImpression)

namespace {

const QColor Rouge(200, 0, 0);
const QColor Intel(0, 50, 0), Emoti(50, 0, 0), Physi(0, 0, 50); // the curves' colours
// A4 in twips, as the chart's proportions take it; a day; the band's top and height.
const QSizeF A4(11906, 16838);
const double W = A4.width(), d = W / 45, T = A4.height() / 5;
constexpr double Ligne12pt = 276, Ligne10pt = 230; // the report's line heights, in twips

EntreesImpression entrees(const QString& naissance, const QString& calcul = "17/05/2004",
                          const QString& dgus = {}, const QString& ap = {},
                          const QString& nom = "Jeanne Exemple")
{
    const QString m = " ( Min -50, Max +50)";
    return {nom, naissance, calcul, dgus, ap, "45" + m, "-12" + m, "0" + m, Rouge.red(), {}};
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
    // clang-format off
    return QStringList{"", QString(14, ' ') + ban, QString(40, ' ') + date, "",
                       " Mme.ou M. Jeanne Exemple Né(e) le:lundi 03/11/1975", " Age" + age, ""}
           + avant + valeurs + fin;
    // clang-format on
}

QString lance(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    return p.waitForFinished() ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

PageEnregistree enregistre(const EntreesImpression& e)
{
    FakePlateforme pf;
    PageEnregistree page(A4);
    Feuille f(page, {});
    Etat etat;
    ImprimeFiche(f, e, etat, pf, nullptr);
    ImprimeCourbes(f, e, etat, pf);
    return page;
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
        // Dots of the intellectual, emotional and physical curves: {cycle, column, y}, worked out
        // from the design for D = 10,423 and, near the term, 10,569 - 15.
        QTest::addColumn<QList<QList<double>>>("courbes");
        QTest::newRow("normale") << entrees("3/11/1975")
                                 << rapport("Date de Prévision:17/05/2004", "28/Ans et 6/Mois", {},
                                            {"#000032Jour Vecus: 10 423"})
                                 << 16 << " 2 , 2 "
                                 << QList<QList<double>>{
                                        {0, 0, 3991.0}, {0, 4200, 6213.5}, {0, 8220, 3731.5},
                                        {1, 0, 6315.6}, {1, 4200, 3648.8}, {1, 8160, 6429.6},
                                        {2, 0, 4860.3}, {2, 4233, 3805.7}, {2, 8202, 6297.2}};
        QTest::newRow("terme")
            << entrees("3/11/1975", "17/05/2004", "01/01/2004", "10/10/2004")
            << rapport("Date ultime du terme:10/10/2004", "28/Ans et 11/Mois",
                       {"Ondagrammes au dernier jour du terme"},
                       {"", "", "", "", "", "#000032" + QString(63, ' ') + "Terme"})
            << 31 << " 10 , 11 "
            << QList<QList<double>>{{0, 0, 3836.2}, {0, 4200, 6341.3}, {0, 8220, 3665.2},
                                    {1, 0, 3954.4}, {1, 4200, 5695.6}, {1, 8160, 4690.7},
                                    {2, 0, 3805.5}, {2, 4233, 6077.1}, {2, 8202, 5242.6}};
        const auto ligne = [](const char* cas, const EntreesImpression& e, const QString& l) {
            QTest::newRow(cas) << e << QStringList{l} << 16 << QString() << QList<QList<double>>();
        };
        ligne("terme sans DGUS", entrees("3/11/1975", "17/05/2004", "", "10/10/2004"),
              "#000032Jour Vecus: 10 423");
        ligne("mois du calendrier", entrees("31/12/2000", "01/01/2001"), " Age0/Ans et 1/Mois");
        ligne("dimanche, sans nom", entrees("02/01/2000", "17/05/2004", {}, {}, {}),
              " Mme.ou M.  Né(e) le:dimanche 02/01/2000");
        ligne("âge négatif", entrees("20/07/2004"), " Age-1/Ans et 10/Mois");
    }
    void page()
    {
        QFETCH(EntreesImpression, e);
        QFETCH(QStringList, lignes);
        QFETCH(int, marqueur);
        QFETCH(QString, jours);
        QStringList rapport, nombres; // the report line by line, and the day numbers under the band
        QSet<int> pleins, longs;      // red day lines: across the band, and long ticks
        QMap<int, double> points[3];  // each curve's y by column
        for (const Trait& t : enregistre(e).traits) {
            if (const int k = QList<QColor>{Intel, Emoti, Physi}.indexOf(t.couleur);
                t.genre == Trait::Genre::Points && k >= 0)
                for (const QPointF& p : t.suite.isEmpty() ? QPolygonF{t.a} : t.suite)
                    points[k][qRound(p.x())] = p.y();
            const double y = t.a.y() - QFontMetricsF(t.police).ascent(); // a text's top
            if (t.genre == Trait::Genre::Texte && y > 2 * T) {
                QCOMPARE(t.a.x(), W / 100 + nombres.size() * d);
                nombres << t.texte;
            } else if (t.genre == Trait::Genre::Texte) { // lines of 12, then 10 points, 1.15 high
                const double n =
                    y < 3 * Ligne12pt ? y / Ligne12pt : 3 + (y - 3 * Ligne12pt) / Ligne10pt;
                QVERIFY2(std::abs(n - qRound(n)) < 0.3, qPrintable(t.texte));
                rapport.resize(std::max(rapport.size(), qsizetype(qRound(n) + 1)));
                rapport[qRound(n)] = (t.couleur == Qt::black ? "" : t.couleur.name()) + t.texte;
                QVERIFY2(t.a.x() + QFontMetricsF(t.police).horizontalAdvance(t.texte) < W,
                         qPrintable(t.texte));                          // within the printable area
            } else if (t.couleur == Rouge && t.b.y() - t.a.y() > 300) { // long ticks: 400 at zero
                (t.b.y() - t.a.y() > T / 2 ? pleins : longs) << qRound(t.a.x() / d);
            }
        }
        QFETCH(QList<QList<double>>, courbes);
        for (const auto& c : courbes) {
            const auto& courbe = points[int(c[0])];
            QVERIFY2(courbe.contains(int(c[1])) && std::abs(courbe[int(c[1])] - c[2]) < 0.1,
                     qPrintable(QString("%1 %2: %3").arg(c[0]).arg(c[1]).arg(courbe[int(c[1])])));
        }
        QCOMPARE(points[0].size(), 146); // every 60 twips over the chart's 8,731
        QCOMPARE(points[1].size(), 73);
        QCOMPARE(points[2].size(), 8732);
        QCOMPARE(pleins, QSet<int>{marqueur});
        QCOMPARE(longs, (QSet<int>{0, 5, 10, 15, 20, 25, 30}));
        QVERIFY2(rapport.contains(lignes.last()), qPrintable(rapport.join('\n')));
        if (!jours.isEmpty()) { // the whole report, and the day numbers
            QCOMPARE(rapport, lignes);
            QCOMPARE(nombres.first() + "," + nombres.last(), jours);
        }
    }

    // Pages through the print command into PDFs, on the paper and margins chosen in the dialog,
    // compared whole at 100 dpi with pictures checked once by eye: report and chart within the
    // margins, the marks as wide on paper as designed (dots of 3/300 inch), a second page
    // starting in the dark blue the first one left. The document is named after the person.
    void papier()
    {
#ifdef Q_OS_WIN
        QSKIP("the PDF is read back with poppler's Linux programs, which Wine cannot start");
#endif
        const std::tuple<const char*, QPageSize::PageSizeId, double> cas[] = {
            {"A4", QPageSize::A4, 0},
            {"Letter", QPageSize::Letter, 0},
            {"A4-30mm", QPageSize::A4, 30}};
        for (const auto& [nom, papier, marges] : cas) {
            FakePlateforme pf;
            Impression impression(pf);
            Etat etat;
            QString fichier;
            pf.imprimante = [&, papier = papier, marges = marges](QWidget*, QPrinter& p) {
                p.setOutputFileName(fichier);
                p.setPageSize(QPageSize(papier));
                if (marges > 0)
                    p.setPageMargins(QMarginsF(marges, marges, marges, marges),
                                     QPageLayout::Millimeter);
                return true;
            };
            for (const QString page : {"1", "2"}) {
                if (page == "2" && QString(nom) != "A4")
                    break;
                fichier = pf.dossierTemp + "/page" + page + ".pdf";
                QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975"), etat),
                         Impression::Resultat::Imprime);
                const QString png = fichier + "-100";
                lance("pdftoppm", {"-png", "-singlefile", "-r", "100", fichier, png});
                QCOMPARE(difference(QImage(png + ".png").convertToFormat(QImage::Format_RGB32),
                                    QString("page-%1-%2").arg(nom, page)),
                         QString());
            }
            const QString infos = lance("pdfinfo", {fichier});
            QVERIFY2(infos.contains("Title:           Dazozare – Jeanne Exemple")
                         && infos.contains("Creator:         Dazozare 5.1.1"),
                     qPrintable(infos));
        }
    }

    // A page that cannot be printed leaves no file; only real failures are told; a second
    // command while the window's events run does nothing.
    void commande()
    {
        FakePlateforme pf;
        Etat etat;
        Impression impression(pf);
        using R = Impression::Resultat;
        QString sortie = pf.dossierTemp + "/page.pdf";
        bool accepte = false;
        pf.imprimante = [&](QWidget*, QPrinter& p) {
            p.setOutputFileName(sortie);
            return accepte;
        };
        QList<R> imbriques;
        pf.pendantPompe = [&] {
            imbriques << impression.imprime(nullptr, entrees("3/11/1975"), etat);
        };
        QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975"), etat), R::Annule);
        QCOMPARE(imbriques, QList<R>(3, R::DejaEnCours));
        pf.pendantPompe = nullptr;
        accepte = true;
        QCOMPARE(impression.imprime(nullptr, entrees(""), etat), R::NaissanceInvalide);
        QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975", "31/02/2004"), etat),
                 R::DateInvalide);
        sortie = pf.dossierTemp + "/absent/page.pdf";
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975"), etat), R::ImprimanteEnErreur);
        QVERIFY(QDir(pf.dossierTemp).isEmpty());
        QStringList messages;
        for (const FakePlateforme::Message& m : pf.messages)
            messages << m.titre + " " + m.texte;
        QCOMPARE(messages, QStringList({"Impression... La date de prévision « 31/02/2004 » n'est "
                                        "pas une date : la page ne peut pas être imprimée.",
                                        "Impression... L'imprimante « " + sortie
                                            + " » ne peut pas être ouverte : la page n'a pas "
                                              "été imprimée."}));
    }
};

QTEST_MAIN(TestImpression)
#include "test_impression.moc"
