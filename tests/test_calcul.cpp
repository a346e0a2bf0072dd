// The chart side of the main window through its controls: the chart, day strip, labels, faces
// and probable-sex picture after Calcule, date edits, slider, near-term chart and blinking.

#include "chart/canevas.h"
#include "chart/trace.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace dz;

namespace {

using Cachees = QList<bool>;
using Gestes = QStringList;

QDate lit(const QString& date) { return QDate::fromString(date, "dd/MM/yyyy"); }

// Label i of a strip; 18 pixels from its left edge stay clear of the next label.
QImage cellule(const QImage& bande, int i)
{
    return bande.copy(pixel(12 + i * 629.0 / 33), 0, 18, bande.height());
}

constexpr int Retrace = 0, Calcul = 1, Terme = 2, Refus = 3; // what a gesture did besides

} // namespace

class TestCalcul : public QObject {
    Q_OBJECT
    FakePlateforme fake_; // today is 17/05/2004
    std::unique_ptr<Ondagramm> w_;
    QImage jours_; // the day strip from 01/01/2004: labels 01 to 31, then 01

    template <class T = QWidget>
    T* c(const QString& nom) const
    {
        return w_->findChild<T*>(nom);
    }
    QString t(const QString& nom) const { return c<QObject>(nom)->property("text").toString(); }
    bool cachee(const QString& nom) const { return c(nom)->isHidden(); }
    QImage image(const QString& nom) const { return c<Canevas>(nom)->image(); }
    QImage visage(const QString& nom) const { return c<QLabel>(nom)->pixmap().toImage(); }
    Cachees cachees() const
    {
        return {cachee("Etiquette5"), cachee("Etiquette6"), cachee("Etiquette7")};
    }
    // "Nom=texte" types, "Nom:double" double-clicks, "Nom:Touche" presses a key, else a click.
    void fais(const QString& geste)
    {
        const QString nom = geste.section(QRegularExpression("[=:]"), 0, 0);
        const QString suite = geste.mid(nom.size() + 1);
        if (geste.contains('=')) {
            c<QLineEdit>(nom)->clear();
            QTest::keyClicks(c(nom), suite);
        } else if (suite == "double")
            QTest::mouseDClick(c(nom), Qt::LeftButton);
        else if (!suite.isEmpty())
            QTest::keyClick(c(nom), QKeySequence(suite)[0].key());
        else
            QTest::mouseClick(c(nom), Qt::LeftButton);
    }
    void calcule(const QString& date) // born on 01/01/1970
    {
        fais("TxtDateN=01/01/1970");
        fais("TxtDateP=" + date);
        fais("Commande1");
    }
    // The chart for the day count and the mode, and the strip of the 32 days from `premier`.
    void verifieGraphique(const QDate& premier)
    {
        for (int i = 0; i < 32; ++i)
            QCOMPARE(cellule(image("AfichJour"), i), cellule(jours_, premier.addDays(i).day() - 1));
        const int M = w_->etat().ColonneDate;
        QCOMPARE(M, cachee("LblTerme") ? 304 : 590);
        QCOMPARE(cachee("Slider1"), M == 590);
        const QImage g = image("Image1");
        const QColor couleurs[3] = {QColor(0, 128, 0), QColor(0, 0, 128), QColor(128, 0, 0)};
        for (int y : {5, 238}) { // above and below the curves: the red marker and the frame
            for (int x = M - 2; x <= M + 4; ++x)
                QCOMPARE(g.pixelColor(x, y) == Qt::red, std::abs(x - M - 1) <= 2);
            QVERIFY(g.pixelColor(1, y) == Qt::black && g.pixelColor(0, y) != Qt::black);
        }
        QVERIFY(g.pixelColor(2, 1) == Qt::black && g.pixelColor(2, 0) != Qt::black); // top side
        const auto* zero = reinterpret_cast<const QRgb*>(g.constScanLine(123)); // the zero line
        QVERIFY(std::count(zero + 2, zero + g.width(), qRgb(0, 0, 0)) > 550);
        for (double x = 629.0 / 33; x < 626.5; x += 629.0 / 33)  // day lines, accumulated
            if (const int l = pixel(x); std::abs(l - M - 1) > 3) // but the marker's
                QVERIFY(g.pixelColor(l, 5) == couleurs[1] && g.pixelColor(l + 1, 5) != couleurs[1]);
        const auto courbes = calculeCourbes(geometrie(629, 245, w_->etat().JoursVecus), M);
        QMap<int, QColor> attendu; // where curves share a pixel, the last drawn shows
        for (int k = 0; k < 3; ++k) {
            const QString etiquette = t(QStringLiteral("Etiquette%1").arg(k + 5));
            QCOMPARE(etiquette.section(':', 1).trimmed().toInt(), courbes.valeurs[k].value());
            attendu[pixel(courbes.y[M][k])] = couleurs[k];
        }
        for (auto [ligne, couleur] : attendu.asKeyValueRange())
            QCOMPARE(g.pixelColor(M, ligne), couleur);
    }

private slots:
    void init()
    {
        w_ = std::make_unique<Ondagramm>(fake_);
        QVERIFY(c<QTimer>("Timer1")->isActive()); // the blinking, which the tests tick by hand
        c<QTimer>("Timer1")->stop();
        w_->show();
        calcule("16/01/2004");
        jours_ = image("AfichJour");
        QVERIFY(cellule(jours_, 0) != cellule(jours_, 1));
    }

    // From a Calcule on 17/05/2004, picture shown, Etiquette7 hidden as the blinking may leave it:
    // the gestures, then TxtDateP, the chart's date (the strip starts 15 days before; a mere
    // redraw keeps the day count), what else changed, and whether the caption names the date.
    void graphique_data()
    {
        QTest::addColumn<Gestes>("gestes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("jour");
        QTest::addColumn<int>("effet");
        QTest::addColumn<bool>("legende");
        const QString terme = "TxtDGUS=20/04/2024", P = "TxtDateP=", j = "17/05/2004";
        QTest::newRow("bissextile") << Gestes{P + "10/03/2004", "Commande1"} << "10/03/2004"
                                    << "10/03/2004" << Calcul << true;
        QTest::newRow("terme") << Gestes{terme, "Command2"} << "20/01/2025"
                               << "05/01/2025" << Terme << false;
        QTest::newRow("terme, Calcule") << Gestes{terme, "Command2", "Commande1"} << "20/01/2025"
                                        << "20/01/2025" << Calcul << true;
        QTest::newRow("terme vide") << Gestes{"Command2"} << j << j << Refus << true;
        QTest::newRow("saisie") << Gestes{P + "20/05/2004"} << "20/05/2004"
                                << "20/05/2004" << Retrace << false;
        QTest::newRow("aujourd'hui")
            << Gestes{P + "20/05/2004", "Command3"} << j << j << Retrace << false;
        QTest::newRow("curseur +5") << Gestes{"Slider1:PgUp"} << "22/05/2004"
                                    << "22/05/2004" << Calcul << true;
        QTest::newRow("curseur -16") << Gestes{"Slider1:Home"} << "01/05/2004"
                                     << "01/05/2004" << Calcul << true;
        QTest::newRow("naissance impossible")
            << Gestes{terme, "TxtDateN=31/02/1970", "Commande1"} << j << j << Calcul << true;
        QTest::newRow("date incomplète")
            << Gestes{P + "17/05/2", "Commande1"} << "17/05/2" << j << Calcul << false;
        QTest::newRow("visage, date incomplète")
            << Gestes{P + "17/05/2", "Picture1_2:double"} << "17/05/2" << j << Retrace << false;
        QTest::newRow("Entrée, année courte")
            << Gestes{P + "17/05/04", "TxtDateN:Return"} << "17/05/04" << j << Calcul << true;
        QTest::newRow("Entrée, mois court")
            << Gestes{P + "17/5/2004", "TxtAP:Return"} << "17/5/2004" << j << Calcul << true;
    }
    void graphique()
    {
        QFETCH(Gestes, gestes);
        QFETCH(QString, date);
        QFETCH(QString, jour);
        QFETCH(int, effet);
        QFETCH(bool, legende);
        calcule("17/05/2004");
        QCOMPARE(t("Etiquette5"), "Intellectuel : 15");
        QCOMPARE(t("Etiquette6"), "Emotionnel : 32");
        QCOMPARE(t("Etiquette7"), "Physique :    -37");
        QCOMPARE(t("AfichJourV"), "12 555 jours de vie");
        QCOMPARE(t("AfichAge"), " 34 Ans");
        fais("CmdSexe");
        c("Etiquette7")->hide();
        for (const QString& geste : gestes)
            fais(geste);
        QCOMPARE(t("TxtDateP"), date);
        const int D = effet == Retrace ? 12555 : QDate(1970, 1, 1).daysTo(lit(jour));
        QCOMPARE(w_->etat().JoursVecus, double(D));
        QCOMPARE(c<QObject>("Slider1")->property("value"), 0);
        QCOMPARE(cachee("Etiquette7"), effet == Retrace);
        QCOMPARE(cachee("PictSexe"), effet == Calcul || effet == Terme);
        if (effet == Calcul)
            QVERIFY(t("TxtDGUS").isEmpty() && t("TxtAP").isEmpty());
        QCOMPARE(t("CmdSexe"), legende ? "Sexe probable si conception le " + date : "Sexe");
        verifieGraphique(lit(jour).addDays(-15));
    }

    // Row names: the values I E P. Faces: up to -40 level 0, -20 1, -5 2, 5 3, 20 4, 40 5, else 6.
    // Picture: P > 0 >= E 1, P <= 0 < E 2, P > E > 0 3, P < E < 0 4, otherwise the previous 0.
    void etiquettes_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QList<int>>("niveaux");
        QTest::addColumn<Cachees>("paire");
        QTest::addColumn<int>("sexe");
        QTest::newRow("0 0 50") << "21/11/2002" << QList<int>{3, 3, 6} << Cachees{1, 1, 0} << 1;
        QTest::newRow("-35 32 32") << "24/02/2003" << QList<int>{1, 5, 5} << Cachees{0, 1, 1} << 0;
        QTest::newRow("44 -21 44") << "04/01/2003" << QList<int>{6, 1, 6} << Cachees{1, 0, 1} << 1;
        QTest::newRow("32 32 32") << "29/11/2004" << QList<int>{5, 5, 5} << Cachees(3) << 0;
        QTest::newRow("38 23 -6") << "13/01/1970" << QList<int>{5, 5, 2} << Cachees(3) << 2;
        QTest::newRow("5 32 0") << "26/04/1970" << QList<int>{3, 5, 3} << Cachees(3) << 2;
        QTest::newRow("9 11 13") << "02/01/1970" << QList<int>{4, 4, 4} << Cachees(3) << 3;
        QTest::newRow("6 -21 -47") << "17/01/1970" << QList<int>{4, 1, 0} << Cachees(3) << 4;
        QTest::newRow("-13 0 -40") << "26/03/1970" << QList<int>{2, 3, 0} << Cachees(3) << 0;
    }
    void etiquettes()
    {
        QFETCH(QString, date);
        QFETCH(QList<int>, niveaux);
        QFETCH(Cachees, paire);
        QFETCH(int, sexe);
        const QString images[] = {"", "Pictgarcon", "PictFille", "PictPGarcon", "PictPFille"};
        calcule(sexe == 1 ? "13/01/1970" : "04/01/2003"); // a picture the rule would not choose
        const QImage avant = visage("PictSexe");
        calcule(date);
        verifieGraphique(lit(date).addDays(-15));
        for (int k = 0; k < 3; ++k) {
            const QImage face = visage(QStringLiteral("Picture1_%1").arg(k + 1));
            for (int n = 0; n < 7; ++n)
                QCOMPARE(face == visage(QStringLiteral("Picture2_%1").arg(n)), n == niveaux[k]);
        }
        fais("CmdSexe");
        const QImage attendue = sexe ? visage(images[sexe]) : avant;
        QCOMPARE(visage("PictSexe"), attendue);
        QVERIFY(sexe == 0 || attendue != avant);
        for (int tic = 1; tic <= 3; ++tic) {
            QMetaObject::invokeMethod(c<QTimer>("Timer1"), "timeout");
            QCOMPARE(cachees(), tic % 2 ? paire : Cachees(3, false));
        }
        fais("TxtDateP=20/05/2004"); // a redraw leaves the blinking labels hidden
        QCOMPARE(cachees(), paire);
    }
};

QTEST_MAIN(TestCalcul)
#include "test_calcul.moc"
