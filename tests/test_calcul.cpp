// The chart side of the main window through its controls: Calcule, date edits, the slider, the
// near-term chart, faces, probable sex and blinking. The chart and the day strip are compared
// whole with pictures checked once by eye; every number below was worked out from the design.

#include "chart/canevas.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace dz;

namespace {

using Cachees = QList<bool>;
using Gestes = QStringList;

// What a gesture did besides: only a redraw, the Calcule command, the near-term command, or
// the near-term command refused (the labels shown, nothing else).
enum class Effet { Retrace, Calcul, Terme, Refus };

// `image` against tests/references/<nom>.png, pixel for pixel. With DZ_REFERENCES=<folder> the
// picture is written there instead, to be looked at and kept.
QString difference(const QImage& image, const QString& nom)
{
    if (const QString dossier = qEnvironmentVariable("DZ_REFERENCES"); !dossier.isEmpty())
        return image.save(dossier + "/" + nom + ".png") ? QString() : "non écrite";
    const QImage attendue = QImage(":/references/" + nom + ".png").convertToFormat(image.format());
    if (attendue.size() != image.size())
        return QString("taille %1 x %2").arg(image.width()).arg(image.height());
    int differents = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            differents += image.pixel(x, y) != attendue.pixel(x, y);
    const QString copie = QDir::temp().filePath(nom + "-obtenue.png");
    return differents == 0 || !image.save(copie)
               ? QString()
               : QString("%1 pixels diffèrent (%2)").arg(differents).arg(copie);
}

} // namespace

Q_DECLARE_METATYPE(Effet)

class TestCalcul : public QObject {
    Q_OBJECT
    FakePlateforme fake_; // today is 17/05/2004
    std::unique_ptr<Ondagramm> w_;

    template <class T = QWidget>
    T* c(const QString& nom) const
    {
        return w_->findChild<T*>(nom);
    }
    QString t(const QString& nom) const { return c<QObject>(nom)->property("text").toString(); }
    bool cachee(const QString& nom) const { return c(nom)->isHidden(); }
    QImage visage(const QString& nom) const { return c<QLabel>(nom)->pixmap().toImage(); }
    QString lu(const QString& nom, QAccessible::Text quoi = QAccessible::Name) const
    {
        return QAccessible::queryAccessibleInterface(c(nom))->text(quoi);
    }
    Cachees cachees() const
    {
        return {cachee("Etiquette5"), cachee("Etiquette6"), cachee("Etiquette7")};
    }
    // "Nom=texte" types, "Nom>n" sets a slider, "Nom:double" double-clicks, "Nom:Touche"
    // presses a key, else a click.
    void fais(const QString& geste)
    {
        const QString nom = geste.section(QRegularExpression("[=:>]"), 0, 0);
        const QString suite = geste.mid(nom.size() + 1);
        if (geste[nom.size()] == '=') {
            c<QLineEdit>(nom)->clear();
            QTest::keyClicks(c(nom), suite);
        } else if (geste[nom.size()] == '>')
            c<QSlider>(nom)->setValue(suite.toInt());
        else if (suite == "double")
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
        const int activations = fake_.resemis;
        w_->show();
        QTRY_COMPARE(fake_.resemis, activations + 1); // the directory is listed
    }

    // Born 01/01/1970: on 17/05/2004 (D = 12,555), and near the term of 20/01/2025 reached from
    // a reference date of 20/04/2024 (D = 20,108 - 15), the values of the term date.
    void references_data()
    {
        QTest::addColumn<Gestes>("gestes");
        QTest::addColumn<QStringList>("textes"); // the value labels, days, age, name line
        QTest::newRow("normal") << Gestes{"Commande1"}
                                << QStringList{"Intellectuel : 15", "Emotionnel : 32",
                                               "Physique :    -37", "12 555 jours de vie",
                                               " 34 Ans",           "Jean Né(e) le:1/1/70"};
        QTest::newRow("terme") << Gestes{"TxtDGUS=20/04/2024", "Command2"}
                               << QStringList{"Intellectuel : 44", "Emotionnel : 39",
                                              "Physique :    50",  "20 093 jours de vie",
                                              " 55 Ans",           "Jean Né(e) le:1/1/70"};
    }
    void references()
    {
        QFETCH(Gestes, gestes);
        c<QComboBox>("CmbNom")->setEditText("Jean");
        fais("TxtDateN=1/1/70");
        for (const QString& geste : gestes)
            fais(geste);
        QStringList textes;
        for (const char* nom :
             {"Etiquette5", "Etiquette6", "Etiquette7", "AfichJourV", "AfichAge", "MerMamm"})
            textes << t(nom);
        QTEST(textes, "textes");
        const QString cas = QTest::currentDataTag();
        const QString graphe = difference(c<Canevas>("Image1")->image(), "graphe-" + cas);
        QVERIFY2(graphe.isEmpty(), qPrintable(graphe));
#ifndef Q_OS_WIN // Windows renders the strip's face with another engine
        const QString bande = difference(c<Canevas>("AfichJour")->image(), "bande-" + cas);
        QVERIFY2(bande.isEmpty(), qPrintable(bande));
#endif
    }

    // From a Calcule on 17/05/2004 (D = 12,555), the picture shown, Etiquette7 hidden as the
    // blinking may leave it and a term box not empty: the gestures, then TxtDateP, the day count
    // and values, the strip's first day, whether the chart is near-term, what else changed, and the
    // sex button.
    void routes_data()
    {
        QTest::addColumn<Gestes>("gestes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("D");
        QTest::addColumn<QList<int>>("valeurs");
        QTest::addColumn<QString>("bande");
        QTest::addColumn<Effet>("effet");
        QTest::addColumn<QString>("legende");
        const QString j = "17/05/2004", dgus = "TxtDGUS=20/04/2024",
                      P = "TxtDateP=", S = "Sexe probable si conception le ";
        const QList<int> v{15, 32, -37};
        const auto row = [](const char* cas, const Gestes& g, const QString& date, int D,
                            const QList<int>& v, const char* bande, Effet e, const QString& l) {
            QTest::newRow(cas) << g << date << D << v << QString(bande) << e << l;
        };
        using E = Effet;
        row("bissextile", {P + "10/03/2004", "Commande1"}, "10/03/2004", 12487, {32, -11, -26},
            "24/02/2004", E::Calcul, S + "10/03/2004");
        row("terme", {dgus, "Command2"}, "20/01/2025", 20093, {44, 39, 50}, "21/12/2024", E::Terme,
            "Sexe");
        row("terme, Calcule", {dgus, "Command2", "Commande1"}, "20/01/2025", 20108, {44, 39, 50},
            "05/01/2025", E::Calcul, S + "20/01/2025");
        row("terme vide", {"Command2"}, j, 12555, v, "02/05/2004", E::Refus, S + j);
        row("terme, naissance vide", {dgus, "TxtDateN=", "Command2"}, j, 12555, v, "02/05/2004",
            E::Refus, S + j);
        row("saisie", {P + "20/05/2004"}, "20/05/2004", 12555, v, "05/05/2004", E::Retrace, "Sexe");
        row("aujourd'hui", {P + "20/05/2004", "Command3"}, j, 12555, v, "02/05/2004", E::Retrace,
            "Sexe");
        row("curseur -16", {"Slider1:Home"}, "01/05/2004", 12539, {-10, -45, 44}, "16/04/2004",
            E::Calcul, S + "01/05/2004");
        row("curseur +5", {"Slider1>5"}, "22/05/2004", 12560, {-30, -21, 26}, "07/05/2004",
            E::Calcul, S + "22/05/2004");
        row("naissance impossible", {dgus, "TxtDateN=31/02/1970", "Commande1"}, j, 12555, v,
            "02/05/2004", E::Calcul, S + j);
        row("date incomplète", {P + "17/05/2", "Commande1"}, "17/05/2", 12555, v, "02/05/2004",
            E::Calcul, "Sexe");
        row("visage, date incomplète", {P + "17/05/2", "Picture1_2:double"}, "17/05/2", 12555, v,
            "02/05/2004", E::Retrace, "Sexe");
        row("curseur, date incomplète", {P + "17/05/2", "Slider1>5"}, "17/05/2", 12555, v,
            "02/05/2004", E::Calcul, "Sexe");
        row("Entrée, année courte", {P + "17/05/04", "TxtDateN:Return"}, "17/05/04", 12555, v,
            "02/05/2004", E::Calcul, S + "17/05/04");
        row("Entrée, mois court", {P + "17/5/2004", "TxtAP:Return"}, "17/5/2004", 12555, v,
            "02/05/2004", E::Calcul, S + "17/5/2004");
    }
    void routes()
    {
        QFETCH(Gestes, gestes);
        QFETCH(int, D);
        QFETCH(Effet, effet);
        calcule("17/05/2004");
        fais("CmdSexe");
        c("Etiquette7")->hide();
        c<QLineEdit>("TxtAP")->setText("?");
        for (const QString& geste : gestes)
            fais(geste);
        QTEST(t("TxtDateP"), "date");
        QCOMPARE(w_->etat().JoursVecus, double(D));
        QTEST(valeurs(), "valeurs");
        QTEST(lu("AfichJour", QAccessible::Description).section(' ', 2, 2), "bande");
        const bool terme = effet == Effet::Terme;
        QCOMPARE(w_->etat().ColonneDate, terme ? 590 : 304);
        QCOMPARE(cachee("LblTerme"), !terme);
        QCOMPARE(cachee("Slider1"), terme);
        QCOMPARE(c<QSlider>("Slider1")->value(), 0);
        QCOMPARE(cachee("Etiquette7"), effet == Effet::Retrace);
        QCOMPARE(cachee("PictSexe"), effet == Effet::Calcul || effet == Effet::Terme);
        QCOMPARE(t("TxtDGUS").isEmpty() && t("TxtAP").isEmpty(), effet == Effet::Calcul);
        QTEST(t("CmdSexe"), "legende");
    }

    // The picture is refused while a pregnancy box holds anything, even blanks.
    void sexeRefuse()
    {
        for (const char* boite : {"TxtAP", "TxtDGUS"}) {
            calcule("17/05/2004");
            c<QLineEdit>(boite)->setText(" ");
            fais("CmdSexe");
            QVERIFY2(cachee("PictSexe"), boite);
        }
    }

    // The term follows the reference date as it is typed, at each step that reads as a date
    // (15/03 alone is that day of this year, 15/03/20 is in 2020), and stays when it is erased.
    void termeTape()
    {
        QStringList termes;
        for (QChar ch : QString("15/03/2024")) {
            QTest::keyClicks(c("TxtDGUS"), ch);
            termes << t("TxtAP");
        }
        QCOMPARE(termes, QStringList({"", "", "", "", "15/12/2004", "15/12/2004", "15/12/2004",
                                      "15/12/2020", "15/12/2020", "15/12/2024"}));
        c<QLineEdit>("TxtDGUS")->clear();
        QCOMPARE(t("TxtAP"), "15/12/2024");
    }

    // Keys and wheel notches arriving faster than the redraws, each while the previous one's
    // redraw lets events run: each moves the date by its own step, none lost, none counted twice.
    void rafale_data()
    {
        QTest::addColumn<int>("touche"); // 0: a wheel notch up
        QTest::addColumn<int>("nombre");
        QTest::addColumn<QString>("date");
        QTest::newRow("20 x droite") << int(Qt::Key_Right) << 20 << "06/06/2004";
        QTest::newRow("7 x gauche") << int(Qt::Key_Left) << 7 << "10/05/2004";
        QTest::newRow("4 x page") << int(Qt::Key_PageUp) << 4 << "06/06/2004";
        QTest::newRow("6 crans") << 0 << 6 << "04/06/2004"; // 3 lines a notch
    }
    void rafale()
    {
        QFETCH(int, touche);
        QFETCH(int, nombre);
        QCOMPARE(QApplication::wheelScrollLines(), 3);
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
        QTEST(t("TxtDateP"), "date");
        QCOMPARE(c<QSlider>("Slider1")->value(), 0);
    }

    // No road writes a date past the calendar's ends, which the program could not read back.
    void calendrier()
    {
        for (const auto& [date, touche] :
             {std::pair{"31/12/9999", Qt::Key_Right}, {"01/01/0100", Qt::Key_Left}}) {
            calcule(date);
            QTest::keyClick(c("Slider1"), touche);
            QCOMPARE(t("TxtDateP"), date);
        }
        c<QLineEdit>("TxtDGUS")->setText("31/03/9999");
        QCOMPARE(t("TxtAP"), "31/12/9999");
        c<QLineEdit>("TxtDGUS")->setText("01/04/9999"); // its term would be 01/01/10000
        QCOMPARE(t("TxtAP"), "31/12/9999");
    }

    // Faces: up to -40 level 0, -20 1, -5 2, 5 3, 20 4, 40 5, else 6. Picture: P > 0 >= E a
    // boy, P <= 0 < E a girl, P > E > 0 rather a boy, P < E < 0 rather a girl, else the last one.
    // Two equal values blink together, three do not.
    void etiquettes_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QList<int>>("valeurs");
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
        const QString annonceAvant = lu("PictSexe");
        calcule(date);
        QTEST(valeurs(), "valeurs");
        const QString humeurs[3] = {"Humeur intellectuelle", "Humeur émotionnelle",
                                    "Humeur physique"};
        const QString visages[7] = {"furieux",  "triste", "un peu triste", "grimaçant",
                                    "souriant", "joyeux", "hilare"};
        for (int k = 0; k < 3; ++k) {
            const QString humeur = QStringLiteral("Picture1_%1").arg(k + 1);
            QVERIFY(!cachee(humeur));
            for (int n = 0; n < 7; ++n)
                QCOMPARE(visage(humeur) == visage(QStringLiteral("Picture2_%1").arg(n)),
                         n == niveaux[k]);
            QCOMPARE(lu(humeur), humeurs[k] + " : visage " + visages[niveaux[k]]);
        }
        fais("CmdSexe");
        QVERIFY(!cachee("PictSexe"));
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
