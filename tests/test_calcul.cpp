// The chart side of the main window, driven through its controls: what the chart and the
// day strip show, and what Calcule, the date edits, the slider and the blinking do.

#include "chart/canevas.h"
#include "chart/trace.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using Valeurs = QList<int>;

Valeurs valeursAuJour(double D)
{
    const auto v = dz::calculeCourbes(dz::geometrie(629, 245, D), 304).valeurs;
    return {v[0].value(), v[1].value(), v[2].value()};
}

// First day count whose values fit; the cycles repeat within 21,252 days.
int jourOu(const std::function<bool(const Valeurs&)>& critere)
{
    for (int D = 0; D < 21252; ++D)
        if (critere(valeursAuJour(D)))
            return D;
    return -1;
}

// Label i of a strip, from its left edge; 18 pixels stay clear of the next label.
QImage cellule(const QImage& bande, int i)
{
    double x = 12;
    for (int n = 0; n < i; ++n)
        x += 629.0 / 33;
    return bande.copy(chart::pixel(x), 0, 18, bande.height());
}

} // namespace

class TestCalcul : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlateforme> fake_;
    std::unique_ptr<Ondagramm> w_;

    template <class T = QWidget> T* c(const QString& nom) const { return w_->findChild<T*>(nom); }
    QString t(const QString& nom) const { return c<QObject>(nom)->property("text").toString(); }
    bool cachee(const QString& nom) const { return c(nom)->isHidden(); }
    QImage image(const QString& nom) const { return c<Canevas>(nom)->image(); }
    QImage visage(const QString& nom) const { return c<QLabel>(nom)->pixmap().toImage(); }
    QColor px(int x, int y) const { return image("Image1").pixelColor(x, y); }
    void clic(const QString& nom) { QTest::mouseClick(c(nom), Qt::LeftButton); }
    void tape(const QString& nom, const QString& texte)
    {
        QTest::keyClick(c(nom), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(c(nom), Qt::Key_Delete);
        QTest::keyClicks(c(nom), texte);
    }
    void calcule(const QString& naissance, const QString& date)
    {
        tape("TxtDateN", naissance);
        tape("TxtDateP", date);
        clic("Commande1");
    }
    void calculeJours(int D) // born on 01/01/2000
    {
        calcule("01/01/2000", QDate(2000, 1, 1).addDays(D).toString("dd/MM/yyyy"));
    }
    Valeurs affichees() const
    {
        Valeurs v;
        for (const char* nom : {"Etiquette5", "Etiquette6", "Etiquette7"})
            v << t(nom).section(':', 1).trimmed().toInt();
        return v;
    }
    // No curve of the current chart passes within two pixels of (x, y).
    bool libre(int x, int y) const
    {
        const auto courbes = dz::calculeCourbes(dz::geometrie(629, 245, w_->etat().JoursVecus), 304);
        for (int j = std::max(0, x - 1); j <= x + 1; ++j)
            for (double yk : courbes.y[static_cast<std::size_t>(j)])
                if (std::abs(chart::pixel(yk) - y) <= 2)
                    return false;
        return true;
    }
    int ligneLibre(int x) const
    {
        for (int y : {5, 40, 80, 160, 200, 238})
            if (libre(x, y))
                return y;
        return -1;
    }

private slots:
    void init()
    {
        fake_ = std::make_unique<FakePlateforme>();
        w_ = std::make_unique<Ondagramm>(*fake_);
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() { w_.reset(); fake_.reset(); }

    void cadre_data()
    {
        QTest::addColumn<bool>("terme");
        QTest::addColumn<int>("premiere"); // first red column
        QTest::newRow("normal") << false << 303;
        QTest::newRow("terme") << true << 589;
    }
    void cadre()
    {
        QFETCH(bool, terme); QFETCH(int, premiere);
        calcule("01/01/1990", "17/05/2004");
        if (terme) {
            tape("TxtDGUS", "20/04/2024");
            clic("Command2");
        }
        QCOMPARE(w_->etat().ColonneDate, premiere + 1);
        QCOMPARE(c("LblTerme")->isVisible(), terme);
        QCOMPARE(c("Slider1")->isVisible(), !terme);
        for (int x = premiere - 1; x <= premiere + 5; ++x)
            QCOMPARE(px(x, ligneLibre(x)) == QColor(255, 0, 0), x >= premiere && x < premiere + 5);
        int vus = 0; // left side of the frame at x = 1
        for (int y = 2; y < 243; ++y)
            if (libre(1, y) && ++vus)
                QVERIFY(px(1, y) == QColor(0, 0, 0) && px(0, y) != QColor(0, 0, 0));
        QVERIFY(vus > 200);
        double t = 0; // day lines at the accumulated positions
        for (int n = 1; n <= 33; ++n) {
            const int x = chart::pixel(t += 629.0 / 33), y = ligneLibre(x);
            if (x < 627 && std::abs(x - premiere - 2) > 3) {
                QCOMPARE(px(x, y), QColor(0, 0, 128));
                QVERIFY(px(x - 1, y) != px(x, y) && px(x + 1, y) != px(x, y));
            }
        }
    }

    void courbesALaColonne_data()
    {
        QTest::addColumn<int>("D");
        QTest::addColumn<Valeurs>("valeurs");
        QTest::newRow("28") << 28 << Valeurs{-41, 0, 49};
        QTest::newRow("33") << 33 << Valeurs{0, 45, 20};
        QTest::newRow("8737") << 8737 << Valeurs{-50, 11, -37};
        for (int D = 0;; ++D) { // intellectual and emotional on the same pixel: the latter wins
            const auto y = dz::calculeCourbes(dz::geometrie(629, 245, D), 304).y[304];
            if (chart::pixel(y[0]) == chart::pixel(y[1]) && std::abs(y[2] - y[1]) > 5) {
                QTest::newRow("croisement") << D << valeursAuJour(D);
                break;
            }
        }
    }
    void courbesALaColonne()
    {
        QFETCH(int, D); QFETCH(Valeurs, valeurs);
        calculeJours(D);
        QCOMPARE(affichees(), valeurs);
        const auto y = dz::calculeCourbes(dz::geometrie(629, 245, D), 304).y[304];
        const QColor couleurs[3] = {QColor(0, 128, 0), QColor(0, 0, 128), QColor(128, 0, 0)};
        for (std::size_t k = 0; k < 3; ++k) {
            std::size_t dernier = k; // curves drawn later cover it where they share its pixel
            for (std::size_t autre = k + 1; autre < 3; ++autre)
                if (chart::pixel(y[autre]) == chart::pixel(y[k]))
                    dernier = autre;
            QCOMPARE(px(304, chart::pixel(y[k])), couleurs[dernier]);
        }
    }

    void bande_data()
    {
        QTest::addColumn<QString>("dgus"); // a reference date switches to the near-term chart
        QTest::addColumn<QString>("date");
        QTest::addColumn<Valeurs>("jours");
        QTest::newRow("bissextile") << "" << "10/03/2004"
                                    << Valeurs{24, 25, 26, 27, 28, 29, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("commune") << "" << "10/03/2003" << Valeurs{23, 24, 25, 26, 27, 28, 1, 2};
        Valeurs terme; // term 20/01/2025: from 30 days before to the day after
        for (int j = 21; j <= 52; ++j)
            terme << (j > 31 ? j - 31 : j);
        QTest::newRow("terme") << "20/04/2024" << "17/05/2004" << terme;
    }
    void bande()
    {
        QFETCH(QString, dgus); QFETCH(QString, date); QFETCH(Valeurs, jours);
        calcule("01/01/1970", "16/01/2004"); // labels 01 to 31 from the first
        const QImage reference = image("AfichJour");
        QVERIFY(cellule(reference, 0) != cellule(reference, 1));
        tape("TxtDateP", date);
        if (!dgus.isEmpty()) {
            tape("TxtDGUS", dgus);
            clic("Command2");
        }
        for (int i = 0; i < jours.size(); ++i)
            QCOMPARE(cellule(image("AfichJour"), i), cellule(reference, jours[i] - 1));
    }

    void saisieRetraceSansRecompter()
    {
        tape("TxtDateN", "01/01/1970"); // before any Calcule: no day count yet
        QCOMPARE(affichees(), (Valeurs{0, 0, 0}));
        QCOMPARE(t("AfichJourV"), " 0 jours de vie");
        QCOMPARE(t("AfichAge"), " 34 Ans");
        QVERIFY(c("Picture1_1")->isVisible());
        clic("Commande1");
        const QImage courbes = image("Image1"), bande = image("AfichJour");
        tape("TxtDateP", "20/05/2004");
        QCOMPARE(t("CmdSexe"), "Sexe");
        QCOMPARE(image("Image1"), courbes);
        QCOMPARE(affichees(), (Valeurs{15, 32, -37}));
        QCOMPARE(t("AfichJourV"), "12 555 jours de vie");
        for (int i = 0; i + 3 < 32; ++i)
            QCOMPARE(cellule(image("AfichJour"), i), cellule(bande, i + 3));
        clic("Command3");
        QCOMPARE(t("TxtDateP"), "17/05/2004");
        QCOMPARE(image("AfichJour"), bande);
        fake_->aujourdhuiFixe = QDate(2011, 8, 3);
        clic("Command3");
        QCOMPARE(t("TxtDateP"), "03/08/2011");
    }

    void calculeAffiche_data()
    {
        QTest::addColumn<QString>("champ"); // where Enter is pressed; empty: the button
        QTest::addColumn<QString>("date");
        QTest::newRow("bouton") << "" << "17/05/2004";
        QTest::newRow("Entrée, année courte") << "TxtDateN" << "17/05/04";
        QTest::newRow("Entrée, mois court") << "TxtAP" << "17/5/2004";
    }
    void calculeAffiche()
    {
        QFETCH(QString, champ); QFETCH(QString, date);
        tape("TxtDateN", "01/01/1970");
        tape("TxtDateP", date);
        if (champ.isEmpty())
            clic("Commande1");
        else
            QTest::keyClick(c(champ), Qt::Key_Return);
        QCOMPARE(t("Etiquette5"), "Intellectuel : 15");
        QCOMPARE(t("Etiquette6"), "Emotionnel : 32");
        QCOMPARE(t("Etiquette7"), "Physique :    -37");
        QCOMPARE(t("AfichPhysi"), "-37 ( Min -50, Max +50)");
        QCOMPARE(t("AfichJourV"), "12 555 jours de vie");
        QCOMPARE(t("AfichAge"), " 34 Ans");
        QCOMPARE(t("MerMamm"), " Né(e) le:01/01/1970");
        QCOMPARE(t("CmdSexe"), "Sexe probable si conception le " + date);
        QCOMPARE(visage("Picture1_1"), visage("Picture2_4"));
        QCOMPARE(visage("Picture1_2"), visage("Picture2_5"));
        QCOMPARE(visage("Picture1_3"), visage("Picture2_1"));
    }

    void visages_data()
    {
        QTest::addColumn<int>("V");
        QTest::addColumn<int>("L");
        for (auto [V, L] : {std::pair{-40, 0}, {-39, 1}, {-19, 2}, {-4, 3}, {5, 3}, {6, 4},
                            {20, 4}, {21, 5}, {40, 5}, {41, 6}, {50, 6}})
            QTest::addRow("%d", V) << V << L;
    }
    void visages()
    {
        QFETCH(int, V); QFETCH(int, L);
        const int D = jourOu([V](const Valeurs& v) { return v.contains(V); });
        calculeJours(D);
        const QImage face = visage(QStringLiteral("Picture1_%1").arg(valeursAuJour(D).indexOf(V) + 1));
        for (int autre = 0; autre < 7; ++autre)
            QCOMPARE(face == visage(QStringLiteral("Picture2_%1").arg(autre)), autre == L);
    }

    void calculeDateInvalide_data()
    {
        QTest::addColumn<QString>("champ");
        QTest::addColumn<QString>("saisie");
        QTest::newRow("naissance impossible") << "TxtDateN" << "31/02/1970";
        QTest::newRow("naissance vide") << "TxtDateN" << "";
        QTest::newRow("date en cours de saisie") << "TxtDateP" << "17/05/2";
    }
    void calculeDateInvalide()
    {
        QFETCH(QString, champ); QFETCH(QString, saisie);
        calcule("01/01/1970", "17/05/2004");
        clic("CmdSexe");
        tape("TxtDGUS", "15/03/2004");
        c("Etiquette6")->hide(); // as the blinking may leave it
        tape(champ, saisie);
        const QString legende = t("CmdSexe");
        const dz::Etat avant = w_->etat();
        const QImage courbes = image("Image1");
        clic("Commande1");
        QVERIFY(!cachee("Etiquette6") && cachee("PictSexe"));
        QVERIFY(t("TxtDGUS").isEmpty() && t("TxtAP").isEmpty());
        QCOMPARE(t("CmdSexe"), legende);
        QCOMPARE(w_->etat().JoursVecus, avant.JoursVecus);
        QVERIFY(w_->etat().DateNaissance == avant.DateNaissance && w_->etat().DateCalcul == avant.DateCalcul);
        QCOMPARE(image("Image1"), courbes);
    }

    void curseur_data()
    {
        QTest::addColumn<int>("touche"); // 0: the thumb dragged and dropped
        QTest::addColumn<int>("p");
        QTest::addColumn<QString>("date");
        QTest::newRow("page +5") << int(Qt::Key_PageUp) << 5 << "22/05/2004";
        QTest::newRow("début -16") << int(Qt::Key_Home) << -16 << "01/05/2004";
        QTest::newRow("fin +17") << int(Qt::Key_End) << 17 << "03/06/2004";
        QTest::newRow("glissé -1") << 0 << -1 << "16/05/2004";
    }
    void curseur()
    {
        QFETCH(int, touche); QFETCH(int, p); QFETCH(QString, date);
        calcule("01/01/1970", "17/05/2004");
        c("Etiquette7")->hide();
        auto* curseur = c<QSlider>("Slider1");
        if (touche) {
            QTest::keyClick(curseur, Qt::Key(touche));
        } else {
            curseur->setSliderDown(true);
            curseur->setSliderPosition(p);
            curseur->setSliderDown(false);
        }
        QCOMPARE(curseur->value(), 0);
        QCOMPARE(t("TxtDateP"), date);
        QCOMPARE(w_->etat().JoursVecus, 12555.0 + p);
        QCOMPARE(affichees(), valeursAuJour(12555 + p));
        QVERIFY(!cachee("Etiquette7"));
    }

    void clignotement_data()
    {
        QTest::addColumn<int>("D");
        QTest::addColumn<Valeurs>("paire"); // the labels that blink
        using V = const Valeurs&;
        QTest::newRow("I = E") << jourOu([](V v) { return v[0] == v[1] && v[1] != v[2]; }) << Valeurs{0, 1};
        QTest::newRow("E = P") << jourOu([](V v) { return v[1] == v[2] && v[0] != v[2]; }) << Valeurs{1, 2};
        QTest::newRow("I = P") << jourOu([](V v) { return v[0] == v[2] && v[1] != v[2]; }) << Valeurs{0, 2};
        QTest::newRow("égales") << jourOu([](V v) { return v[0] == v[1] && v[1] == v[2]; }) << Valeurs{};
        QTest::newRow("différentes") << 12555 << Valeurs{};
    }
    void clignotement()
    {
        QFETCH(int, D); QFETCH(Valeurs, paire);
        calculeJours(D);
        auto* minuterie = c<QTimer>("Timer1");
        QList<QList<bool>> cachees; // after each tick
        QObject garde;
        connect(minuterie, &QTimer::timeout, &garde, [&] {
            cachees << QList<bool>{cachee("Etiquette5"), cachee("Etiquette6"), cachee("Etiquette7")};
        });
        minuterie->setInterval(5);
        QTRY_VERIFY(cachees.size() >= 4);
        for (int i = 1; i < 4; ++i) {
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(cachees[i][k] != cachees[i - 1][k], paire.contains(k));
                QCOMPARE(cachees[i][k], paire.contains(k) && cachees[i][paire[0]]);
            }
        }
    }

    void etiquetteCacheeResteCachee()
    {
        calculeJours(jourOu([](const Valeurs& v) { return v[0] == v[1] && v[1] != v[2]; }));
        auto* minuterie = c<QTimer>("Timer1");
        QObject garde;
        connect(minuterie, &QTimer::timeout, &garde, [&] {
            if (cachee("Etiquette5"))
                minuterie->stop();
        });
        minuterie->setInterval(5);
        QTRY_VERIFY(!minuterie->isActive());
        tape("TxtDateP", "20/05/2004");
        QTest::mouseDClick(c("Picture1_1"), Qt::LeftButton);
        QVERIFY(cachee("Etiquette5") && cachee("Etiquette6"));
        clic("Commande1");
        QVERIFY(!cachee("Etiquette5") && !cachee("Etiquette6"));
    }

    void doubleClicPendantLaSaisie()
    {
        calcule("01/01/1970", "17/05/2004");
        tape("TxtDateP", "17/05/2");
        const QImage courbes = image("Image1"), bande = image("AfichJour");
        const int pompes = fake_->pompes;
        QTest::mouseDClick(c("Picture1_2"), Qt::LeftButton);
        QCOMPARE(fake_->pompes, pompes); // not a date: the chart stays
        QCOMPARE(image("Image1"), courbes);
        QCOMPARE(image("AfichJour"), bande);
        QTest::keyClicks(c("TxtDateP"), "004");
        const int retraces = fake_->pompes;
        QTest::mouseDClick(c("Picture1_2"), Qt::LeftButton);
        QCOMPARE(fake_->pompes, retraces + 1);
    }
};

QTEST_MAIN(TestCalcul)
#include "test_calcul.moc"
