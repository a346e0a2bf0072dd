// The cycle arithmetic and the date rules, checked against the design's worked examples.

#include "core/cycles.h"
#include "core/dates.h"
#include "core/textes.h"

#include <QTest>

using namespace dz;
using namespace std::chrono;

namespace {

Date lit(const char* texte) { return reconnaitDate(texte, year{2026}).value(); }

QList<int> valeurs(double D)
{
    const auto g = geometrie(629, 245, D);
    const auto c = calculeCourbes(g, colonneMarqueur(g, PasMarqueurNormal));
    return {c.valeurs[0].value(), c.valeurs[1].value(), c.valeurs[2].value()};
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // The values read off the curves at column 304 of a 629 x 245 chart, for D days lived.
    void valeursEtGeometrie()
    {
        const std::pair<double, QList<int>> cas[] = {
            {0, {0, 0, 0}},        {1, {9, 11, 13}},       {-1, {-10, -11, -14}},
            {23, {-47, -45, 0}},   {28, {-41, 0, 49}},     {33, {0, 45, 20}},
            {759, {0, 31, 0}},     {8737, {-50, 11, -37}}, {12555, {15, 32, -37}},
            {-3, {-27, -31, -37}}, {6, {46, 49, 50}}}; // at 6 a sine of 0.9985 reaches 50
        for (const auto& [D, v] : cas)
            QCOMPARE(valeurs(D), v);
        int mini = 0, maxi = 0;
        for (int D = -400; D <= 40000; D += 97)
            for (int v : valeurs(D))
                mini = std::min(mini, v), maxi = std::max(maxi, v);
        QCOMPARE(QList<int>({mini, maxi}), QList<int>({-50, 50}));
        const auto g = geometrie(629, 245, 0);
        QCOMPARE(colonneMarqueur(g, PasMarqueurNormal), 304);
        QCOMPARE(colonneMarqueur(g, PasMarqueurTerme), 590);
        const auto lignes = lignesJours(g); // by repeated addition: the 33rd falls short of 629
        QVERIFY(lignes.size() == 33 && lignes.back() < 629 && lignes.back() > 628.99);
        for (const auto& [k, d] : {std::pair{0, 100.108459}, {1, 84.940511}, {2, 69.772562}})
            QVERIFY(std::abs(g.Diviseur[k] - d) < 1e-6);
        // An A4 page: a day about 264.6 twips, the band 3,367.6 from the top and as high, the
        // amplitude about 1,403, dots 3 pixels wide (W / 4000, halves to even).
        const auto p = geometriePage(11906, 16838, 0);
        QVERIFY(std::abs(p.d - 264.58) < 0.01 && std::abs(p.A - 1403.17) < 0.01);
        QCOMPARE(QList<double>({p.T, p.B, p.M}), QList<double>({3367.6, 3367.6, 1683.8}));
        QCOMPARE(
            QList<int>({p.pen, geometriePage(10000, 1, 0).pen, geometriePage(14000, 1, 0).pen}),
            QList<int>({3, 2, 4}));
    }

    void niveauxEtTextes()
    {
        const int bornes[] = {-40, -20, -5, 5, 20, 40, 50}; // bounds belong to the lower level
        for (int n = 0; n < 7; ++n)
            QVERIFY(niveau(bornes[n]) == n && (n == 6 || niveau(bornes[n] + 1) == n + 1));
        // clang-format off
        for (const auto& [jours, texte] : {std::pair{0, " 0"}, {800, " 800"}, {12345, "12 345"}, {1234567, "1234 567"}, {-12345, "-12 345"}})
            // clang-format on
            QCOMPARE(formatJours(jours), std::string(texte));
        QCOMPARE(texteEtiquette(2, 0) + "|" + texteAge(0) + "|" + texteAge(-1),
                 "Physique :    0| 0 Ans|-1 Ans");
    }

    // What reads as a date (this year being 2026), and how it is written back.
    void dates()
    {
        // clang-format off
        const std::pair<const char*, const char*> cas[] = {
            {"17/05/2004", "17/05/2004"}, {"17/05/04", "17/05/2004"}, {"3-11-1975", "03/11/1975"},
            {" 3.11.75 ", "03/11/1975"}, {"01/01/29", "01/01/2029"}, {"01/01/30", "01/01/1930"},
            {"29/02/2000", "29/02/2000"}, {"17/5", "17/05/2026"}, {"01/01/0100", "01/01/0100"},
            {"31/04/2024", ""}, {"29/02/2023", ""}, {"29/02/1900", ""}, {"00/05/2004", ""},
            {"01/13/2004", ""}, {"", ""}, {"demain", ""}, {"17/05/2004x", ""}, {"17/05/", ""},
            {"17/05/204", ""}, {"17/05/0099", ""}, {"017/05/2004", ""}};
        // clang-format on
        for (const auto& [texte, attendu] : cas) {
            const auto d = reconnaitDate(texte, year{2026});
            QCOMPARE(d ? ecritDate(*d) : std::string(), std::string(attendu));
        }
        // Days lived and age in years: months are counted, not days.
        // clang-format off
        const std::tuple<const char*, const char*, long, int> vies[] = {
            {"01/01/1970", "17/05/2004", 12555, 34}, {"20/05/1970", "17/05/2004", 12416, 34},
            {"29/02/2000", "01/03/2000", 1, 0}, {"20/07/2004", "17/05/2004", -64, -1}};
        // clang-format on
        for (const auto& [naissance, calcul, jours, age] : vies) {
            QCOMPARE(joursEntre(lit(naissance), lit(calcul)), jours);
            QCOMPARE(ageAnnees(lit(naissance), lit(calcul)), age);
        }
        QCOMPARE(ajouteMois(lit("15/03/2024"), 9), lit("15/12/2024"));
        QCOMPARE(ajouteMois(lit("31/05/2023"), 9), lit("29/02/2024"));
        QCOMPARE(ajouteMois(lit("31/05/2022"), 9), lit("28/02/2023"));
        QCOMPARE(QList<int>({jourSemaine(lit("16/05/2004")), jourSemaine(lit("17/05/2004"))}),
                 QList<int>({7, 1}));
        // Near the term of 20/01/2025 the chart is drawn for 05/01/2025, its strip from the 21st.
        QCOMPARE(joursVecusTerme(lit("01/01/1990"), lit("20/01/2025")), 12788.0);
        QCOMPARE(premierJourBande(jourGrapheTerme(lit("20/01/2025"))), lit("21/12/2024"));
        QCOMPARE(premierJourBande(lit("17/05/2004")), lit("02/05/2004"));
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "test_core.moc"
