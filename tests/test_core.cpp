// The cycle arithmetic and the date rules, checked against worked examples.

#include "core/cycles.h"
#include "core/dates.h"
#include "core/textes.h"

#include <QTest>

using namespace dz;

using namespace std::chrono;

namespace {

Date lit(const QString& texte) { return reconnaitDate(texte.toStdString(), year{2026}).value(); }

std::array<int, 3> valeurs(double D)
{
    const auto g = geometrie(629, 245, D);
    const auto c = calculeCourbes(g, colonneMarqueur(g, PasMarqueurNormal));
    return {c.valeurs[0].value(), c.valeurs[1].value(), c.valeurs[2].value()};
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void valeursLues_data()
    {
        QTest::addColumn<double>("D");
        QTest::addColumn<QList<int>>("attendues");
        const std::pair<double, QList<int>> cas[] = {{0, {0, 0, 0}},         {1, {9, 11, 13}},
                                                     {-1, {-10, -11, -14}},  {23, {-47, -45, 0}},
                                                     {28, {-41, 0, 49}},     {33, {0, 45, 20}},
                                                     {759, {0, 31, 0}},      {8737, {-50, 11, -37}},
                                                     {12555, {15, 32, -37}}, {-3, {-27, -31, -37}}};
        for (const auto& [D, v] : cas)
            QTest::newRow(qPrintable(QString::number(D))) << D << v;
    }
    void valeursLues()
    {
        QFETCH(double, D);
        QFETCH(QList<int>, attendues);
        const auto v = valeurs(D);
        QCOMPARE((QList<int>{v[0], v[1], v[2]}), attendues);
    }

    void bornesEtGeometrie()
    {
        int mini = 0, maxi = 0;
        for (int D = -400; D <= 40000; D += 7)
            for (int v : valeurs(D)) {
                mini = std::min(mini, v);
                maxi = std::max(maxi, v);
            }
        QCOMPARE(valeurs(6)[2], 50); // the +0.84 offset lets a sine of 0.9985 reach 50
        QCOMPARE(mini, -50);
        QCOMPARE(maxi, 50);
        const auto g = geometrie(629, 245, 0);
        QCOMPARE(colonneMarqueur(g, PasMarqueurNormal), 304);
        QCOMPARE(colonneMarqueur(g, PasMarqueurTerme), 590);
        QCOMPARE(lignesJours(g).size(), std::size_t{33});
        QCOMPARE(calculeCourbes(g, 304).y.size(), std::size_t{630});
        QVERIFY(std::abs(g.Diviseur[2] - 69.772562) < 1e-6);
    }

    void niveaux()
    {
        // Bounds belong to the lower level.
        const int bornes[] = {-40, -20, -5, 5, 20, 40, 50};
        for (int n = 0; n < 7; ++n) {
            QCOMPARE(niveau(bornes[n]), n);
            if (n < 6)
                QCOMPARE(niveau(bornes[n] + 1), n + 1);
        }
    }

    void textes()
    {
        QCOMPARE(formatJours(0), std::string(" 0"));
        QCOMPARE(formatJours(800), std::string(" 800"));
        QCOMPARE(formatJours(12345), std::string("12 345"));
        QCOMPARE(formatJours(1234567), std::string("1234 567"));
        QCOMPARE(formatJours(-12345), std::string("-12 345"));
        QCOMPARE(texteEtiquette(2, 0), std::string("Physique :    0"));
        QCOMPARE(texteAfich(-37), std::string("-37 ( Min -50, Max +50)"));
        QCOMPARE(texteJoursVecus(12555), std::string("12 555 jours de vie"));
        QCOMPARE(texteAge(34), std::string(" 34 Ans"));
        QCOMPARE(texteAge(-1), std::string("-1 Ans"));
    }

    void joursEtAges_data()
    {
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("calcul");
        QTest::addColumn<int>("jours");
        QTest::addColumn<int>("age");
        QTest::newRow("exemple") << "01/01/1970"
                                 << "17/05/2004" << 12555 << 34;
        QTest::newRow("mois comptes") << "20/05/1970"
                                      << "17/05/2004" << 12416 << 34;
        QTest::newRow("29 fevrier") << "29/02/2000"
                                    << "01/03/2000" << 1 << 0;
        QTest::newRow("avant naissance") << "20/07/2004"
                                         << "17/05/2004" << -64 << -1;
    }
    void joursEtAges()
    {
        QFETCH(QString, naissance);
        QFETCH(QString, calcul);
        QFETCH(int, jours);
        QFETCH(int, age);
        QCOMPARE(joursEntre(lit(naissance), lit(calcul)), long{jours});
        QCOMPARE(ageAnnees(lit(naissance), lit(calcul)), age);
    }

    void reconnaissance_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("attendu"); // empty: not a date
        const std::pair<const char*, const char*> cas[] = {{"17/05/2004", "17/05/2004"},
                                                           {"17/05/04", "17/05/2004"},
                                                           {"3-11-1975", "03/11/1975"},
                                                           {" 3.11.75 ", "03/11/1975"},
                                                           {"01/01/29", "01/01/2029"},
                                                           {"01/01/30", "01/01/1930"},
                                                           {"29/02/2000", "29/02/2000"},
                                                           {"17/5", "17/05/2026"},
                                                           {"01/01/0100", "01/01/0100"},
                                                           {"31/04/2024", ""},
                                                           {"29/02/2023", ""},
                                                           {"29/02/1900", ""},
                                                           {"00/05/2004", ""},
                                                           {"01/13/2004", ""},
                                                           {"", ""},
                                                           {"demain", ""},
                                                           {"17/05/2004x", ""},
                                                           {"17/05/", ""},
                                                           {"17/05/204", ""},
                                                           {"17/05/0099", ""},
                                                           {"017/05/2004", ""}};
        for (const auto& [texte, attendu] : cas)
            QTest::newRow(texte) << QString(texte) << QString(attendu);
    }
    void reconnaissance()
    {
        QFETCH(QString, texte);
        QFETCH(QString, attendu);
        const auto d = reconnaitDate(texte.toStdString(), year{2026});
        QCOMPARE(d ? QString::fromStdString(ecritDate(*d)) : QString(), attendu);
    }

    void calendrier()
    {
        QCOMPARE(ajouteMois(lit("31/05/2023"), 9), lit("29/02/2024"));
        QCOMPARE(ajouteMois(lit("31/05/2022"), 9), lit("28/02/2023"));
        QCOMPARE(ajouteJours(lit("17/05/2004"), -16), lit("01/05/2004"));
        QCOMPARE(jourSemaine(lit("16/05/2004")), 7);
        QCOMPARE(jourSemaine(lit("17/05/2004")), 1);
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "test_core.moc"
