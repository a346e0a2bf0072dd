// Start-up splash, About window, help command and quit.

#include "shell/form0.h"
#include "shell/shell.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

template <typename T = QLabel>
T* enfant(QWidget* w, const QString& nom) { return w->findChild<T*>(nom); }

int fenetres(const char* classe)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->inherits(classe) && w->isVisible();
    return n;
}

// Runs the event loop until it ends by itself, or a safety net ends it with 99.
int boucle()
{
    QTimer filet;
    filet.callOnTimeout([] { QCoreApplication::exit(99); });
    filet.start(5000);
    return QApplication::exec();
}

QColor couleurLien(QWidget* a) { return enfant(a, "Label1")->palette().color(QPalette::WindowText); }

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        QList<QPointer<QWidget>> restes;
        for (QWidget* w : QApplication::topLevelWidgets())
            restes.append(w);
        for (const auto& w : restes)
            delete w.data();
    }

    void splash_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QRect>("zone");
        QTest::addColumn<QColor>("couleur");
        QTest::addColumn<int>("pixels");
        const QColor vert(0, 64, 0), marine(0, 0, 128);
        QTest::newRow("titre") << "LblTitle" << "Dazozare" << QRect(56, 8, 249, 33) << vert << 32;
        QTest::newRow("version") << "LblVersion" << "Version 5.1.1" << QRect(312, 16, 121, 25) << vert << 16;
        QTest::newRow("sous-titre") << "Label3" << "Les ondagrammes en obstétrique" << QRect(48, 256, 385, 25) << vert << 18;
        QTest::newRow("fabricant") << "Label6" << "Calvéo" << QRect(184, 288, 121, 41) << QColor(128, 128, 0) << 32;
        QTest::newRow("auteur") << "Label2" << "Dr Élise Marvoint" << QRect(8, 312, 161, 17) << marine << 13;
        QTest::newRow("crédit") << "Label4" << "avec Noé Castrel" << QRect(352, 312, 129, 17) << marine << 11;
    }

    void splash()
    {
        QFETCH(QString, nom);
        QFETCH(QString, texte);
        QFETCH(QRect, zone);
        Form0 splash([] {});
        QCOMPARE(splash.size(), QSize(489, 338));
        QCOMPARE(splash.windowType(), Qt::SplashScreen);
        QCOMPARE(splash.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(enfant(&splash, "Image1")->pixmap().deviceIndependentSize().toSize(), QSize(441, 153));

        QLabel* l = enfant(&splash, nom);
        QVERIFY(l);
        QCOMPARE(l->text(), texte);
        QCOMPARE(l->geometry(), zone);
        QTEST(l->palette().color(QPalette::WindowText), "couleur");
        QTEST(l->font().pixelSize(), "pixels");
        QVERIFY2(l->fontMetrics().horizontalAdvance(texte) <= zone.width(), "fits on one line");
    }

    void splash_passe_la_main_apres_l_intervalle()
    {
        const int intervalle = 300;
        QPointer<Form0> guet;
        int appels = 0;
        bool visibleALaPassation = true;
        QElapsedTimer chrono;
        qint64 ecoule = -1;
        guet = new Form0([&] {
            ++appels;
            ecoule = chrono.elapsed();
            visibleALaPassation = guet && guet->isVisible();
        }, intervalle);
        chrono.start();
        guet->show();
        QVERIFY(QTest::qWaitForWindowExposed(guet));

        // Clicks and keys do nothing.
        QTest::mouseClick(guet, Qt::LeftButton, {}, QPoint(240, 160));
        QTest::keyClick(guet, Qt::Key_Escape);
        QTest::keyClick(guet, Qt::Key_F4, Qt::AltModifier);
        QTest::qWait(intervalle / 2);
        QCOMPARE(appels, 0);
        QVERIFY(guet && guet->isVisible());

        QTRY_COMPARE(appels, 1);
        QVERIFY(ecoule >= intervalle);
        QVERIFY(!visibleALaPassation);
        QTRY_VERIFY(guet.isNull());
        QTest::qWait(intervalle + 100);
        QCOMPARE(appels, 1);
    }

    // Closing the splash while no other window is open must not end the event loop, even
    // when the main window's load lets pending events run before the window is shown
    // (Qt drops a pending automatic quit only when a window gets shown).
    void splash_ne_termine_pas_le_programme()
    {
        QPointer<QWidget> principale;
        (new Form0([&] {
            QCoreApplication::processEvents();
            principale = new QWidget;
            principale->show();
            QTimer::singleShot(300, [] { QCoreApplication::exit(42); });
        }, 50))->show();
        QCOMPARE(boucle(), 42);
        QVERIFY(principale && principale->isVisible());
    }

    void apropos_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("texte");
        QTest::newRow("version") << "lblVersion" << "T R I V I X  Version 5.1.1";
        QTest::newRow("lien") << "Label1" << "https://www.dazozare.example/";
        QTest::newRow("crédit, un blanc final") << "lblTitle" << "Conçu par Dr Élise Marvoint ";
    }

    void apropos()
    {
        FakePlateforme p;
        frmAbout* a = montreAPropos(p);
        QCOMPARE(montreAPropos(p), a);
        QCOMPARE(fenetres("frmAbout"), 1);
        QCOMPARE(a->windowTitle(), QStringLiteral("À propos de Dazozare"));
        QCOMPARE(a->size(), QSize(272, 267));
        QCOMPARE(a->minimumSize(), a->maximumSize());
        QVERIFY(!(a->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!a->isModal());
        auto* ok = enfant<QPushButton>(a, "cmdOK");
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->geometry(), QRect(96, 232, 84, 23));
        QWidget* ligne = enfant<QWidget>(a, "Line1");
        QCOMPARE(ligne->geometry().top(), 216);
        QVERIFY(ligne->x() <= 0 && ligne->geometry().right() >= a->width() - 1);
        QCOMPARE(ligne->palette().color(QPalette::Window), QColor(128, 128, 128));

        QFETCH(QString, nom);
        QFETCH(QString, texte);
        QLabel* l = enfant(a, nom);
        QVERIFY(l);
        QCOMPARE(l->text(), texte);
        QCOMPARE(l->textFormat(), Qt::PlainText); // rich text would fold the blanks
    }

    void apropos_se_ferme_data()
    {
        QTest::addColumn<int>("touche"); // 0: its close box
        QTest::newRow("Entrée") << int(Qt::Key_Return);
        QTest::newRow("Entrée du pavé") << int(Qt::Key_Enter);
        QTest::newRow("Échap") << int(Qt::Key_Escape);
        QTest::newRow("case de fermeture") << 0;
    }

    void apropos_se_ferme()
    {
        QFETCH(int, touche);
        FakePlateforme p;
        QPointer<frmAbout> a = montreAPropos(p);
        QVERIFY(QTest::qWaitForWindowExposed(a));
        QSignalSpy fermee(a.data(), &frmAbout::fermee);
        if (touche)
            QTest::keyClick(a->focusWidget() ? a->focusWidget() : a.data(), Qt::Key(touche));
        else
            a->close();
        QTRY_VERIFY(a.isNull());
        QCOMPARE(fermee.count(), 1);
        QCOMPARE(frmAbout::ouvert(), nullptr);
    }

    void apropos_lien()
    {
        FakePlateforme p;
        QPointer<frmAbout> a = montreAPropos(p);
        QVERIFY(QTest::qWaitForWindowExposed(a));
        QLabel* lien = enfant(a, "Label1");
        QCOMPARE(lien->cursor().hotSpot(), QPoint(11, 5));
        QCOMPARE(lien->cursor().pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
        QVERIFY(lien->font().underline());

        QTest::mouseMove(enfant<QWidget>(a, "cmdOK"));
        QCOMPARE(couleurLien(a), QColor(0, 0, 255));
        QTest::mouseMove(lien, lien->rect().center());
        QTRY_COMPARE(couleurLien(a), QColor(0, 0, 192));
        QTest::mouseMove(enfant<QWidget>(a, "cmdOK"));
        QEvent depart(QEvent::Leave);
        QCoreApplication::sendEvent(lien, &depart);
        QCOMPARE(couleurLien(a), QColor(0, 0, 192));

        QTest::mouseClick(lien, Qt::RightButton);
        QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(p.urlsOuvertes.isEmpty());
        QTest::mouseClick(lien, Qt::LeftButton);
        QCOMPARE(p.urlsOuvertes, QList<QUrl>{QUrl("https://www.dazozare.example/")});
        QVERIFY(p.messages.isEmpty());

        a->close(); // a fresh window starts with the light blue again
        QTRY_VERIFY(a.isNull());
        QCOMPARE(couleurLien(montreAPropos(p)), QColor(0, 0, 255));
    }

    void aide_data()
    {
        QTest::addColumn<QByteArray>("contenu"); // "<dossier>": a folder in its place
        QTest::addColumn<QString>("titre");      // empty: nothing may be shown
        QTest::newRow("présente") << QByteArray("<html><head><title>Aide d'essai</title></head>"
                                                "<body><p>Calcule</p></body></html>")
                                  << "Aide d'essai";
        QTest::newRow("absente") << QByteArray() << QString();
        QTest::newRow("illisible") << QByteArray("<dossier>") << QString();
    }

    void aide()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, titre);
        FakePlateforme p;
        const QString chemin = p.dossierApp + "/Dazozare.hlp";
        if (contenu == "<dossier>")
            QVERIFY(QDir().mkdir(chemin));
        else if (!contenu.isEmpty()) {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenu) == contenu.size());
        }
        QWidget principale;
        principale.show();
        const int avant = QApplication::topLevelWidgets().size();

        montreAide(p, &principale);
        montreAide(p, &principale);
        QCOMPARE(fenetres("VisionneuseAide"), titre.isEmpty() ? 0 : 1);
        QCOMPARE(QApplication::topLevelWidgets().size(), avant + (titre.isEmpty() ? 0 : 1));
        if (auto* lecteur = principale.findChild<VisionneuseAide*>())
            QCOMPARE(lecteur->windowTitle(), titre);
        QVERIFY(p.messages.isEmpty());
    }

    // The help file shipped with the program covers the main window.
    void aide_du_programme()
    {
        FakePlateforme p;
        QVERIFY(QFile::copy(QFINDTESTDATA("../resources/Dazozare.hlp"), p.dossierApp + "/Dazozare.hlp"));
        QWidget principale;
        montreAide(p, &principale);
        auto* lecteur = principale.findChild<VisionneuseAide*>();
        QVERIFY(lecteur);
        QCOMPARE(lecteur->windowTitle(), QStringLiteral("Aide de Dazozare"));
        const QString texte = lecteur->texte()->toPlainText();
        for (const char* sujet :
             {"Date de naissance", "Date du ondagramme", "Calcule", "Entrée", "Aujourd'hui",
              "curseur", "-50", "+50", "clignot", "jours de vie", "Ajouter", "Supprimer",
              "trivo.dat", "Sexe", "Accouchement", "DGUS", "Terme", "Ondagrammes prés du terme",
              "Imprimer", "Quitter", "A propos", "Intellectuel", "Emotionnel", "Physique"})
            QVERIFY2(texte.contains(QString::fromUtf8(sujet)), sujet);
    }

    void quitte_meme_avec_apropos_ouvert()
    {
        FakePlateforme p;
        QWidget principale;
        principale.show();
        QPointer<frmAbout> a = montreAPropos(p);
        QSignalSpy fermee(a.data(), &frmAbout::fermee);
        QTimer::singleShot(0, &quitte);
        QCOMPARE(boucle(), 0);
        QVERIFY(a && a->isVisible() && principale.isVisible()); // nothing was closed
        QCOMPARE(fermee.count(), 0);
    }

    void fermer_la_principale_laisse_vivre_apropos()
    {
        FakePlateforme p;
        auto* principale = new QWidget;
        principale->setAttribute(Qt::WA_DeleteOnClose);
        principale->show();
        QPointer<frmAbout> a = montreAPropos(p);
        bool vivaitSansPrincipale = false;
        QTimer::singleShot(0, principale, &QWidget::close);
        QTimer::singleShot(300, [&] {
            vivaitSansPrincipale = a && a->isVisible();
            if (a)
                enfant<QPushButton>(a, "cmdOK")->click();
        });
        QCOMPARE(boucle(), 0); // ended by closing the last window, not by the safety net
        QVERIFY(vivaitSansPrincipale);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
