// The main window through its controls, at ctest's scale: layout, keyboard, captions, lines, each
// road to a redraw, faces, sex, blinking. Numbers worked from the design; pictures checked by eye.

#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <numeric>

using namespace dz;
using Cachees = QList<bool>;

class TestFenetre : public QObject {
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
    QString lu(QWidget* w, QAccessible::Text quoi = QAccessible::Name) const
    {
        return QAccessible::queryAccessibleInterface(w)->text(quoi);
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
        const QChar genre = nom.size() < geste.size() ? geste[nom.size()] : QChar();
        if (genre == '=') {
            c<QLineEdit>(nom)->clear();
            QTest::keyClicks(c(nom), suite);
        } else if (genre == '>')
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

    // The whole window at one to one, as loaded, after a computation (born 01/01/1970, on
    // 17/05/2004, the picture shown) and near the term of 20/01/2025, against pictures checked by
    // eye with the layout; then each control by its name, in its container, hidden or shown.
    void disposition()
    {
        if (w_->devicePixelRatioF() == 1) {
#ifndef Q_OS_WIN // Windows renders the faces with another engine
            QCOMPARE(difference(w_->grab().toImage(), "fenetre-chargee"), QString());
            c<QComboBox>("CmbNom")->setEditText("Jean");
            calcule("17/05/2004");
            fais("CmdSexe");
            QCOMPARE(difference(w_->grab().toImage(), "fenetre-calculee"), QString());
            fais("TxtDGUS=20/04/2024");
            fais("Command2");
            QCOMPARE(difference(w_->grab().toImage(), "fenetre-terme"), QString());
            w_ = std::make_unique<Ondagramm>(fake_);
#endif
        }
        const QString noms =
            "CmbNom Etiquette5 Etiquette6 Etiquette7 -AfichIntel -AfichEmoti -AfichPhysi "
            "-Picture1_0 "
            "-Picture1_1 -Picture1_2 -Picture1_3 -Picture2_0 -Picture2_6 MerMamm AfichAge CmdSexe "
            "Slider1 Label1_0 Label1_1 Label1_2 Image1 AfichJour Frame1 Frame2 Frame1/Etiquette1 "
            "Frame1/CmdAjoute Frame1/CmdSup Frame1/Etiquette2 Frame1/TxtDateN Frame1/Etiquette3 "
            "Frame1/TxtDateP Frame1/Command3 Frame1/AfichJourV Frame1/Command1 Frame1/Commande1 "
            "Frame2/Label3 Frame2/TxtDGUS Frame2/Label4 Frame2/TxtAP Frame2/Image2 Frame2/Command2 "
            "-Image1/PictSexe -Image1/Pictgarcon -Image1/PictFille -Image1/PictPGarcon "
            "-Image1/PictPFille -Image1/LblTerme";
        for (QString nom : noms.split(' ')) {
            const bool cache = nom.startsWith('-');
            const QString parent = nom.remove('-').section('/', -2, -2);
            QWidget* w = c(nom.section('/', -1));
            QVERIFY2(w && w->parentWidget() == (parent.isEmpty() ? w_->centralWidget() : c(parent))
                         && w->isHidden() == cache,
                     qPrintable(nom));
        }
        QStringList menu;
        for (const QAction* a : w_->menuBar()->actions())
            menu << a->objectName() + '=' + a->text();
        QCOMPARE(menu, QStringList({"Quitter=Quitter", "Imprimer=Imprimer", "Sexe=Sexe",
                                    "propos=A propos", "Aide=Aide"}));
        QCOMPARE(w_->centralWidget()->size(), QSize(693, 464));
        QVERIFY(w_->minimumSize() == w_->maximumSize()
                && !(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    // Tab runs through the controls in order, each named in French. Enter presses the focused
    // button, else "Calcule"; a typed name is never inserted into the list.
    void clavier()
    {
        c("CmbNom")->setFocus(Qt::TabFocusReason);
        QStringList parcours;
        for (int i = 0; i < 15; ++i) {
            parcours << QApplication::focusWidget()->objectName() + '='
                            + lu(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(parcours,
                 QStringList({"CmbNom=Nom Prénom", "TxtDateN=Date de naissance",
                              "TxtDateP=Date du ondagramme", "TxtDGUS=DGUS",
                              "CmdAjoute=Ajouter la personne", "CmdSup=Supprimer la personne",
                              "Commande1=Calcule", "Command1=Imprimer",
                              "Command2=Ondagrammes prés du terme", "TxtAP=Terme", "CmdSexe=Sexe",
                              "Image1=Ondagramme", "Slider1=Déplacer la date du ondagramme",
                              "Command3=Aujourd'hui", "CmbNom=Nom Prénom"}));
        QStringList presses;
        for (QPushButton* b : w_->findChildren<QPushButton*>())
            connect(b, &QPushButton::clicked, this, [&presses, b] { presses << b->objectName(); });
        QTest::keyClicks(c("CmbNom"), "Jean");
        for (const QString f :
             {"TxtDateP", "TxtAP", "CmbNom", "Slider1", "Image1", "CmdSup", "Command3"}) {
            c(f)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(presses.join(','),
                     f.startsWith("Cmd") || f.startsWith("Command") ? f : "Commande1");
            presses.clear();
            QVERIFY(f != "CmbNom" || c<QComboBox>("CmbNom")->count() == 0);
        }
        QTest::keyClick(c("TxtDateN"), Qt::Key_Enter);
        QTest::keyClick(c("CmdSexe"), Qt::Key_Space);
        QCOMPARE(presses, QStringList({"Commande1", "CmdSexe"}));
    }

    // After a computation: the design pixels' values; the chart at the screen's resolution, each
    // line and tick one whole width; every caption whole inside its control (a button's a pixel
    // clear of its border and under its picture).
    void apresCalcul()
    {
        calcule("17/05/2004");
        QCOMPARE(valeurs(), QList<int>({15, 32, -37}));
        const qreal r = w_->devicePixelRatioF();
        // Device pixels of a one-pixel line and of the five-pixel marker, by scale.
        const QMap<qreal, QPair<int, int>> largeurs{
            {1, {1, 5}}, {1.25, {1, 6}}, {1.5, {2, 8}}, {1.75, {2, 9}}, {2, {2, 10}}};
        const auto [trait, marqueur] = largeurs[r];
        // The widths of the runs of each colour met from a device pixel of the window, by steps.
        const QImage ecran = w_->grab().toImage();
        const auto passages = [&ecran](QPoint p, QPoint pas, int n) {
            QMap<QRgb, QSet<int>> vus;
            for (int i = 1, longueur = 1; i <= n; ++i, ++longueur, p += pas)
                if (i == n || ecran.pixel(p) != ecran.pixel(p + pas))
                    vus[ecran.pixel(p)] << std::exchange(longueur, 0);
            return vus;
        };
        const auto place = [&](const char* nom) {
            return QRect(c(nom)->mapTo(w_.get(), QPoint()) * r, c(nom)->size() * r);
        };
        const QRect g = place("Image1"), s = place("Slider1");
        // A row above the curves, a column left of the first day line, the ticks' row.
        const auto rangee = passages(g.topLeft() + QPoint(0, qRound(7 * r)), {1, 0}, g.width());
        const auto colonne = passages(g.topLeft() + QPoint(qRound(4 * r), 0), {0, 1}, g.height());
        const auto tirets = passages(s.topLeft() + QPoint(0, qRound(23.5 * r)), {1, 0}, s.width());
        QCOMPARE(rangee[qRgb(0, 0, 128)], QSet<int>{trait});
        QCOMPARE(rangee[qRgb(255, 0, 0)], QSet<int>{marqueur});
        // The frame's four sides, the chart's own left and top, the zero line, the ticks; the
        // borders of a framed label and of the flat button, down past the end of their texts.
        const auto bord = [&](const char* nom) {
            const QRect b = place(nom);
            return passages(b.topRight() - QPoint(qRound(4 * r), 0), {0, 1},
                            b.height())[qRgb(0, 0, 0)];
        };
        QCOMPARE(rangee[qRgb(0, 0, 0)] + colonne[qRgb(0, 0, 0)] + tirets[qRgb(0, 0, 0)]
                     + bord("MerMamm") + bord("Commande1"),
                 QSet<int>{trait});
        // Down each column, the physical curve: as wide as a line where flat, never thinner
        // but where another curve crosses it.
        QMap<int, int> frequences; // by width
        for (int x = 0; x < g.width(); ++x)
            for (int l :
                 passages(g.topLeft() + QPoint(x, 0), {0, 1}, g.height()).value(qRgb(128, 0, 0)))
                ++frequences[l];
        const int fins = std::accumulate(frequences.begin(), frequences.lowerBound(trait), 0);
        QVERIFY(frequences.value(trait) > 100 && fins < 5);

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
        for (QLabel* l : w_->findChildren<QLabel*>()) {
            if (l->text().isEmpty() || !l->isVisibleTo(w_.get()))
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
        for (QPushButton* b : w_->findChildren<QPushButton*>()) {
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

    // From a Calcule on 17/05/2004 (D = 12,555), picture shown, Etiquette7 hidden, a term box
    // filled: gestures; TxtDateP, D, values, the strip's first day, what changed (C Calcule,
    // T near-term chart, L only the labels shown, R only redrawn), the sex button.
    void routes()
    {
        const QString j = "17/05/2004", dgus = "TxtDGUS=20/04/2024",
                      P = "TxtDateP=", S = "Sexe probable si conception le ";
        const QList<int> v{15, 32, -37};
        // clang-format off
        const std::tuple<QStringList, QString, int, QList<int>, const char*, char, QString> cas[] = {
            {{P + "10/03/2004", "Commande1"}, "10/03/2004", 12487, {32, -11, -26}, "24/02/2004", 'C', S + "10/03/2004"},
            {{dgus, "Command2"}, "20/01/2025", 20093, {44, 39, 50}, "21/12/2024", 'T', "Sexe"},
            {{dgus, "Command2", "Commande1"}, "20/01/2025", 20108, {44, 39, 50}, "05/01/2025", 'C', S + "20/01/2025"},
            {{"Command2"}, j, 12555, v, "02/05/2004", 'L', S + j},
            {{dgus, "TxtDateN=", "Command2"}, j, 12555, v, "02/05/2004", 'L', S + j},
            {{P + "20/05/2004"}, "20/05/2004", 12555, v, "05/05/2004", 'R', "Sexe"},
            {{P + "20/05/2004", "Command3"}, j, 12555, v, "02/05/2004", 'R', "Sexe"},
            {{"Slider1:Home"}, "01/05/2004", 12539, {-10, -45, 44}, "16/04/2004", 'C', S + "01/05/2004"},
            {{"Slider1>5"}, "22/05/2004", 12560, {-30, -21, 26}, "07/05/2004", 'C', S + "22/05/2004"},
            {{dgus, "TxtDateN=31/02/1970", "Commande1"}, j, 12555, v, "02/05/2004", 'C', S + j},
            {{P + "17/05/2", "Commande1"}, "17/05/2", 12555, v, "02/05/2004", 'C', "Sexe"},
            {{P + "17/05/2", "Picture1_2:double"}, "17/05/2", 12555, v, "02/05/2004", 'R', "Sexe"},
            {{P + "17/05/2", "Slider1>5"}, "17/05/2", 12555, v, "02/05/2004", 'C', "Sexe"},
            {{P + "17/05/04", "TxtDateN:Return"}, "17/05/04", 12555, v, "02/05/2004", 'C', S + "17/05/04"},
            {{P + "17/5/2004", "TxtAP:Return"}, "17/5/2004", 12555, v, "02/05/2004", 'C', S + "17/5/2004"}};
        // clang-format on
        for (const auto& [gestes, date, D, attendues, bande, effet, legende] : cas) {
            calcule(j);
            fais("CmdSexe");
            c("Etiquette7")->hide();
            c<QLineEdit>("TxtAP")->setText("?");
            for (const QString& geste : gestes)
                fais(geste);
            const bool terme = effet == 'T';
            QVERIFY2(t("TxtDateP") == date && w_->etat().JoursVecus == D && valeurs() == attendues
                         && lu(c("AfichJour"), QAccessible::Description).section(' ', 2, 2) == bande
                         && w_->etat().ColonneDate == (terme ? 590 : 304)
                         && cachee("LblTerme") != terme && cachee("Slider1") == terme
                         && c<QSlider>("Slider1")->value() == 0
                         && cachee("Etiquette7") == (effet == 'R')
                         && cachee("PictSexe") == (effet == 'C' || terme)
                         && (t("TxtDGUS").isEmpty() && t("TxtAP").isEmpty()) == (effet == 'C'),
                     qPrintable(gestes.join(", ")));
            QCOMPARE(t("CmdSexe"), legende);
        }
        // The picture is refused while a pregnancy box holds anything, even blanks.
        for (const char* boite : {"TxtAP", "TxtDGUS"}) {
            calcule(j);
            c<QLineEdit>(boite)->setText(" ");
            fais("CmdSexe");
            QVERIFY2(cachee("PictSexe"), boite);
        }
    }

    // The term follows the reference date as typed, at each step that reads as a date (15/03 is
    // that day this year, 15/03/20 in 2020), and stays when it is erased.
    void dates()
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

    // Faces: up to -40 level 0, -20 1, -5 2, 5 3, 20 4, 40 5, else 6. Picture: P > 0 >= E a
    // boy, P <= 0 < E a girl, P > E > 0 rather a boy, P < E < 0 rather a girl, else the last one.
    // Two equal values blink together, three do not; a redraw leaves the blinking ones hidden.
    void etiquettes()
    {
        // clang-format off
        const std::tuple<const char*, QList<int>, QList<int>, Cachees, QString> cas[] = {
            {"21/11/2002", {0, 0, 50}, {3, 3, 6}, {1, 1, 0}, "Pictgarcon"},
            {"24/02/2003", {-35, 32, 32}, {1, 5, 5}, {0, 1, 1}, ""},
            {"04/01/2003", {44, -21, 44}, {6, 1, 6}, {1, 0, 1}, "Pictgarcon"},
            {"29/11/2004", {32, 32, 32}, {5, 5, 5}, Cachees(3), ""},
            {"13/01/1970", {38, 23, -6}, {5, 5, 2}, Cachees(3), "PictFille"},
            {"26/04/1970", {5, 32, 0}, {3, 5, 3}, Cachees(3), "PictFille"},
            {"02/01/1970", {9, 11, 13}, {4, 4, 4}, Cachees(3), "PictPGarcon"},
            {"17/01/1970", {6, -21, -47}, {4, 1, 0}, Cachees(3), "PictPFille"},
            {"26/03/1970", {-13, 0, -40}, {2, 3, 0}, Cachees(3), ""}};
        // clang-format on
        for (const auto& [date, attendues, niveaux, paire, sexe] : cas) {
            calcule(sexe == "Pictgarcon" ? "13/01/1970"
                                         : "04/01/2003"); // a picture the rule won't pick
            const QImage avant = visage("PictSexe");
            calcule(date);
            QCOMPARE(valeurs(), attendues);
            for (int k = 0; k < 3; ++k) {
                const QString humeur = QStringLiteral("Picture1_%1").arg(k + 1);
                QVERIFY(!cachee(humeur));
                for (int n = 0; n < 7; ++n)
                    QCOMPARE(visage(humeur) == visage(QStringLiteral("Picture2_%1").arg(n)),
                             n == niveaux[k]);
            }
            fais("CmdSexe");
            QVERIFY(!cachee("PictSexe") && (sexe.isEmpty() || visage(sexe) != avant));
            QCOMPARE(visage("PictSexe"), sexe.isEmpty() ? avant : visage(sexe));
            for (int tic = 1; tic <= 3; ++tic) {
                QMetaObject::invokeMethod(c<QTimer>("Timer1"), "timeout");
                QCOMPARE(cachees(), tic % 2 ? paire : Cachees(3, false));
            }
            fais("TxtDateP=20/05/2004");
            QCOMPARE(cachees(), paire);
        }
    }
};

QTEST_MAIN(TestFenetre)
#include "test_fenetre.moc"
