// The cycle arithmetic and the date rules, checked against worked examples.

#include "core/cycles.h"
#include "core/dates.h"
#include "core/textes.h"

#include <QTest>

using namespace std::chrono;

namespace {

constexpr year AnneeCourante{2026};

dz::Date date(int j, unsigned m, int a) { return dz::Date{year{a}, month{m}, day{static_cast<unsigned>(j)}}; }

std::array<int, 3> valeurs(double D, int pas = dz::PasMarqueurNormal)
{
    const auto g = dz::geometrie(629, 245, D);
    const auto c = dz::calculeCourbes(g, dz::colonneMarqueur(g, pas));
    return {c.valeurs[0].value(), c.valeurs[1].value(), c.valeurs[2].value()};
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void valeursLues_data()
    {
        QTest::addColumn<double>("D");
        QTest::addColumn<int>("intel");
        QTest::addColumn<int>("emoti");
        QTest::addColumn<int>("physi");
        QTest::newRow("0") << 0.0 << 0 << 0 << 0;
        QTest::newRow("1") << 1.0 << 9 << 11 << 13;
        QTest::newRow("-1") << -1.0 << -10 << -11 << -14;
        QTest::newRow("23") << 23.0 << -47 << -45 << 0;
        QTest::newRow("28") << 28.0 << -41 << 0 << 49;
        QTest::newRow("33") << 33.0 << 0 << 45 << 20;
        QTest::newRow("759") << 759.0 << 0 << 31 << 0;
        QTest::newRow("8737") << 8737.0 << -50 << 11 << -37;
        QTest::newRow("12555") << 12555.0 << 15 << 32 << -37;
        QTest::newRow("-3") << -3.0 << -27 << -31 << -37;
    }
    void valeursLues()
    {
        QFETCH(double, D);
        QFETCH(int, intel);
        QFETCH(int, emoti);
        QFETCH(int, physi);
        const auto v = valeurs(D);
        QCOMPARE(v[0], intel);
        QCOMPARE(v[1], emoti);
        QCOMPARE(v[2], physi);
    }

    void physiqueAtteint50() { QCOMPARE(valeurs(6)[2], 50); }

    void valeursBornees()
    {
        int mini = 0, maxi = 0;
        for (int D = -400; D <= 40000; D += 7) {
            for (int v : valeurs(D)) {
                mini = std::min(mini, v);
                maxi = std::max(maxi, v);
            }
        }
        QCOMPARE(mini, -50);
        QCOMPARE(maxi, 50);
    }

    void geometrieDuGraphique()
    {
        const auto g = dz::geometrie(629, 245, 0);
        QCOMPARE(dz::colonneMarqueur(g, dz::PasMarqueurNormal), 304);
        QCOMPARE(dz::colonneMarqueur(g, dz::PasMarqueurTerme), 590);
        const auto lignes = dz::lignesJours(g);
        QCOMPARE(lignes.size(), std::size_t{33});
        QVERIFY(lignes.back() < 629 && lignes.back() > 628.99);
        QCOMPARE(g.Y0, 122.5);
        QVERIFY(std::abs(g.Diviseur[0] - 100.108459) < 1e-6);
        QVERIFY(std::abs(g.Diviseur[1] - 84.940511) < 1e-6);
        QVERIFY(std::abs(g.Diviseur[2] - 69.772562) < 1e-6);
        // 630 columns, the last at X0 + 629
        QCOMPARE(dz::calculeCourbes(g, 304).y.size(), std::size_t{630});
    }

    void niveaux_data()
    {
        QTest::addColumn<int>("valeur");
        QTest::addColumn<int>("niveau");
        const std::pair<int, int> cas[] = {{-50, 0}, {-40, 0}, {-39, 1}, {-20, 1}, {-19, 2}, {-5, 2},
                                           {-4, 3}, {5, 3}, {6, 4}, {20, 4}, {21, 5}, {40, 5},
                                           {41, 6}, {50, 6}};
        for (auto [v, n] : cas)
            QTest::newRow(qPrintable(QString::number(v))) << v << n;
    }
    void niveaux()
    {
        QFETCH(int, valeur);
        QFETCH(int, niveau);
        QCOMPARE(dz::niveau(valeur), niveau);
    }

    void formatJours_data()
    {
        QTest::addColumn<double>("jours");
        QTest::addColumn<QString>("texte");
        QTest::newRow("0") << 0.0 << " 0";
        QTest::newRow("800") << 800.0 << " 800";
        QTest::newRow("12345") << 12345.0 << "12 345";
        QTest::newRow("1234567") << 1234567.0 << "1234 567";
        QTest::newRow("-3") << -3.0 << "- 3";
        QTest::newRow("-12345") << -12345.0 << "-12 345";
    }
    void formatJours()
    {
        QFETCH(double, jours);
        QFETCH(QString, texte);
        QCOMPARE(QString::fromStdString(dz::formatJours(jours)), texte);
    }

    void textes()
    {
        QCOMPARE(dz::texteEtiquette(0, 15), std::string("Intellectuel : 15"));
        QCOMPARE(dz::texteEtiquette(1, -3), std::string("Emotionnel : -3"));
        QCOMPARE(dz::texteEtiquette(2, 0), std::string("Physique :    0"));
        QCOMPARE(dz::texteAfich(-37), std::string("-37 ( Min -50, Max +50)"));
        QCOMPARE(dz::texteJoursVecus(12555), std::string("12 555 jours de vie"));
        QCOMPARE(dz::texteJoursVecus(0), std::string(" 0 jours de vie"));
        QCOMPARE(dz::texteAge(34), std::string(" 34 Ans"));
        QCOMPARE(dz::texteAge(0), std::string(" 0 Ans"));
        QCOMPARE(dz::texteAge(-1), std::string("-1 Ans"));
    }

    void joursEtAges_data()
    {
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("calcul");
        QTest::addColumn<int>("jours");
        QTest::addColumn<int>("age");
        QTest::newRow("exemple") << "01/01/1970" << "17/05/2004" << 12555 << 34;
        QTest::newRow("anniversaire pas encore") << "20/05/1970" << "17/05/2004" << 12416 << 34;
        QTest::newRow("29 fevrier") << "29/02/2000" << "01/03/2000" << 1 << 0;
        QTest::newRow("egales") << "17/05/2004" << "17/05/2004" << 0 << 0;
        QTest::newRow("avant naissance") << "20/05/2004" << "17/05/2004" << -3 << 0;
        QTest::newRow("mois avant") << "20/07/2004" << "17/05/2004" << -64 << -1;
    }
    void joursEtAges()
    {
        QFETCH(QString, naissance);
        QFETCH(QString, calcul);
        QFETCH(int, jours);
        QFETCH(int, age);
        const auto n = dz::reconnaitDate(naissance.toStdString(), AnneeCourante).value();
        const auto c = dz::reconnaitDate(calcul.toStdString(), AnneeCourante).value();
        QCOMPARE(dz::joursEntre(n, c), long{jours});
        QCOMPARE(dz::ageAnnees(n, c), age);
    }

    void reconnaissance_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("attendu"); // empty: not a date
        QTest::newRow("complete") << "17/05/2004" << "17/05/2004";
        QTest::newRow("annee courte") << "17/05/04" << "17/05/2004";
        QTest::newRow("un chiffre") << "3/11/1975" << "03/11/1975";
        QTest::newRow("tirets") << "3-11-1975" << "03/11/1975";
        QTest::newRow("points") << "3.11.75" << "03/11/1975";
        QTest::newRow("blancs autour") << "  17/5/2004 " << "17/05/2004";
        QTest::newRow("fenetre 29") << "01/01/29" << "01/01/2029";
        QTest::newRow("fenetre 30") << "01/01/30" << "01/01/1930";
        QTest::newRow("fenetre 00") << "01/01/00" << "01/01/2000";
        QTest::newRow("fenetre 99") << "01/01/99" << "01/01/1999";
        QTest::newRow("bissextile") << "29/02/2024" << "29/02/2024";
        QTest::newRow("2000 bissextile") << "29/02/2000" << "29/02/2000";
        QTest::newRow("jour et mois") << "17/05" << "17/05/2026";
        QTest::newRow("annee 0100") << "01/01/0100" << "01/01/0100";
        QTest::newRow("annee 9999") << "31/12/9999" << "31/12/9999";
        QTest::newRow("31 avril") << "31/04/2024" << "";
        QTest::newRow("29/02 commune") << "29/02/2023" << "";
        QTest::newRow("1900 commune") << "29/02/1900" << "";
        QTest::newRow("jour 00") << "00/05/2004" << "";
        QTest::newRow("mois 13") << "01/13/2004" << "";
        QTest::newRow("vide") << "" << "";
        QTest::newRow("blancs") << "   " << "";
        QTest::newRow("lettres") << "demain" << "";
        QTest::newRow("fin en trop") << "17/05/2004x" << "";
        QTest::newRow("separateur final") << "17/05/" << "";
        QTest::newRow("annee 3 chiffres") << "17/05/204" << "";
        QTest::newRow("annee 0099") << "17/05/0099" << "";
        QTest::newRow("annee 5 chiffres") << "17/05/20040" << "";
        QTest::newRow("jour 3 chiffres") << "017/05/2004" << "";
        QTest::newRow("un seul nombre") << "17" << "";
        QTest::newRow("signe") << "-1/05/2004" << "";
    }
    void reconnaissance()
    {
        QFETCH(QString, texte);
        QFETCH(QString, attendu);
        const auto d = dz::reconnaitDate(texte.toStdString(), AnneeCourante);
        QCOMPARE(d ? QString::fromStdString(dz::ecritDate(*d)) : QString(), attendu);
    }

    void calendrier()
    {
        QCOMPARE(dz::ajouteMois(date(15, 3, 2024), 9), date(15, 12, 2024));
        QCOMPARE(dz::ajouteMois(date(31, 5, 2023), 9), date(29, 2, 2024));
        QCOMPARE(dz::ajouteMois(date(31, 5, 2022), 9), date(28, 2, 2023));
        QCOMPARE(dz::ajouteJours(date(17, 5, 2004), -16), date(1, 5, 2004));
        QCOMPARE(dz::jourSemaine(date(16, 5, 2004)), 7); // a Sunday
        QCOMPARE(dz::jourSemaine(date(17, 5, 2004)), 1); // a Monday
        QCOMPARE(dz::moisEntre(date(31, 12, 2000), date(1, 1, 2001)), 1);
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "test_core.moc"
