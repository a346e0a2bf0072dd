// The main window as laid out: controls, looks, menu, size, Tab order and screen-reader names.

#include "chart/canevas.h"
#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QtTest>
#include <QtWidgets>

#include <numeric>

using namespace dz;

class TestFenetre : public QObject {
    Q_OBJECT
    FakePlateforme plateforme_;
    std::unique_ptr<Ondagramm> fenetre_;

    QWidget* controle(const QString& nom) { return fenetre_->findChild<QWidget*>(nom); }

private slots:
    void init()
    {
        fenetre_ = std::make_unique<Ondagramm>(plateforme_);
        fenetre_->show();
        fenetre_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fenetre_.get()));
    }
    void cleanup() { fenetre_.reset(); }

    // As the load leaves them: Picture1_1..3 hidden, TxtDateP on the platform's today.
    void controles_data()
    {
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("parent"); // "": the client area
        QTest::addColumn<QRect>("place");    // twips; no size: grows to its text
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("cache");
        const auto l = [](const QString& nom, const char* classe, const char* parent, QRect place,
                          const char* texte = "", bool cache = false) {
            QTest::newRow(qPrintable(nom))
                << QString(classe) << QString(parent) << place << QString::fromUtf8(texte) << cache;
        };
        l("CmbNom", "QComboBox", "", {1920, 240, 3495, 315});
        l("Etiquette5", "QLabel", "", {5640, 120, 1755, 315}, "Intellectuel :");
        l("Etiquette6", "QLabel", "", {5640, 720, 1755, 315}, "Emotionnel :");
        l("Etiquette7", "QLabel", "", {5640, 1320, 1755, 315}, "Physique    :");
        l("AfichIntel", "QLabel", "", {6840, 360, 555, 255}, "", true);
        l("AfichEmoti", "QLabel", "", {6840, 720, 555, 255}, "", true);
        l("AfichPhysi", "QLabel", "", {6840, 1080, 555, 255}, "", true);
        l("Picture1_0", "dz::ZoneImage", "", {9600, 5880, 480, 480}, "", true);
        l("Picture1_1", "dz::ZoneImage", "", {7440, 0, 480, 480}, "", true);
        l("Picture1_2", "dz::ZoneImage", "", {7440, 600, 480, 480}, "", true);
        l("Picture1_3", "dz::ZoneImage", "", {7440, 1200, 480, 480}, "", true);
        for (int i = 0; i < 7; ++i)
            l(QString("Picture2_%1").arg(i), "QLabel", "", {840 + 600 * i, 5880, 480, 480}, "",
              true);
        l("MerMamm", "QLabel", "", {120, 1920, 4635, 315});
        l("AfichAge", "QLabel", "", {4800, 1920, 765, 315});
        l("CmdSexe", "QPushButton", "", {5640, 1920, 4575, 375}, "Sexe");
        l("Slider1", "QSlider", "", {540, 2280, 9825, 405});
        l("Label1_1", "QLabel", "", {120, 2760, 0, 0}, "+ 50 ----");
        l("Label1_0", "QLabel", "", {150, 4560, 0, 0}, "  0 ----");
        l("Label1_2", "QLabel", "", {240, 6240, 0, 0}, "- 50 --");
        l("Image1", "dz::Canevas", "", {720, 2760, 9435, 3675});
        l("AfichJour", "dz::Canevas", "", {720, 6480, 9435, 255});
        l("Frame1", "QGroupBox", "", {120, 0, 5415, 1815});
        l("Etiquette1", "QLabel", "Frame1", {120, 240, 1215, 315}, "Nom Prénom");
        l("CmdAjoute", "QPushButton", "Frame1", {1800, 560, 1695, 255}, "Ajouter");
        l("CmdSup", "QPushButton", "Frame1", {3600, 560, 1695, 255}, "Supprimer");
        l("Etiquette2", "QLabel", "Frame1", {120, 900, 1635, 280}, "Date de naissance");
        l("TxtDateN", "QLineEdit", "Frame1", {1800, 880, 1335, 285});
        l("Etiquette3", "QLabel", "Frame1", {120, 1200, 1680, 255}, "Date du ondagramme");
        l("TxtDateP", "QLineEdit", "Frame1", {1800, 1200, 1335, 285}, "17/05/2004");
        l("Command3", "QPushButton", "Frame1", {1800, 1450, 1335, 255}, "Aujourd'hui");
        l("AfichJourV", "QLabel", "Frame1", {40, 1500, 1695, 255});
        l("Command1", "QPushButton", "Frame1", {3240, 960, 945, 705}, "Imprimer");
        l("Commande1", "QPushButton", "Frame1", {4320, 960, 945, 735}, "Calcule");
        l("Frame2", "QGroupBox", "", {8040, 0, 2175, 1815}, "Accouchement");
        l("Label3", "QLabel", "Frame2", {120, 240, 615, 255}, "DGUS");
        l("TxtDGUS", "QLineEdit", "Frame2", {840, 240, 1215, 285});
        l("Label4", "QLabel", "Frame2", {120, 600, 615, 255}, "Terme");
        l("TxtAP", "QLineEdit", "Frame2", {840, 600, 1215, 285});
        l("Image2", "QLabel", "Frame2", {120, 1080, 600, 600});
        l("Command2", "QPushButton", "Frame2", {720, 1080, 1335, 615}, "Ondagrammes prés du terme");
        l("PictSexe", "QLabel", "Image1", {3480, 150, 975, 1575}, "", true);
        l("Pictgarcon", "QLabel", "Image1", {4320, 2280, 975, 1335}, "", true);
        l("PictFille", "QLabel", "Image1", {5400, 2280, 975, 1335}, "", true);
        l("PictPGarcon", "QLabel", "Image1", {6480, 2040, 975, 1575}, "", true);
        l("PictPFille", "QLabel", "Image1", {7560, 2040, 975, 1575}, "", true);
        l("LblTerme", "QLabel", "Image1", {8400, 120, 855, 300}, "Terme", true);
    }
    void controles()
    {
        QFETCH(QString, parent);
        QFETCH(QRect, place);
        QWidget* w = controle(QTest::currentDataTag());
        QVERIFY(w);
        QTEST(QString(w->metaObject()->className()), "classe");
        QCOMPARE(w->parentWidget(),
                 parent.isEmpty() ? fenetre_->centralWidget() : controle(parent));
        const auto px = [](int t) { return qRound(t / 15.0); };
        const QPoint cadre = parent == "Image1" ? QPoint(1, 1) : QPoint(); // within its frame
        QCOMPARE(w->pos(), QPoint(px(place.x()), px(place.y())) + cadre);
        if (!place.isEmpty())
            QCOMPARE(w->size(), QSize(px(place.width()), px(place.height())));
        const bool titre = w->inherits("QGroupBox");
        const char* texte = titre ? "title" : w->inherits("QComboBox") ? "currentText" : "text";
        QTEST(w->property(texte).toString(), "texte");
        QTEST(w->isHidden(), "cache");
    }

    // The value labels in white on their cycle's colour; a few key faces, in pixels.
    void couleursEtPolices()
    {
        const QColor cycles[] = {{0, 192, 0}, {0, 0, 255}, {255, 0, 0}};
        for (int i = 0; i < 3; ++i) {
            const QWidget* valeur = controle(QString("Etiquette%1").arg(5 + i));
            QVERIFY(valeur->autoFillBackground());
            QCOMPARE(valeur->palette().color(QPalette::Window), cycles[i]);
            QCOMPARE(valeur->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        QStringList polices;
        for (const char* nom : {"Etiquette5", "MerMamm", "Label1_0", "Commande1", "LblTerme"}) {
            const QFont f = controle(nom)->font();
            polices << QString("%1 %2%3").arg(nom).arg(f.pixelSize()).arg(f.bold() ? " gras" : "");
        }
        QCOMPARE(polices, QStringList({"Etiquette5 13 gras", "MerMamm 13", "Label1_0 11",
                                       "Commande1 13 gras", "LblTerme 16 gras"}));
    }

    void menuEtTaille()
    {
        QStringList menu;
        for (const QAction* a : fenetre_->menuBar()->actions())
            menu << a->objectName() + '=' + a->text();
        QCOMPARE(menu, QStringList({"Quitter=Quitter", "Imprimer=Imprimer", "Sexe=Sexe",
                                    "propos=A propos", "Aide=Aide"}));
        QCOMPARE(fenetre_->centralWidget()->size(), QSize(693, 464));
        QCOMPARE(fenetre_->minimumSize(), fenetre_->maximumSize());
        QVERIFY(!(fenetre_->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    // Tab runs through the controls in this order and back, each named in French.
    void tabulationEtNoms()
    {
        controle("CmbNom")->setFocus(Qt::TabFocusReason);
        QStringList parcours;
        for (int i = 0; i < 15; ++i) {
            QWidget* w = QApplication::focusWidget();
            const QString lu = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            parcours << w->objectName() + '=' + lu;
            QTest::keyClick(w, Qt::Key_Tab);
        }
        QCOMPARE(parcours,
                 QStringList({"CmbNom=Nom Prénom", "TxtDateN=Date de naissance",
                              "TxtDateP=Date du ondagramme", "TxtDGUS=DGUS",
                              "CmdAjoute=Ajouter la personne", "CmdSup=Supprimer la personne",
                              "Commande1=Calcule", "Command1=Imprimer",
                              "Command2=Ondagrammes prés du terme", "TxtAP=Terme", "CmdSexe=Sexe",
                              "Image1=Ondagramme", "Slider1=Déplacer la date du ondagramme",
                              "Command3=Aujourd'hui", "CmbNom=Nom Prénom"}));
    }

    // After a computation, at the scale the test runs at (ctest runs it at several): the values
    // are those of the design, normal and near-term; the chart is drawn at the screen's own
    // resolution, not blown up, every line of it and every tick of the slider as the window
    // shows them one whole width; and every caption the user reads, as designed or as written,
    // is drawn whole inside its control: a label's within its frame, a button's a pixel clear
    // of the border and under its picture.
    void apresCalcul()
    {
        const auto valeurs = [this] {
            QStringList v;
            for (const char* nom : {"Etiquette5", "Etiquette6", "Etiquette7"})
                v << controle(nom)->property("text").toString();
            return v;
        };
        QTest::keyClicks(controle("TxtDateN"), "01/01/1970");
        QTest::keyClick(controle("TxtDateN"), Qt::Key_Return);
        QCOMPARE(valeurs(),
                 QStringList({"Intellectuel : 15", "Emotionnel : 32", "Physique :    -37"}));
        const QImage image = fenetre_->findChild<Canevas*>("Image1")->image();
        const qreal r = fenetre_->devicePixelRatioF();
        // Device pixels of a one-pixel line and of the five-pixel marker, by scale (none: 0).
        const QMap<qreal, QPair<int, int>> largeurs{
            {1, {1, 5}}, {1.25, {1, 6}}, {1.5, {2, 8}}, {1.75, {2, 9}}, {2, {2, 10}}};
        const auto [trait, marqueur] = largeurs[r];
        // The widths of the runs of each colour met from a device pixel of the window, by steps.
        const QImage ecran = fenetre_->grab().toImage();
        const auto passages = [&ecran](QPoint p, QPoint pas, int n) {
            QMap<QRgb, QSet<int>> vus;
            for (int i = 1, longueur = 1; i <= n; ++i, ++longueur, p += pas)
                if (i == n || ecran.pixel(p) != ecran.pixel(p + pas))
                    vus[ecran.pixel(p)] << std::exchange(longueur, 0);
            return vus;
        };
        const auto place = [&](const char* nom) {
            const QWidget* w = controle(nom);
            return QRect(w->mapTo(fenetre_.get(), QPoint()) * r, w->size() * r);
        };
        const QRect graphe = place("Image1"), curseur = place("Slider1");
        // A row above the curves, a column left of the first day line, the ticks' row.
        const auto rangee =
            passages(graphe.topLeft() + QPoint(0, qRound(7 * r)), {1, 0}, graphe.width());
        const auto colonne =
            passages(graphe.topLeft() + QPoint(qRound(4 * r), 0), {0, 1}, graphe.height());
        const auto tirets =
            passages(curseur.topLeft() + QPoint(0, qRound(23.5 * r)), {1, 0}, curseur.width());
        QCOMPARE(rangee[qRgb(0, 0, 128)], QSet<int>{trait});
        QCOMPARE(rangee[qRgb(255, 0, 0)], QSet<int>{marqueur});
        // The frame's four sides, the chart's own left and top, the zero line, the ticks.
        QCOMPARE(rangee[qRgb(0, 0, 0)] + colonne[qRgb(0, 0, 0)] + tirets[qRgb(0, 0, 0)],
                 QSet<int>{trait});
        // Down each column, the physical curve: as wide as a line where flat, never thinner
        // but where another curve crosses it.
        QMap<int, int> frequences; // by width
        for (int x = 0; x < graphe.width(); ++x)
            for (int l : passages(graphe.topLeft() + QPoint(x, 0), {0, 1}, graphe.height())
                             .value(qRgb(128, 0, 0)))
                ++frequences[l];
        const int fins = std::accumulate(frequences.begin(), frequences.lowerBound(trait), 0);
        QVERIFY(frequences.value(trait) > 100 && fins < 5);
        QCOMPARE(image.width(), qRound(627 * r));
        int fines = 0; // curve pixels whose 2 x 2 block is not all theirs
        for (int y = 1; y < image.height(); y += 2)
            for (int x = 1; x < image.width(); x += 2)
                if (const QRgb p = image.pixel(x, y); p == qRgb(0, 128, 0) || p == qRgb(128, 0, 0))
                    fines += image.pixel(x - 1, y) != p || image.pixel(x, y - 1) != p;
        QVERIFY(r == 1 || fines > 100);
        QTest::keyClicks(controle("TxtDGUS"), "20/04/2024");
        QTest::mouseClick(controle("Command2"), Qt::LeftButton);
        QCOMPARE(valeurs(),
                 QStringList({"Intellectuel : 44", "Emotionnel : 39", "Physique :    50"}));
        // Device pixels of a control that a change makes differ: where what it removes is drawn.
        const auto trace = [r](QWidget* w, const std::function<void(bool)>& retire) {
            QImage avant(w->size() * r, QImage::Format_RGB32), apres = avant;
            for (QImage* i : {&avant, &apres}) {
                i->setDevicePixelRatio(r);
                i->fill(Qt::magenta);
                retire(i == &apres);
                w->render(i);
            }
            retire(false);
            QRect encre;
            for (int y = 0; y < avant.height(); ++y)
                for (int x = 0; x < avant.width(); ++x)
                    if (avant.pixel(x, y) != apres.pixel(x, y))
                        encre |= QRect(x, y, 1, 1);
            return encre;
        };
        const auto dedans = [r](const QRect& encre, const QRect& zone) {
            return !encre.isEmpty() && QRectF(zone.topLeft() * r, zone.size() * r).contains(encre);
        };
        // A label drawn whole shows the same caption once widened, within its frame.
        for (QLabel* l : fenetre_->findChildren<QLabel*>()) {
            if (l->text().isEmpty() || !l->isVisibleTo(fenetre_.get()))
                continue;
            const QString texte = l->text();
            const auto encre = [&] {
                return trace(l, [&](bool sans) { l->setText(sans ? "" : texte); });
            };
            const QRect telle = encre();
            l->resize(l->width() + 40, l->height());
            const QRect large = encre();
            l->resize(l->width() - 40, l->height());
            QVERIFY2(dedans(telle, l->contentsRect()) && telle.size() == large.size(),
                     qPrintable(l->objectName()));
        }
        for (QPushButton* b : fenetre_->findChildren<QPushButton*>()) {
            const QString texte = b->text();
            const QIcon icone = b->icon();
            const QRect legende = trace(b, [&](bool sans) { b->setText(sans ? "" : texte); });
            QVERIFY2(dedans(legende, b->rect().adjusted(2, 1, -2, -2)), qPrintable(texte));
            b->setText("");
            const QRect image = trace(b, [&](bool sans) { b->setIcon(sans ? QIcon() : icone); });
            b->setText(texte);
            QVERIFY2(image.isEmpty() || image.bottom() < legende.top(), qPrintable(texte));
        }
    }

    // Enter presses the focused button, and "Calcule" from anywhere else; Space presses the
    // focused button. A typed name is never inserted into the list.
    void entree_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("touche");
        QTest::addColumn<QString>("presse"); // the one button pressed
        for (const char* boite : {"TxtDateN", "TxtDateP", "TxtDGUS", "TxtAP", "CmbNom", "Slider1",
                                  "Image1", "Commande1"})
            QTest::newRow(boite) << QString(boite) << int(Qt::Key_Return) << "Commande1";
        QTest::newRow("pavé numérique") << "TxtDateN" << int(Qt::Key_Enter) << "Commande1";
        for (const char* bouton : {"CmdAjoute", "CmdSup", "Command3", "Command2", "CmdSexe"})
            QTest::newRow(bouton) << QString(bouton) << int(Qt::Key_Return) << QString(bouton);
        QTest::newRow("espace") << "CmdSexe" << int(Qt::Key_Space) << "CmdSexe";
    }
    void entree()
    {
        QFETCH(QString, focus);
        QFETCH(int, touche);
        QTest::keyClicks(controle("CmbNom"), "Jean");
        QTest::keyClicks(controle("TxtDateN"), "01/01/1970");
        QStringList presses;
        for (QPushButton* b : fenetre_->findChildren<QPushButton*>())
            connect(b, &QPushButton::clicked, this, [&presses, b] { presses << b->objectName(); });
        controle(focus)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(touche));
        QTEST(presses.join(','), "presse");
        if (focus == "CmbNom") // Enter in the name box adds nothing to its list
            QCOMPARE(controle("CmbNom")->property("count"), 0);
    }
};

QTEST_MAIN(TestFenetre)
#include "test_fenetre.moc"
