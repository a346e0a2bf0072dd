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
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>

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
#ifdef SIGXFSZ
        QVERIFY(std::signal(SIGXFSZ, SIG_IGN) == SIG_IGN); // a file-size limit is no death
#endif
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

    // Where the directory is read and changed: beside a program copied into a folder of its own
    // it may write in, else in the user's data folder (made on the first change); one that
    // stands only beside a read-only program (a read-only mount: root cannot write there
    // either) is listed from there and changed in a copy in the user's folder, which is said.
    void emplacement_data()
    {
        QTest::addColumn<bool>("installe");
        QTest::addColumn<int>("inscriptible"); // -1: the program's folder mounted read-only
        QTest::addColumn<QString>("fichiers"); // who has a trivo.dat: "programme", "utilisateur"
        QTest::addColumn<QString>("lu");       // whose person is listed
        QTest::addColumn<QString>("change");   // where the change goes
        const auto row = [](const char* cas, bool installe, int inscriptible, const char* fichiers,
                            const char* lu, const char* change) {
            QTest::newRow(cas) << installe << inscriptible << QString(fichiers) << QString(lu)
                               << QString(change);
        };
        row("copie, l'utilisateur en a un", false, 1, "utilisateur", "", "programme");
        row("copie, les deux", false, 1, "programme utilisateur", "programme", "programme");
        row("lecture seule, à côté", false, 0, "programme", "programme", "utilisateur");
        row("lecture seule, les deux", false, 0, "programme utilisateur", "utilisateur",
            "utilisateur");
        row("monté en lecture seule", false, -1, "programme", "programme", "utilisateur");
        row("installé, vierge", true, 0, "", "", "utilisateur");
        row("installé, par root", true, 1, "programme utilisateur", "utilisateur", "utilisateur");
    }
    void emplacement()
    {
        QFETCH(bool, installe);
        QFETCH(int, inscriptible);
        QFETCH(QString, fichiers);
        QFETCH(QString, lu);
        QFETCH(QString, change);
        QTemporaryDir racine;
        const QString depot = racine.filePath("depot"),
                      utilisateur = racine.filePath("utilisateur");
        QString programme = racine.filePath("programme");
        QDir().mkpath(depot);
        QDir().mkpath(programme);
        for (const QString& qui : fichiers.split(' ', Qt::SkipEmptyParts)) {
            QDir().mkpath(racine.filePath(qui));
            QFile f((qui == "programme" ? depot : utilisateur) + "/trivo.dat");
            QVERIFY(f.open(QIODevice::WriteOnly)
                    && f.write("nom=" + qui.toLatin1() + ";Naissan=1\n"));
        }
        bool monte = false;
        const auto demonte = qScopeGuard([&] {
            if (monte)
                QProcess::execute("umount", {programme});
        });
        if (inscriptible >= 0)
            programme = depot;
        else if (!(monte =
                       QProcess::execute("mount", {"--bind", "-o", "ro", depot, programme}) == 0))
            QSKIP("Monter un dossier en lecture seule n'est pas permis ici.");
        QVERIFY(inscriptible >= 0 || !dz::inscriptible(programme)); // even for root
        struct : Avertisseur {
            QStringList textes;
            void information(const QString& texte) override { textes << texte; }
            void alerte(const QString& texte) override { textes << texte; }
            void erreur(Echec) override { textes << "erreur"; }
        } dits;
        const Emplacement ici =
            emplacementAnnuaire(programme, installe, inscriptible == 1, utilisateur);
        Annuaire annuaire(dits);
        annuaire.fixeDossier(ici.dossier, ici.repli);
        const QStringList avant = lu.isEmpty() ? QStringList() : QStringList{lu};
        QCOMPARE(annuaire.ChargeAnnuaire(), avant);
        dits.textes.clear();
        QCOMPARE(annuaire.AjouteFiche("Zoé", "1").noms, avant + QStringList{"Zoé"});
        const QString ecrit = (change == "programme" ? programme : utilisateur) + "/trivo.dat";
        const QStringList copie{"« " + QDir::toNativeSeparators(programme + "/trivo.dat")
                                + " » est en lecture seule : l'annuaire modifié est enregistré "
                                  "dans « "
                                + QDir::toNativeSeparators(utilisateur + "/trivo.dat")
                                + " », que Dazozare utilise désormais."};
        QCOMPARE(dits.textes, lu == "programme" && change == "utilisateur" ? copie : QStringList());
        QFile f(ecrit);
        QVERIFY(f.open(QIODevice::ReadOnly) && f.readAll().endsWith("nom=Zo\xE9;Naissan=1\r\n"));
        QCOMPARE(annuaire.ChargeAnnuaire(), avant + QStringList{"Zoé"}); // the copy from now on
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
