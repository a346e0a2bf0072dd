// Pixels of the chart and labels of the day strip, as the drawing routines leave them.

#include "chart/trace.h"
#include "core/textes.h"

#include <QTest>

using namespace std::chrono;

namespace {

const QColor Blanc(255, 255, 255);

QImage imageVierge()
{
    QImage image(627, 243, QImage::Format_RGB32);
    image.fill(Blanc);
    return image;
}

QColor a(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

} // namespace

class TestGraphique : public QObject {
    Q_OBJECT
private slots:
    void marqueur_data()
    {
        QTest::addColumn<int>("pas");
        QTest::addColumn<int>("premiere");
        QTest::addColumn<int>("colonne");
        QTest::newRow("normal") << dz::PasMarqueurNormal << 303 << 304;
        QTest::newRow("terme") << dz::PasMarqueurTerme << 589 << 590;
    }
    void marqueur()
    {
        QFETCH(int, pas);
        QFETCH(int, premiere);
        QFETCH(int, colonne);
        QImage image = imageVierge();
        const auto g = dz::geometrie(629, 245, 100);
        QCOMPARE(chart::traceCadreEtJours(image, g, pas), colonne);
        const QColor rouge(255, 0, 0);
        for (int y : {1, 60, 200, 242}) {
            for (int x = premiere; x < premiere + 5; ++x)
                QCOMPARE(a(image, x, y), rouge);
            QVERIFY(a(image, premiere - 1, y) != rouge);
            QVERIFY(a(image, premiere + 5, y) != rouge);
        }
    }

    void cadreEtLignesDeJours()
    {
        QImage image = imageVierge();
        const auto g = dz::geometrie(629, 245, 0);
        chart::traceCadreEtJours(image, g, dz::PasMarqueurNormal);
        const QColor noir(0, 0, 0), bleu(0, 0, 128);
        // Left side of the frame at x = 1, nothing at x = 0, top side at y = 1.
        for (int y = 2; y < 243; ++y) {
            QCOMPARE(a(image, 1, y), noir);
            QCOMPARE(a(image, 0, y), Blanc);
        }
        QCOMPARE(a(image, 100, 1), noir);
        QCOMPARE(a(image, 100, 0), Blanc);
        // Zero line at y = 122.5 lands on one row.
        QCOMPARE(a(image, 100, chart::pixel(122.5)), noir);

        // Day lines where the accumulated positions put them: 19, 38, 57, 76, ...
        double t = 0;
        int lignes = 0;
        for (int n = 1; n <= 33; ++n) {
            t += 629.0 / 33;
            const int x = chart::pixel(t);
            if (n == dz::PasMarqueurNormal || x >= 627)
                continue;
            QCOMPARE(a(image, x, 50), bleu);
            QVERIFY(a(image, x - 1, 50) != bleu);
            ++lignes;
        }
        QCOMPARE(lignes, 31); // 33 steps less the marker and the one beyond the area
        QCOMPARE(chart::pixel(629.0 / 33 * 3), 57);
        QCOMPARE(a(image, 57, 50), bleu);
    }

    void courbesAColonneDate_data()
    {
        QTest::addColumn<double>("D");
        QTest::newRow("0") << 0.0;
        QTest::newRow("23") << 23.0;
        QTest::newRow("8737") << 8737.0;
        QTest::newRow("12555") << 12555.0;
    }
    void courbesAColonneDate()
    {
        QFETCH(double, D);
        const auto g = dz::geometrie(629, 245, D);
        for (std::size_t k = 0; k < 3; ++k) {
            QImage image = imageVierge();
            dz::Courbes seule = dz::calculeCourbes(g, 304);
            // Alone on the image, each curve's pixel at the column sits where y puts it.
            for (auto& y : seule.y)
                for (std::size_t autre = 0; autre < 3; ++autre)
                    if (autre != k)
                        y[autre] = -100;
            chart::traceCourbes(image, seule);
            const int ligne = chart::pixel(seule.y[304][k]);
            QCOMPARE(a(image, 304, ligne), chart::couleurQB(dz::CouleurCycle[k]));
            // and its read value is that height rescaled
            QCOMPARE(seule.valeurs[k].value(),
                     static_cast<int>(std::floor(50 - 100 * (seule.y[304][k] - 13) / (2 * g.A))));
        }
    }

    void bandeDuJour_data()
    {
        QTest::addColumn<QString>("premier");
        QTest::addColumn<QStringList>("debut");
        QTest::addColumn<QString>("seizieme");
        QTest::addColumn<QString>("dernier");
        // 10/03/2004 minus 15 days; 2004 is a leap year.
        QTest::newRow("bissextile") << "2004-02-24"
                                    << QStringList{"24", "25", "26", "27", "28", "29", "01", "02"}
                                    << "10" << "26";
        // near-term strip for a term of 20/01/2025: from 20/12/2024, the term is label 31
        QTest::newRow("terme") << "2024-12-21"
                               << QStringList{"21", "22", "23", "24", "25", "26", "27", "28"}
                               << "05" << "21";
    }
    void bandeDuJour()
    {
        QFETCH(QString, premier);
        QFETCH(QStringList, debut);
        QFETCH(QString, seizieme);
        QFETCH(QString, dernier);
        const QDate q = QDate::fromString(premier, Qt::ISODate);
        const dz::Date d{year{q.year()}, month{static_cast<unsigned>(q.month())},
                         day{static_cast<unsigned>(q.day())}};
        const auto etiquettes = chart::etiquettesJours(629.0 / 33, d);
        QCOMPARE(etiquettes.size(), std::size_t{32});
        for (int i = 0; i < debut.size(); ++i)
            QCOMPARE(etiquettes[static_cast<std::size_t>(i)].texte, debut[i]);
        QCOMPARE(etiquettes[15].texte, seizieme);
        QCOMPARE(etiquettes[31].texte, dernier);
        QCOMPARE(etiquettes[0].x, 12);
        QCOMPARE(etiquettes[1].x, 31);
        // label 15 stands 12 pixels right of day line 15, left of the marker
        QCOMPARE(etiquettes[15].x, chart::pixel(12 + 15 * 629.0 / 33));
        QVERIFY(etiquettes[15].x < 303);

        QImage bande(629, 17, QImage::Format_RGB32);
        bande.fill(Blanc);
        QFont police;
        police.setPixelSize(13);
        chart::traceBandeJours(bande, police, Qt::black, 629.0 / 33, d);
        for (const auto& e : etiquettes) {
            bool encre = false;
            for (int x = e.x; x < e.x + 14 && x < 629; ++x)
                for (int y = 0; y < 17; ++y)
                    encre = encre || bande.pixelColor(x, y) != Blanc;
            QVERIFY2(encre, qPrintable(e.texte));
        }
    }
};

QTEST_MAIN(TestGraphique)
#include "test_graphique.moc"
