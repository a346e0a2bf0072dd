// The main window as laid out: every control in place, with its look and its Tab order.

#include "chart/canevas.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QRect pixels(QRect t)
{
    return {qRound(t.x() / 15.0), qRound(t.y() / 15.0), qRound(t.width() / 15.0),
            qRound(t.height() / 15.0)};
}

QString texteDe(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* t = qobject_cast<QLineEdit*>(w)) return t->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
}

QColor systeme(QPalette::ColorRole role) { return QGuiApplication::palette().color(role); }

} // namespace

class TestFenetre : public QObject {
    Q_OBJECT
    FakePlateforme plateforme_;
    std::unique_ptr<Ondagramm> fenetre_;

    QWidget* controle(const QString& nom)
    {
        auto* w = fenetre_->findChild<QWidget*>(nom);
        if (!w)
            qWarning() << "absent :" << nom;
        return w;
    }

private slots:
    void init()
    {
        fenetre_ = std::make_unique<Ondagramm>(plateforme_);
        fenetre_->show();
        fenetre_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fenetre_.get()));
    }
    void cleanup() { fenetre_.reset(); }

    void controles_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("parent"); // empty: the client area
        QTest::addColumn<QRect>("place");    // twips
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("cache");
        const auto ligne = [](const char* nom, const char* classe, const char* parent, QRect t,
                              const QString& texte, bool cache) {
            QTest::newRow(nom) << QString(nom) << QString(classe) << QString(parent) << t << texte << cache;
        };
        ligne("CmbNom", "QComboBox", "", {1920, 240, 3495, 315}, "", false);
        ligne("Etiquette5", "QLabel", "", {5640, 120, 1755, 315}, "Intellectuel :", false);
        ligne("Etiquette6", "QLabel", "", {5640, 720, 1755, 315}, "Emotionnel :", false);
        ligne("Etiquette7", "QLabel", "", {5640, 1320, 1755, 315}, "Physique    :", false);
        ligne("AfichIntel", "QLabel", "", {6840, 360, 555, 255}, "", true);
        ligne("AfichEmoti", "QLabel", "", {6840, 720, 555, 255}, "", true);
        ligne("AfichPhysi", "QLabel", "", {6840, 1080, 555, 255}, "", true);
        ligne("Picture1_0", "ZoneImage", "", {9600, 5880, 480, 480}, "", true);
        ligne("Picture1_1", "ZoneImage", "", {7440, 0, 480, 480}, "", true); // hidden by the load
        ligne("Picture1_2", "ZoneImage", "", {7440, 600, 480, 480}, "", true); // hidden by the load
        ligne("Picture1_3", "ZoneImage", "", {7440, 1200, 480, 480}, "", true); // hidden by the load
        for (int i = 0; i < 7; ++i)
            ligne(qPrintable(QString("Picture2_%1").arg(i)), "QLabel", "", {840 + 600 * i, 5880, 480, 480}, "", true);
        ligne("MerMamm", "QLabel", "", {120, 1920, 4635, 315}, "", false);
        ligne("AfichAge", "QLabel", "", {4800, 1920, 765, 315}, "", false);
        ligne("CmdSexe", "QPushButton", "", {5640, 1920, 4575, 375}, "Sexe", false);
        ligne("Slider1", "QSlider", "", {540, 2280, 9825, 405}, "", false);
        ligne("Image1", "Canevas", "", {720, 2760, 9435, 3675}, "", false);
        ligne("AfichJour", "Canevas", "", {720, 6480, 9435, 255}, "", false);
        ligne("Frame1", "QGroupBox", "", {120, 0, 5415, 1815}, "", false);
        ligne("Etiquette1", "QLabel", "Frame1", {120, 240, 1215, 315}, "Nom Prénom", false);
        ligne("CmdAjoute", "QPushButton", "Frame1", {1800, 560, 1695, 255}, "Ajouter", false);
        ligne("CmdSup", "QPushButton", "Frame1", {3600, 560, 1695, 255}, "Supprimer", false);
        ligne("Etiquette2", "QLabel", "Frame1", {120, 900, 1635, 280}, "Date de naissance", false);
        ligne("TxtDateN", "QLineEdit", "Frame1", {1800, 880, 1335, 285}, "", false);
        ligne("Etiquette3", "QLabel", "Frame1", {120, 1200, 1680, 255}, "Date du ondagramme", false);
        ligne("TxtDateP", "QLineEdit", "Frame1", {1800, 1200, 1335, 285}, "17/05/2004", false); // today, by the load
        ligne("Command3", "QPushButton", "Frame1", {1800, 1450, 1335, 255}, "Aujourd'hui", false);
        ligne("AfichJourV", "QLabel", "Frame1", {40, 1500, 1695, 255}, "", false);
        ligne("Command1", "QPushButton", "Frame1", {3240, 960, 945, 705}, "Imprimer", false);
        ligne("Commande1", "QPushButton", "Frame1", {4320, 960, 945, 735}, "Calcule", false);
        ligne("Frame2", "QGroupBox", "", {8040, 0, 2175, 1815}, "Accouchement", false);
        ligne("Label3", "QLabel", "Frame2", {120, 240, 615, 255}, "DGUS", false);
        ligne("TxtDGUS", "QLineEdit", "Frame2", {840, 240, 1215, 285}, "", false);
        ligne("Label4", "QLabel", "Frame2", {120, 600, 615, 255}, "Terme", false);
        ligne("TxtAP", "QLineEdit", "Frame2", {840, 600, 1215, 285}, "", false);
        ligne("Image2", "QLabel", "Frame2", {120, 1080, 600, 600}, "", false);
        ligne("Command2", "QPushButton", "Frame2", {720, 1080, 1335, 615}, "Ondagrammes prés du terme", false);
        ligne("PictSexe", "QLabel", "Image1", {3480, 150, 975, 1575}, "", true);
        ligne("Pictgarcon", "QLabel", "Image1", {4320, 2280, 975, 1335}, "", true);
        ligne("PictFille", "QLabel", "Image1", {5400, 2280, 975, 1335}, "", true);
        ligne("PictPGarcon", "QLabel", "Image1", {6480, 2040, 975, 1575}, "", true);
        ligne("PictPFille", "QLabel", "Image1", {7560, 2040, 975, 1575}, "", true);
        ligne("LblTerme", "QLabel", "Image1", {8400, 120, 855, 300}, "Terme", true);
    }
    void controles()
    {
        QFETCH(QString, nom); QFETCH(QString, classe); QFETCH(QString, parent);
        QFETCH(QRect, place); QFETCH(QString, texte); QFETCH(bool, cache);
        QWidget* w = controle(nom);
        QVERIFY(w);
        QCOMPARE(w->metaObject()->className(), classe);
        QWidget* attendu = parent.isEmpty() ? fenetre_->centralWidget() : controle(parent);
        QCOMPARE(w->parentWidget(), attendu);
        // Inside the chart, places count from within its one-pixel frame.
        QCOMPARE(w->geometry(), pixels(place).translated(parent == "Image1" ? QPoint(1, 1) : QPoint()));
        QCOMPARE(texteDe(w), texte);
        QCOMPARE(w->isHidden(), cache);
    }

    // Captions show whole in a face wider than the designed one; scale marks grow to their text.
    void textesEntiers_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QPoint>("coin"); // twips
        for (const char* nom : {"Etiquette1", "Etiquette2", "Etiquette3", "Label3", "Label4", "Etiquette7"})
            QTest::newRow(nom) << QString(nom) << QPoint(-1, -1);
        QTest::newRow("Label1_1") << "Label1_1" << QPoint(120, 2760);
        QTest::newRow("Label1_0") << "Label1_0" << QPoint(150, 4560);
        QTest::newRow("Label1_2") << "Label1_2" << QPoint(240, 6240);
    }
    void textesEntiers()
    {
        QFETCH(QString, nom); QFETCH(QPoint, coin);
        auto* l = qobject_cast<QLabel*>(controle(nom));
        QVERIFY(l);
        QVERIFY(l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()));
        if (coin.x() >= 0) {
            QCOMPARE(l->pos(), pixels(QRect(coin, QSize())).topLeft());
            QVERIFY(l->geometry().right() < controle("Image1")->x()); // clear of the chart
        }
    }

    void apparence_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QColor>("fond"); // invalid: transparent
        QTest::addColumn<QColor>("texte");
        QTest::addColumn<int>("taille"); // font, pixels
        QTest::addColumn<bool>("gras");
        const auto ligne = [](const char* nom, QColor fond, QColor texte, int taille, bool gras) {
            QTest::newRow(nom) << QString(nom) << fond << texte << taille << gras;
        };
        const QColor blanc(255, 255, 255);
        ligne("Etiquette5", QColor(0, 192, 0), blanc, 13, true);
        ligne("Etiquette6", QColor(0, 0, 255), blanc, 13, true);
        ligne("Etiquette7", QColor(255, 0, 0), blanc, 13, true);
        ligne("Etiquette3", QColor(192, 192, 192), QColor(0, 0, 0), 11, true);
        ligne("AfichIntel", QColor(223, 220, 204), systeme(QPalette::WindowText), 11, true);
        ligne("AfichJourV", QColor(), QColor(192, 64, 0), 11, true);
        ligne("LblTerme", blanc, QColor(255, 0, 0), 16, true);
        ligne("MerMamm", systeme(QPalette::Base), systeme(QPalette::Text), 13, false);
        ligne("AfichAge", systeme(QPalette::Base), systeme(QPalette::Text), 13, false);
        ligne("Etiquette1", QColor(), systeme(QPalette::WindowText), 11, true);
        ligne("Label1_0", QColor(), systeme(QPalette::WindowText), 11, false);
        ligne("Picture1_1", QColor(), systeme(QPalette::WindowText), 11, true);
        ligne("AfichJour", QColor(), systeme(QPalette::WindowText), 13, false);
        ligne("Commande1", QColor(), systeme(QPalette::WindowText), 13, true);
        ligne("Command1", QColor(), systeme(QPalette::WindowText), 13, true);
        ligne("TxtDateN", QColor(), systeme(QPalette::WindowText), 11, true);
    }
    void apparence()
    {
        QFETCH(QString, nom); QFETCH(QColor, fond); QFETCH(QColor, texte); QFETCH(int, taille);
        QFETCH(bool, gras);
        QWidget* w = controle(nom);
        QCOMPARE(w->autoFillBackground(), fond.isValid());
        if (fond.isValid())
            QCOMPARE(w->palette().color(QPalette::Window), fond);
        QCOMPARE(w->palette().color(QPalette::WindowText), texte);
        QCOMPARE(w->font().pixelSize(), taille);
        QCOMPARE(w->font().bold(), gras);
    }

    void menu()
    {
        const QList<QAction*> actions = fenetre_->menuBar()->actions();
        const QStringList noms{"Quitter", "Imprimer", "Sexe", "propos", "Aide"};
        const QStringList textes{"Quitter", "Imprimer", "Sexe", "A propos", "Aide"};
        QCOMPARE(actions.size(), noms.size());
        for (int i = 0; i < noms.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), noms[i]);
            QCOMPARE(actions[i]->text(), textes[i]);
            QVERIFY(!actions[i]->menu());
        }
    }

    void reglages_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("propriete");
        QTest::addColumn<QVariant>("valeur");
        const auto ligne = [](const char* nom, const char* propriete, const QVariant& valeur) {
            QTest::addRow("%s.%s", nom, propriete) << QString(nom) << QByteArray(propriete) << valeur;
        };
        ligne("Slider1", "minimum", -16);
        ligne("Slider1", "maximum", 17);
        ligne("Slider1", "value", 0);
        ligne("Slider1", "tracking", false);
        ligne("Slider1", "singleStep", 1);
        ligne("Slider1", "orientation", QVariant::fromValue(Qt::Horizontal));
        ligne("Timer1", "interval", 300); // the load sets the blinking pace
        ligne("Timer1", "active", true);
        ligne("CmbNom", "editable", true);
        ligne("CmbNom", "insertPolicy", QVariant::fromValue(QComboBox::NoInsert));
        ligne("Commande1", "flat", true);
        ligne("Command1", "iconSize", QSize(32, 32));
        ligne("Image1", "focusPolicy", QVariant::fromValue(Qt::TabFocus));
        for (const char* nom : {"Etiquette1", "Frame1", "Frame2", "Picture1_1", "Picture2_0", "AfichJour", "AfichIntel"})
            ligne(nom, "focusPolicy", QVariant::fromValue(Qt::NoFocus));
        ligne("Etiquette5", "frameShape", QVariant::fromValue(QFrame::Box));
        ligne("MerMamm", "lineWidth", 1);
    }
    void reglages()
    {
        QFETCH(QString, nom); QFETCH(QByteArray, propriete); QFETCH(QVariant, valeur);
        QObject* o = fenetre_->findChild<QObject*>(nom);
        QVERIFY(o);
        QVariant lu = o->property(propriete);
        QVERIFY2(lu.isValid(), propriete.constData());
        if (lu.metaType() != valeur.metaType()) // enums read back as their own type
            QVERIFY(lu.convert(valeur.metaType()));
        QCOMPARE(lu, valeur);
    }

    // Each picture at its own size, or nothing when the picture is missing.
    void images_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QSize>("taille");
        QTest::newRow("Picture1_0") << "Picture1_0" << "visage_defaut.svg" << QSize(32, 32);
        QTest::newRow("Picture2_0") << "Picture2_0" << "visage0.svg" << QSize(32, 32);
        QTest::newRow("Pictgarcon") << "Pictgarcon" << "garcon.svg" << QSize(66, 89);
        QTest::newRow("PictFille") << "PictFille" << "fille.svg" << QSize(63, 87);
        QTest::newRow("PictPGarcon") << "PictPGarcon" << "plutot_garcon.svg" << QSize(63, 105);
        QTest::newRow("PictPFille") << "PictPFille" << "plutot_fille.svg" << QSize(64, 104);
        QTest::newRow("Image2") << "Image2" << "ondagramme.svg" << QSize(40, 40);
        QTest::newRow("PictSexe") << "PictSexe" << "" << QSize();
    }
    void images()
    {
        QFETCH(QString, nom); QFETCH(QString, fichier); QFETCH(QSize, taille);
        auto* l = qobject_cast<QLabel*>(controle(nom));
        QVERIFY(l);
        const QPixmap p = l->pixmap();
        if (fichier.isEmpty() || !QFile::exists(":/pictures/" + fichier))
            QVERIFY(p.isNull());
        else
            QCOMPARE(p.deviceIndependentSize().toSize(), taille);
    }

    void nomAuDessusDuCadre()
    {
        QWidget* nom = controle("CmbNom");
        QWidget* dessus = fenetre_->centralWidget()->childAt(nom->geometry().center());
        QVERIFY(dessus == nom || nom->isAncestorOf(dessus));
    }

    void fenetreFixe()
    {
        QCOMPARE(fenetre_->windowTitle(), QString("Dazozare"));
        QCOMPARE(fenetre_->centralWidget()->size(), QSize(693, 464));
        QCOMPARE(fenetre_->centralWidget()->y(), fenetre_->menuBar()->height());
        QCOMPARE(fenetre_->minimumSize(), fenetre_->maximumSize());
        const Qt::WindowFlags f = fenetre_->windowFlags();
        QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
        QVERIFY(f & Qt::WindowMinimizeButtonHint);
        QVERIFY(f & Qt::WindowSystemMenuHint);
        // Centred before the window manager adds its frame: off by the frame at most.
        const QRect cadre = fenetre_->frameGeometry();
        const QPoint ecart = cadre.center() - fenetre_->screen()->availableGeometry().center();
        QVERIFY(qAbs(ecart.x()) <= cadre.width() - fenetre_->width() + 1);
        QVERIFY(qAbs(ecart.y()) <= cadre.height() - fenetre_->height() + 1);
    }

    void tabulation_data()
    {
        QTest::addColumn<QString>("depart");
        QTest::addColumn<QString>("suivant");
        const QStringList ordre{"CmbNom", "TxtDateN", "TxtDateP", "TxtDGUS", "CmdAjoute",
                                "CmdSup", "Commande1", "Command1", "Command2", "TxtAP",
                                "CmdSexe", "Image1", "Slider1", "Command3"};
        for (int i = 0; i < ordre.size(); ++i)
            QTest::newRow(qPrintable(ordre[i])) << ordre[i] << ordre[(i + 1) % ordre.size()];
    }
    void tabulation()
    {
        QFETCH(QString, depart); QFETCH(QString, suivant);
        controle(depart)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), controle(depart));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), suivant);
    }

    void entreeCalcule_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("touche");
        QTest::newRow("TxtDateN Entrée") << "TxtDateN" << int(Qt::Key_Return);
        QTest::newRow("TxtDateN pavé") << "TxtDateN" << int(Qt::Key_Enter);
        QTest::newRow("TxtDateP") << "TxtDateP" << int(Qt::Key_Return);
        QTest::newRow("TxtDGUS") << "TxtDGUS" << int(Qt::Key_Return);
        QTest::newRow("TxtAP") << "TxtAP" << int(Qt::Key_Enter);
        QTest::newRow("CmbNom") << "CmbNom" << int(Qt::Key_Return);
    }
    void entreeCalcule()
    {
        QFETCH(QString, nom); QFETCH(int, touche);
        QSignalSpy clics(qobject_cast<QPushButton*>(controle("Commande1")), &QAbstractButton::clicked);
        QWidget* w = controle(nom);
        w->setFocus();
        QTest::keyClicks(w, "Jean");
        QTest::keyClick(w, Qt::Key(touche), touche == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clics.count(), 1);
        QCOMPARE(qobject_cast<QComboBox*>(controle("CmbNom"))->count(), 0); // never inserted
    }

    // Inputs, buttons and pictures are named for screen readers; labels read their own text.
    void nomsAccessibles_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("lu");
        const auto ligne = [](const char* nom, const char* lu) { QTest::newRow(nom) << QString(nom) << QString(lu); };
        ligne("TxtDateN", "Date de naissance");
        ligne("CmbNom", "Nom Prénom");
        ligne("Commande1", "Calcule");
        ligne("Slider1", "Déplacer la date du ondagramme");
        ligne("Picture1_1", "Humeur intellectuelle");
        ligne("Image1", "Ondagramme");
        ligne("CmdSexe", "Sexe"); // its caption, which later announces the conception date
        ligne("Etiquette7", "Physique    :");
        ligne("Label3", "DGUS");
    }
    void nomsAccessibles()
    {
        QFETCH(QString, nom); QFETCH(QString, lu);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(controle(nom));
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), lu);
    }
};

QTEST_MAIN(TestFenetre)
#include "test_fenetre.moc"
