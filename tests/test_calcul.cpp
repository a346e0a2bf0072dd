// The chart side of the main window through its controls: the chart, day strip, labels, faces
// and probable-sex picture after Calcule, date edits, slider, near-term chart and blinking.

#include "chart/canevas.h"
#include "chart/trace.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
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

// The chart box as designed: 629 x 245 pixels outside, a drawing area of 627 x 243 inside.
constexpr double LargeurJour = 629.0 / 33;
constexpr int ColonneNormale = 304, ColonneTerme = 590; // floor(16 days), floor(31 days)
constexpr int LigneZero = 123;                          // 245 / 2, to the nearest pixel
constexpr double DerniereColonne = 626.5;               // the drawing area's right edge
constexpr double Amplitude = 245 / 2.2, Marge = 13; // value v is read at Marge + (50 - v) % of 2A

// Label i of a strip; 18 pixels from its left edge stay clear of the next label.
QImage cellule(const QImage& bande, int i)
{
    return bande.copy(arrondiDemiHaut(12 + i * LargeurJour), 0, 18, bande.height());
}

enum class Effet { Retrace, Calcul, Terme, Refus }; // what a gesture did besides

} // namespace

Q_DECLARE_METATYPE(Effet)

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
    // What a screen reader hears of a control.
    QString lu(const QString& nom, QAccessible::Text quoi = QAccessible::Name) const
    {
        return QAccessible::queryAccessibleInterface(c(nom))->text(quoi);
    }
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
        QCOMPARE(lu("AfichJour", QAccessible::Description),
                 "Jours du " + premier.toString("dd/MM/yyyy") + " au "
                     + premier.addDays(31).toString("dd/MM/yyyy"));
        const int M = w_->etat().ColonneDate;
        QCOMPARE(M, cachee("LblTerme") ? ColonneNormale : ColonneTerme);
        QCOMPARE(cachee("Slider1"), M == ColonneTerme);
        const QImage g = image("Image1");
        const QColor couleurs[3] = {QColor(0, 128, 0), QColor(0, 0, 128), QColor(128, 0, 0)};
        for (int y : {5, 238}) { // above and below the curves: the red marker and the frame
            for (int x = M - 2; x <= M + 4; ++x)
                QCOMPARE(g.pixelColor(x, y) == Qt::red, std::abs(x - M - 1) <= 2);
            QVERIFY(g.pixelColor(1, y) == Qt::black && g.pixelColor(0, y) != Qt::black);
        }
        QVERIFY(g.pixelColor(2, 1) == Qt::black && g.pixelColor(2, 0) != Qt::black); // top side
        const auto* zero = reinterpret_cast<const QRgb*>(g.constScanLine(LigneZero));
        QVERIFY(std::count(zero + 2, zero + g.width(), qRgb(0, 0, 0)) > 550);
        for (double x = LargeurJour; x < DerniereColonne;
             x += LargeurJour)                                             // day lines, accumulated
            if (const int l = arrondiDemiHaut(x); std::abs(l - M - 1) > 3) // but the marker's
                QVERIFY(g.pixelColor(l, 5) == couleurs[1] && g.pixelColor(l + 1, 5) != couleurs[1]);
        // Each value shown was read off its curve at the marker's column: the curve passes
        // there, unless a curve drawn after it, of the same value, covers it.
        const QList<int> v = valeurs();
        for (int k = 0; k < 3; ++k) {
            const int y = int(Marge + (50 - v[k]) * 2 * Amplitude / 100);
            bool passe = false;
            for (int ligne = y - 2; ligne <= y + 3; ++ligne)
                for (int j = k; j < 3; ++j)
                    passe |= g.pixelColor(M, ligne) == couleurs[j] && std::abs(v[j] - v[k]) <= 1;
            QVERIFY2(passe, qPrintable(QString::number(k)));
        }
    }
    QList<int> valeurs() const
    {
        QList<int> v;
        for (const char* nom : {"Etiquette5", "Etiquette6", "Etiquette7"})
            v << t(nom).section(':', 1).trimmed().toInt();
        return v;
    }

private slots:
    void init()
    {
        w_ = std::make_unique<Ondagramm>(fake_);
        auto* clignotement = c<QTimer>("Timer1"); // which the tests tick by hand
        QVERIFY(clignotement->isActive() && clignotement->interval() == 300);
        clignotement->stop();
        w_->show();
        calcule("16/01/2004");
        jours_ = image("AfichJour");
        QVERIFY(cellule(jours_, 0) != cellule(jours_, 1));
    }

    // From a Calcule on 17/05/2004, picture shown, Etiquette7 hidden as the blinking may leave it:
    // the gestures, then TxtDateP, the chart's date when it differs (the strip starts 15 days
    // before; a mere redraw keeps the day count), what else changed, and whether the caption
    // names the date.
    void graphique_data()
    {
        QTest::addColumn<Gestes>("gestes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("jour");
        QTest::addColumn<Effet>("effet");
        QTest::addColumn<bool>("legende");
        const auto row = [](const char* cas, const Gestes& g, const QString& date,
                            const QString& jour, Effet e, bool legende) {
            QTest::newRow(cas) << g << date << (jour.isEmpty() ? date : jour) << e << legende;
        };
        const QString terme = "TxtDGUS=20/04/2024", P = "TxtDateP=", j = "17/05/2004";
        using E = Effet;
        row("bissextile", {P + "10/03/2004", "Commande1"}, "10/03/2004", "", E::Calcul, true);
        row("terme", {terme, "Command2"}, "20/01/2025", "05/01/2025", E::Terme, false);
        row("terme, Calcule", {terme, "Command2", "Commande1"}, "20/01/2025", "", E::Calcul, true);
        row("terme vide", {"Command2"}, j, "", E::Refus, true);
        row("saisie", {P + "20/05/2004"}, "20/05/2004", "", E::Retrace, false);
        row("aujourd'hui", {P + "20/05/2004", "Command3"}, j, "", E::Retrace, false);
        row("curseur -16", {"Slider1:Home"}, "01/05/2004", "", E::Calcul, true);
        row("naissance impossible", {terme, "TxtDateN=31/02/1970", "Commande1"}, j, "", E::Calcul,
            true);
        row("date incomplète", {P + "17/05/2", "Commande1"}, "17/05/2", j, E::Calcul, false);
        row("visage, date incomplète", {P + "17/05/2", "Picture1_2:double"}, "17/05/2", j,
            E::Retrace, false);
        row("Entrée, année courte", {P + "17/05/04", "TxtDateN:Return"}, "17/05/04", j, E::Calcul,
            true);
        row("Entrée, mois court", {P + "17/5/2004", "TxtAP:Return"}, "17/5/2004", j, E::Calcul,
            true);
    }
    void graphique()
    {
        QFETCH(Gestes, gestes);
        QFETCH(QString, date);
        QFETCH(QString, jour);
        QFETCH(Effet, effet);
        QFETCH(bool, legende);
        calcule("17/05/2004");
        QCOMPARE(t("Etiquette5"), "Intellectuel : 15"); // the worked example: D = 12555
        QCOMPARE(t("Etiquette6"), "Emotionnel : 32");
        QCOMPARE(t("Etiquette7"), "Physique :    -37");
        QCOMPARE(t("AfichJourV"), "12 555 jours de vie");
        QCOMPARE(t("AfichAge"), " 34 Ans");
        fais("CmdSexe");
        c("Etiquette7")->hide();
        for (const QString& geste : gestes)
            fais(geste);
        QCOMPARE(t("TxtDateP"), date);
        const int D = effet == Effet::Retrace ? 12555 : QDate(1970, 1, 1).daysTo(lit(jour));
        QCOMPARE(w_->etat().JoursVecus, double(D));
        QCOMPARE(c<QObject>("Slider1")->property("value"), 0);
        QCOMPARE(cachee("Etiquette7"), effet == Effet::Retrace);
        QCOMPARE(cachee("PictSexe"), effet == Effet::Calcul || effet == Effet::Terme);
        if (effet == Effet::Calcul)
            QVERIFY(t("TxtDGUS").isEmpty() && t("TxtAP").isEmpty());
        QCOMPARE(t("CmdSexe"), legende ? "Sexe probable si conception le " + date : "Sexe");
        verifieGraphique(lit(jour).addDays(-15));
    }

    // Keys and wheel notches arriving faster than the redraws, each while the previous one's
    // redraw lets events run: each moves the date by its own step, none lost, none counted twice.
    void rafale_data()
    {
        QTest::addColumn<int>("touche"); // 0: a wheel notch up
        QTest::addColumn<int>("nombre");
        QTest::addColumn<int>("jours");
        QTest::newRow("20 x droite") << int(Qt::Key_Right) << 20 << 20;
        QTest::newRow("7 x gauche") << int(Qt::Key_Left) << 7 << -7;
        QTest::newRow("4 x page") << int(Qt::Key_PageUp) << 4 << 20;
        QTest::newRow("6 crans") << 0 << 6 << 6 * QApplication::wheelScrollLines();
    }
    void rafale()
    {
        QFETCH(int, touche);
        QFETCH(int, nombre);
        calcule("17/05/2004");
        QWidget* curseur = c("Slider1");
        const QPointF milieu = curseur->rect().center();
        const auto envoie = [&] {
            QKeyEvent cle(QEvent::KeyPress, touche, {});
            QWheelEvent cran(milieu, curseur->mapToGlobal(milieu), {}, QPoint(0, 120), {}, {},
                             Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(curseur, touche ? static_cast<QEvent*>(&cle) : &cran);
        };
        int restants = nombre - 1;
        fake_.pendantPompe = [&] {
            if (restants > 0) {
                --restants;
                envoie();
            }
        };
        envoie();
        fake_.pendantPompe = nullptr;
        QCOMPARE(restants, 0);
        QFETCH(int, jours);
        QCOMPARE(t("TxtDateP"), lit("17/05/2004").addDays(jours).toString("dd/MM/yyyy"));
        QCOMPARE(c<QObject>("Slider1")->property("value"), 0);
    }

    // No road writes a date past the calendar's ends, which the program could not read back.
    void calendrier()
    {
        for (const auto& [date, touche] :
             {std::pair{"31/12/9999", Qt::Key_Right}, {"01/01/0100", Qt::Key_Left}}) {
            calcule(date);
            fais(QString("Slider1:") + QKeySequence(touche).toString());
            QCOMPARE(t("TxtDateP"), date);
            QCOMPARE(c<QObject>("Slider1")->property("value"), 0);
        }
        c<QLineEdit>("TxtDGUS")->setText("31/03/9999");
        QCOMPARE(t("TxtAP"), "31/12/9999");
        c<QLineEdit>("TxtDGUS")->setText("01/04/9999"); // its term would be 01/01/10000
        QCOMPARE(t("TxtAP"), "31/12/9999");
    }

    // Faces: up to -40 level 0, -20 1, -5 2, 5 3, 20 4, 40 5, else 6. Picture: P > 0 >= E a
    // boy, P <= 0 < E a girl, P > E > 0 rather a boy, P < E < 0 rather a girl, else the last one.
    void etiquettes_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QList<int>>("valeurs"); // pinned; 02/01/1970 is the worked example D = 1
        QTest::addColumn<QList<int>>("niveaux");
        QTest::addColumn<Cachees>("paire");
        QTest::addColumn<QString>("sexe"); // the picture's source; empty: the previous one stays
        const auto row = [](const char* date, QList<int> v, QList<int> n, Cachees c,
                            const char* s) {
            QTest::newRow(date) << QString(date) << v << n << c << QString(s);
        };
        row("21/11/2002", {0, 0, 50}, {3, 3, 6}, {1, 1, 0}, "Pictgarcon");
        row("24/02/2003", {-35, 32, 32}, {1, 5, 5}, {0, 1, 1}, "");
        row("04/01/2003", {44, -21, 44}, {6, 1, 6}, {1, 0, 1}, "Pictgarcon");
        row("29/11/2004", {32, 32, 32}, {5, 5, 5}, Cachees(3), "");
        row("13/01/1970", {38, 23, -6}, {5, 5, 2}, Cachees(3), "PictFille");
        row("26/04/1970", {5, 32, 0}, {3, 5, 3}, Cachees(3), "PictFille");
        row("02/01/1970", {9, 11, 13}, {4, 4, 4}, Cachees(3), "PictPGarcon");
        row("17/01/1970", {6, -21, -47}, {4, 1, 0}, Cachees(3), "PictPFille");
        row("26/03/1970", {-13, 0, -40}, {2, 3, 0}, Cachees(3), "");
    }
    void etiquettes()
    {
        QFETCH(QString, date);
        QFETCH(QList<int>, niveaux);
        QFETCH(Cachees, paire);
        QFETCH(QString, sexe);
        calcule(sexe == "Pictgarcon" ? "13/01/1970"
                                     : "04/01/2003"); // a picture the rule won't pick
        const QImage avant = visage("PictSexe");
        calcule(date);
        QTEST(valeurs(), "valeurs");
        verifieGraphique(lit(date).addDays(-15));
        const QString humeurs[3] = {"Humeur intellectuelle", "Humeur émotionnelle",
                                    "Humeur physique"};
        const QString visages[7] = {"furieux",  "triste", "un peu triste", "grimaçant",
                                    "souriant", "joyeux", "hilare"};
        for (int k = 0; k < 3; ++k) {
            const QString humeur = QStringLiteral("Picture1_%1").arg(k + 1);
            for (int n = 0; n < 7; ++n)
                QCOMPARE(visage(humeur) == visage(QStringLiteral("Picture2_%1").arg(n)),
                         n == niveaux[k]);
            QCOMPARE(lu(humeur), humeurs[k] + " : visage " + visages[niveaux[k]]);
        }
        const QString annonceAvant = lu("PictSexe");
        fais("CmdSexe");
        const QImage attendue = sexe.isEmpty() ? avant : visage(sexe);
        QCOMPARE(visage("PictSexe"), attendue);
        QVERIFY(sexe.isEmpty() || attendue != avant);
        const QStringList sources{"Pictgarcon", "PictFille", "PictPGarcon", "PictPFille"},
            reponses{"Garçon", "Fille", "Plutôt Garçon", "Plutôt Fille"};
        QCOMPARE(lu("PictSexe"), sexe.isEmpty()
                                     ? annonceAvant
                                     : "Sexe probable : " + reponses[sources.indexOf(sexe)]);
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
