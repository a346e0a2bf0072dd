// Start-up splash, About window, help command and quit.

#include "app/programme.h"
#include "directory/annuaire.h"
#include "mainwindow/ondagramm.h"
#include "platform/plateforme.h"
#include "shell/aide.h"
#include "shell/form0.h"
#include "shell/frmabout.h"
#include "support/fakeplatform.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace dz;

namespace {

QString texte(QWidget* w, const char* nom) { return w->findChild<QLabel*>(nom)->text(); }

// Runs the event loop until it ends by itself, or a safety net ends it with 99.
int boucle()
{
    QObject filet;
    QTimer::singleShot(5000, &filet, [] { QCoreApplication::exit(99); });
    return QApplication::exec();
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(*qApp); }
    void cleanup() { delete frmAbout::ouvert(); }

    // One face for the whole program, message boxes included; their buttons in French and
    // without the style's fallback pictures.
    void apparence()
    {
#ifdef Q_OS_WIN
        const QString face = "Microsoft Sans Serif";
#else
        const QString face = "Liberation Sans";
#endif
        QCOMPARE(QApplication::font().family(), face);
        QCOMPARE(QApplication::font().pixelSize(), 11);
        QMessageBox boite(QMessageBox::Question, "Annuaire...", "Essai",
                          QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boite.findChild<QLabel*>("qt_msgbox_label")->font().family(), face);
        for (const auto& [bouton, texte] :
             {std::pair{QMessageBox::Yes, "&Oui"}, {QMessageBox::No, "&Non"}}) {
            QCOMPARE(boite.button(bouton)->text(), texte);
            QVERIFY(boite.button(bouton)->icon().isNull());
        }
        QCOMPARE(QCoreApplication::translate("QPrintPropertiesDialog", "Printer Properties"),
                 "Propriétés de l'imprimante"); // one that Qt's own catalogue lacks
    }

    // The splash hands over once its interval is over, already closed. Its closing does not
    // end the event loop, even when the next window's load lets pending events run first.
    void splash()
    {
        QElapsedTimer chrono;
        qint64 passation = -1;
        bool visible = true;
        QWidget principale;
        QPointer<Form0> splash = new Form0(
            [&] {
                passation = chrono.elapsed();
                visible = splash && splash->isVisible();
                QCoreApplication::processEvents();
                principale.show();
                QTimer::singleShot(300, &principale, [] { QCoreApplication::exit(42); });
            },
            300);
        QStringList textes;
        for (const char* nom : {"LblTitle", "LblVersion", "Label3", "Label6", "Label2", "Label4"})
            textes << texte(splash, nom);
        QCOMPARE(textes, QStringList({"Dazozare", "Version 5.1.1", "Les ondagrammes en obstétrique",
                                      "Calvéo", "Dr Élise Marvoint", "avec Noé Castrel"}));
        chrono.start();
        splash->show();
        QCOMPARE(boucle(), 42);
        QVERIFY(passation >= 300);
        QVERIFY(!visible);
        QVERIFY(splash.isNull());
    }

    // One About window for two commands. Tab reaches its web link, which a screen reader hears
    // as a link; Enter, Space and a click open it, hovering darkens it for good. Quitter ends the
    // event loop at once, closing nothing; Enter or Escape on the window closes it.
    void apropos()
    {
        for (const auto touche : {Qt::Key_Return, Qt::Key_Escape}) {
            FakePlateforme p;
            QPointer<frmAbout> a = montreAPropos(p);
            QCOMPARE(montreAPropos(p), a.data());
            QCOMPARE(a->windowTitle(), QStringLiteral("À propos de Dazozare"));
            QCOMPARE(texte(a, "lblVersion"), "T R I V I X  Version 5.1.1");
            QCOMPARE(texte(a, "lblTitle"), "Conçu par Dr Élise Marvoint "); // its trailing blank
            QVERIFY(QTest::qWaitForWindowActive(a));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* lien = QApplication::focusWidget();
            QCOMPARE(lien->objectName(), "Label1");
            const QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(lien);
            QCOMPARE(lu->role(), QAccessible::Link);
            QCOMPARE(lu->text(QAccessible::Name), "https://www.dazozare.example/");
            QTest::keyClick(lien, Qt::Key_Return);
            QTest::keyClick(lien, Qt::Key_Space);
            const auto couleur = [lien] { return lien->palette().color(QPalette::WindowText); };
            QCOMPARE(couleur(), QColor(0, 0, 255));
            QTest::mouseMove(lien, lien->rect().center());
            QTRY_COMPARE(couleur(), QColor(0, 0, 192));
            QTest::mouseClick(lien, Qt::LeftButton);
            QTest::mouseMove(a, QPoint(5, 5));
            QCOMPARE(couleur(), QColor(0, 0, 192));
            QCOMPARE(p.urlsOuvertes, QList<QUrl>(3, QUrl("https://www.dazozare.example/")));
            QTimer::singleShot(0, &quitte);
            QCOMPARE(boucle(), 0);
            QVERIFY(a && a->isVisible());
            QTest::keyClick(a, touche);
            QTRY_VERIFY2(a.isNull(), touche == Qt::Key_Return ? "Entrée" : "Échap");
        }
    }

    // Where the directory is read and written: beside a program copied into a folder of its own
    // it may write in, else in the user's data folder (made on the first change), wherever a
    // "trivo.dat" may already stand.
    void dossierDonnees_data()
    {
        QTest::addColumn<bool>("installe");
        QTest::addColumn<bool>("inscriptible");
        QTest::addColumn<QString>("fichiers"); // who has a trivo.dat: "programme", "utilisateur"
        QTest::addColumn<QString>("attendu");
        const auto row = [](const char* cas, bool installe, bool inscriptible, const char* fichiers,
                            const char* attendu) {
            QTest::newRow(cas) << installe << inscriptible << QString(fichiers) << QString(attendu);
        };
        row("copie, l'utilisateur en a un", false, true, "utilisateur", "programme");
        row("copie, les deux", false, true, "programme utilisateur", "programme");
        row("lecture seule, à côté", false, false, "programme", "utilisateur");
        row("installé, vierge", true, false, "", "utilisateur");
        row("installé, par root", true, true, "programme utilisateur", "utilisateur");
    }
    void dossierDonnees()
    {
        QFETCH(bool, installe);
        QFETCH(bool, inscriptible);
        QFETCH(QString, fichiers);
        QTemporaryDir racine;
        const QString programme = racine.filePath("programme"),
                      utilisateur = racine.filePath("utilisateur");
        QDir().mkpath(programme);
        for (const QString& qui : fichiers.split(' ', Qt::SkipEmptyParts)) {
            QDir().mkpath(racine.filePath(qui));
            QFile f(racine.filePath(qui + "/trivo.dat"));
            QVERIFY(f.open(QIODevice::WriteOnly)
                    && f.write("nom=" + qui.toLatin1() + ";Naissan=1\r\n"));
        }
        struct : Avertisseur {
            void information(const QString&) override {}
            void alerte(const QString&) override {}
            void erreur(Echec) override {}
        } muet;
        Annuaire annuaire(muet);
        annuaire.fixeDossier(dz::dossierDonnees(programme, installe, inscriptible, utilisateur));
        QFETCH(QString, attendu);
        QCOMPARE(annuaire.ChargeAnnuaire(),
                 fichiers.contains(attendu) ? QStringList{attendu} : QStringList());
        QCOMPARE(annuaire.AjouteFiche("Zoé", "1").issue, Annuaire::Issue::Fait);
        QFile lu(racine.filePath(attendu + "/trivo.dat"));
        QVERIFY(lu.open(QIODevice::ReadOnly) && lu.readAll().contains("nom=Zo\xE9;Naissan=1\r\n"));
    }

    // Each command of the menu bar does what its button or window does; "Imprimer" with a birth
    // date that is not a date does nothing at all, not even a redraw.
    void menu_data()
    {
        QTest::addColumn<QString>("commande");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("effets");
        QTest::newRow("Quitter") << "Quitter"
                                 << "1/1/70"
                                 << "fin 0";
        QTest::newRow("Imprimer") << "Imprimer"
                                  << "1/1/70"
                                  << "redessiné, imprimante";
        QTest::newRow("Imprimer, sans date") << "Imprimer"
                                             << "1/1/"
                                             << "";
        QTest::newRow("Imprimer, naissance vide") << "Imprimer"
                                                  << ""
                                                  << "";
        QTest::newRow("Sexe") << "Sexe"
                              << "1/1/70"
                              << "sexe";
        QTest::newRow("A propos") << "propos"
                                  << ""
                                  << "à propos";
        QTest::newRow("Aide") << "Aide"
                              << ""
                              << "aide";
    }
    void menu()
    {
        FakePlateforme p;
        QFile aide(p.dossierApp + "/Dazozare.hlp");
        QVERIFY(aide.open(QIODevice::WriteOnly) && aide.write("<p>Aide</p>") && aide.flush());
        Ondagramm w(p);
        relieMenus(w, p);
        w.show();
        QFETCH(QString, naissance);
        w.findChild<QLineEdit*>("TxtDateN")->setText(naissance);
        w.findChild<QWidget*>("Picture1_1")->hide(); // shown again by the next redraw
        int imprimantes = 0;
        p.imprimante = [&](QWidget*, QPrinter&) { return ++imprimantes, false; };
        QFETCH(QString, commande);
        QObject filet;
        QTimer::singleShot(0, w.findChild<QAction*>(commande), &QAction::trigger);
        QTimer::singleShot(300, &filet, [] { QCoreApplication::exit(7); });
        const int fin = QApplication::exec();
        QStringList effets;
        const auto si = [&](bool vrai, const QString& effet) {
            if (vrai)
                effets << effet;
        };
        si(fin != 7, "fin " + QString::number(fin));
        si(!w.findChild<QWidget*>("Picture1_1")->isHidden(), "redessiné");
        si(imprimantes == 1, "imprimante");
        si(w.findChild<QWidget*>("PictSexe")->isVisible(), "sexe");
        si(frmAbout::ouvert(), "à propos");
        si(w.findChild<VisionneuseAide*>(), "aide");
        QTEST(effets.join(", "), "effets");
    }

    // Without its file the help command does nothing at all; with it, the reader shows it.
    void aide()
    {
        FakePlateforme p;
        QWidget principale;
        montreAide(p, &principale);
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{&principale});
        QFile f(p.dossierApp + "/Dazozare.hlp");
        QVERIFY(f.open(QIODevice::WriteOnly)
                && f.write("<title>Essai</title><p>Dans @DOSSIER_ANNUAIRE@.</p>") && f.flush());
        montreAide(p, &principale);
        auto* lecteur = principale.findChild<VisionneuseAide*>();
        QVERIFY(lecteur && lecteur->isVisible());
        QCOMPARE(lecteur->windowTitle(), "Essai");
        QCOMPARE(lecteur->texte()->toPlainText(), // where the directory is
                 "Dans " + QDir::toNativeSeparators(p.dossierApp) + ".");
        QVERIFY(p.messages.isEmpty());
        for (const QKeySequence& touche : {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}) {
            montreAide(p, &principale);
            QPointer<VisionneuseAide> ouvert = principale.findChild<VisionneuseAide*>();
            QVERIFY(QTest::qWaitForWindowActive(ouvert));
            QTest::keySequence(ouvert, touche);
            QTRY_VERIFY2(!ouvert, qPrintable(touche.toString()));
        }
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
