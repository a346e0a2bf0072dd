// The window's commands and the program around it, through the real controls: the directory
// commands, activation, menu bar, splash, About, help, quitting, where the directory lives.

#include "app/programme.h"
#include "directory/annuaire.h"
#include "mainwindow/ondagramm.h"
#include "shell/aide.h"
#include "shell/form0.h"
#include "shell/frmabout.h"
#include "support/fakeplatform.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <memory>

using namespace dz;

using Octets = QByteArray;
using Noms = QStringList;

namespace {

QString texte(QWidget* w, const char* nom) { return w->findChild<QLabel*>(nom)->text(); }

// Runs the event loop until it ends by itself, or a safety net ends it with 99.
int boucle(int ms = 5000)
{
    QObject filet;
    QTimer::singleShot(ms, &filet, [] { QCoreApplication::exit(99); });
    return QApplication::exec();
}

bool pose(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

// Offscreen, nothing gives the focus back to a window: the user clicks it.
bool active(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// "Ajouter" answered Yes, No, or Yes while a folder takes the file's place; "Supprimer"; a pick
// in the list; back from About after a message box closed; back from the help viewer.
enum class Action { Ajoute, AjouteNon, AjouteEchoue, Supprime, Choisit, RetourAPropos, RetourAide };

const Octets A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), AB = A1 + B, ABA = AB + A1;
const QString D = "5/6/80";

// Before: the file (null: none), another window's change once listed (null: none, empty: gone),
// the name typed after date D; after: file, list, name|date shown, boxes ("E n" report, "? " ask).
struct Cas {
    Action action;
    Octets avant, ailleurs;
    QString saisi;
    Octets apres;
    QString noms, champs;
    Noms boites = {};
};

} // namespace

Q_DECLARE_METATYPE(Cas)

class TestCommandes : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlateforme> p_;
    std::unique_ptr<Ondagramm> w_;

    QComboBox* nom() { return w_->findChild<QComboBox*>("CmbNom"); }
    QLineEdit* dateN() { return w_->findChild<QLineEdit*>("TxtDateN"); }
    QString chemin(const QString& fichier = "trivo.dat") const
    {
        return p_->dossierApp + "/" + fichier;
    }
    // Null leaves the file as it is, empty deletes it.
    void ecrit(const Octets& octets, const QString& fichier = "trivo.dat")
    {
        QVERIFY(
            octets.isNull()
            || (octets.isEmpty() ? QFile::remove(chemin(fichier)) : pose(chemin(fichier), octets)));
    }

private slots:
    void initTestCase() { prepareApplication(*qApp); }
    void cleanup() { delete frmAbout::ouvert(); }
    void init()
    {
        w_.reset(); // before the platform it uses
        p_ = std::make_unique<FakePlateforme>();
    }

    void commande_data()
    {
        QTest::addColumn<Cas>("c");
        const Octets Z = "nom=Z;Naissan=03/11/1975\r\n" + B;
        const Octets Fin = ";Naissan=" + D.toLatin1() + "\r\n"; // a record's end, with the date D
        const QString Q = "? Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                          "Voulez modifier les informations la concernant ?";
        const QString Vide = "Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs "
                             "noms avec leur date de naissance.";
        const Octets Aucun, Efface("");
        using A = Action;
        const auto row = [](const char* nom, const Cas& c) { QTest::newRow(nom) << c; };
        // clang-format off
        row("sans annuaire", {A::Ajoute, Aucun, Aucun, "Duvoro", "nom=Duvoro" + Fin, "Duvoro", "|", {Vide}});
        row("nom vide", {A::Ajoute, AB, Aucun, "", AB, "A|B", "|" + D, {"Vous devez au moins entrez le nom..."}});
        row("listé, non", {A::AjouteNon, ABA, Aucun, "A", ABA, "A|B|A", "A|" + D, {Q}});
        row("listé, oui", {A::Ajoute, ABA, Aucun, "A", B + "nom=A" + Fin, "B|A", "|", {Q}});
        row("modification ratée", {A::AjouteEchoue, AB, Aucun, "A", Aucun, "A|B", "A|" + D, {Q, "E 75"}});
        row("ajouté ailleurs", {A::Ajoute, AB, AB + "nom=Zo;Naissan=9\r\n", "Zo", AB + "nom=Zo" + Fin, "A|B|Zo", "|", {Q}});
        row("supprimé ailleurs", {A::Ajoute, AB, Efface, "A", "nom=A" + Fin, "A", "|"});
        row("dernière personne", {A::Supprime, A1, Aucun, "A", Aucun, "", "|"});
        row("supprimé, fichier parti", {A::Supprime, AB, Efface, "A", Aucun, "A|B", "A|" + D, {"E 53"}});
        row("choix", {A::Choisit, Z, Aucun, "", Z, "Z|B", "Z|03/11/1975"});
        row("choix sans fichier", {A::Choisit, Z, Efface, "", Aucun, "Z|B", "Z|" + D, {"Rien n'a encore été entré dans l'annuaire..."}});
        row("retour d'À propos", {A::RetourAPropos, AB, Efface, "Zo", Aucun, "", "|" + D, {Vide}});
        row("retour de l'aide", {A::RetourAide, AB, Efface, "Zo", Aucun, "A|B", "Zo|" + D});
        // clang-format on
    }
    void commande()
    {
        QFETCH(Cas, c);
        const auto& [action, avant, ailleurs, saisi, apres, noms_, champs, boites_] = c;
        ecrit(avant);
        p_->tirages = {0.5, 0.5, 0.5, 0.9, 0.1, 0.2}; // the colours of two activations
        w_ = std::make_unique<Ondagramm>(*p_);
        relieMenus(*w_, *p_);
        w_->show();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTRY_COMPARE(p_->resemis, 1); // the first activation, queued
        p_->reponses = {action == Action::AjouteNon ? Plateforme::Reponse::Non
                                                    : Plateforme::Reponse::Oui};
        dateN()->setText(D);
        nom()->lineEdit()->setFocus();
        QTest::keyClicks(nom()->lineEdit(), saisi); // last: leaving a listed name is no choice
        ecrit(ailleurs);
        if (action == Action::AjouteEchoue)
            p_->pendantMessage = [this](const FakePlateforme::Message& m) {
                if (m.boutons == Plateforme::Boutons::OuiNon && QFile::remove(chemin()))
                    QDir().mkdir(chemin());
            };
        switch (action) {
        case Action::RetourAPropos: {
            QMessageBox boite; // a message box closing first: that is no return
            boite.show();
            QVERIFY(QTest::qWaitForWindowActive(&boite));
            boite.close();
            QVERIFY(active(w_.get()));
            w_->findChild<QAction*>("propos")->trigger();
            QVERIFY(QTest::qWaitForWindowActive(frmAbout::ouvert()));
            QTest::mouseClick(frmAbout::ouvert()->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
            QTRY_VERIFY(!frmAbout::ouvert());
            QVERIFY(active(w_.get()));
            break;
        }
        case Action::RetourAide: {
            ecrit("<p>Aide</p>", "Dazozare.hlp");
            w_->findChild<QAction*>("Aide")->trigger();
            QWidget* lecteur = w_->findChild<QWidget*>("VisionneuseAide");
            QVERIFY(lecteur && QTest::qWaitForWindowActive(lecteur));
            QTest::keyClick(lecteur, Qt::Key_Escape);
            QVERIFY(active(w_.get()));
            break;
        }
        case Action::Choisit: QTest::keyClick(nom()->lineEdit(), Qt::Key_Down); break;
        case Action::Supprime:
            QTest::mouseClick(w_->findChild<QWidget*>("CmdSup"), Qt::LeftButton);
            break;
        default: QTest::mouseClick(w_->findChild<QWidget*>("CmdAjoute"), Qt::LeftButton); break;
        }
        QFile fichier(chemin());
        QCOMPARE(QFileInfo(fichier).isFile(), !apres.isNull());
        QCOMPARE(fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : Octets(), apres);
        Noms noms;
        for (int i = 0; i < nom()->count(); ++i)
            noms << nom()->itemText(i);
        QCOMPARE(noms.join('|'), noms_);
        QCOMPARE(nom()->currentText() + "|" + dateN()->text(), champs);
        const QString jours = w_->findChild<QWidget*>("AfichJourV")->property("text").toString();
        // Calcule on a choice only: 10,423 days from 3/11/1975 to 17/05/2004.
        QCOMPARE(jours.section(" jours", 0, 0).remove(' ').toInt(),
                 action == Action::Choisit && ailleurs.isNull() ? 10423 : 0);
        const bool retour = action == Action::RetourAPropos;
        QCOMPARE(p_->resemis, retour ? 2 : 1);
        QCOMPARE(w_->findChild<QWidget*>("zoneClient")->palette().window().color(),
                 retour ? QColor(243, 138, 148) : QColor(192, 178, 178));
        Noms boites;
        for (const FakePlateforme::Message& m : p_->messages)
            boites << (m.titre == "Erreur..." ? "E " + m.texte.section("\r\n", 3, 3)
                       : m.boutons == Plateforme::Boutons::OuiNon ? "? " + m.texte
                                                                  : m.texte);
        QCOMPARE(boites, boites_);
    }

    // One face for the whole program, message boxes included, their buttons in French. A
    // file-size limit is no death.
    void apparence()
    {
#ifdef Q_OS_WIN
        const QString face = "Microsoft Sans Serif";
#else
        const QString face = "Liberation Sans";
        QVERIFY(std::signal(SIGXFSZ, SIG_IGN) == SIG_IGN);
#endif
        QCOMPARE(QApplication::font().family() + " "
                     + QString::number(QApplication::font().pixelSize()),
                 face + " 11");
        QMessageBox boite(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boite.findChild<QLabel*>("qt_msgbox_label")->font().family(), face);
        QCOMPARE(boite.button(QMessageBox::Yes)->text() + boite.button(QMessageBox::No)->text(),
                 "&Oui&Non");
    }

    // The splash hands over once its interval is over, already closed. Its closing does not
    // end the event loop, even when the next window's load lets pending events run first.
    void splash()
    {
        QElapsedTimer chrono;
        qint64 passation = -1;
        QWidget principale;
        QPointer<Form0> splash = new Form0(
            [&] {
                passation = splash && splash->isVisible() ? -2 : chrono.elapsed();
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
        QVERIFY(passation >= 300 && splash.isNull());
    }

    // One About window for two commands. A click on its web link opens it; hovering darkens
    // it for good. Escape closes the window.
    void apropos()
    {
        FakePlateforme p;
        QPointer<frmAbout> a = montreAPropos(p);
        QCOMPARE(montreAPropos(p), a.data());
        QCOMPARE(QStringList({a->windowTitle(), texte(a, "lblVersion"), texte(a, "lblTitle")}),
                 QStringList({"À propos de Dazozare", "T R I V I X  Version 5.1.1",
                              "Conçu par Dr Élise Marvoint "}));
        QVERIFY(QTest::qWaitForWindowActive(a));
        QWidget* lien = a->findChild<QWidget*>("Label1");
        const auto couleur = [lien] { return lien->palette().color(QPalette::WindowText); };
        QCOMPARE(couleur(), QColor(0, 0, 255));
        QTest::mouseMove(lien, lien->rect().center());
        QTRY_COMPARE(couleur(), QColor(0, 0, 192));
        QTest::mouseClick(lien, Qt::LeftButton);
        QTest::mouseMove(a, QPoint(5, 5));
        QCOMPARE(couleur(), QColor(0, 0, 192));
        QCOMPARE(p.urlsOuvertes, QList<QUrl>{QUrl("https://www.dazozare.example/")});
        QTest::keyClick(a, Qt::Key_Escape);
        QTRY_VERIFY(a.isNull());
    }

    // Each menu command does what its button or window does: "Quitter" ends the loop, closing
    // nothing; "Imprimer" without a birth date does nothing, not even a redraw; "Aide" shows the
    // help, naming the directory's folder, or, without its file, nothing.
    void menu()
    {
        // clang-format off
        const std::tuple<const char*, const char*, const char*> cas[] = {
            {"Quitter", "1/1/70", "fin 0, à propos"}, {"Imprimer", "1/1/70", "redessiné, imprimante"},
            {"Imprimer", "1/1/", ""}, {"Imprimer", "", ""}, {"Sexe", "1/1/70", "sexe"},
            {"propos", "", "à propos"}, {"Aide", "", "aide : Essai Dans @"}, {"Aide", "sans fichier", ""}};
        // clang-format on
        for (const auto& [commande, naissance, attendus] : cas) {
            FakePlateforme p;
            QVERIFY(QString(naissance) == "sans fichier"
                    || pose(p.dossierApp + "/Dazozare.hlp",
                            "<title>Essai</title><p>Dans @DOSSIER_ANNUAIRE@.</p>"));
            Ondagramm w(p);
            relieMenus(w, p);
            w.show();
            if (QString(commande) == "Quitter")
                montreAPropos(p);
            w.findChild<QLineEdit*>("TxtDateN")->setText(naissance);
            w.findChild<QWidget*>("Picture1_1")->hide(); // shown again by the next redraw
            int imprimantes = 0;
            p.imprimante = [&](QWidget*, QPrinter&) { return ++imprimantes, false; };
            QTimer::singleShot(0, w.findChild<QAction*>(commande), &QAction::trigger);
            const int fin = boucle(300);
            QStringList effets;
            for (const auto& [vrai, effet] :
                 {std::pair{fin != 99, "fin " + QString::number(fin)},
                  {!w.findChild<QWidget*>("Picture1_1")->isHidden(), "redessiné"},
                  {imprimantes == 1, "imprimante"},
                  {w.findChild<QWidget*>("PictSexe")->isVisible(), "sexe"},
                  {frmAbout::ouvert() && frmAbout::ouvert()->isVisible(), "à propos"},
                  {w.findChild<VisionneuseAide*>() != nullptr, "aide : "}})
                if (vrai)
                    effets << effet;
            if (const auto* lecteur =
                    w.findChild<VisionneuseAide*>()) // names the directory's folder
                effets.last() += lecteur->windowTitle() + " "
                                 + lecteur->texte()->toPlainText().replace(
                                     QDir::toNativeSeparators(p.dossierApp) + ".", "@");
            QCOMPARE(effets.join(", "), QString(attendus));
            delete frmAbout::ouvert();
        }
    }

    // Where the directory is read and changed: beside a writable program copy, else in the
    // user's folder; one only beside a read-only program is read there and changed in a copy.
    // On a read-only mount (root too cannot write): listed there, changed in the copy, said.
    void emplacement()
    {
        QTemporaryDir racine;
        const QString programme = racine.filePath("programme"), monte = racine.filePath("monté"),
                      utilisateur = racine.filePath("utilisateur");
        // installed, writable; who has a trivo.dat; the folder read and the one changes go to
        const std::tuple<bool, bool, QString, QString> cas[] = {
            {false, true, "utilisateur", "programme|"},
            {false, true, "programme utilisateur", "programme|"},
            {false, false, "programme", "programme|utilisateur"},
            {false, false, "programme utilisateur", "utilisateur|"},
            {true, false, "", "utilisateur|"},
            {true, true, "programme utilisateur", "utilisateur|"}};
        for (const auto& [installe, inscriptible, fichiers, attendu] : cas) {
            for (const QString qui : {"programme", "utilisateur"}) {
                QDir().mkpath(racine.filePath(qui));
                QFile::remove(racine.filePath(qui + "/trivo.dat"));
                QVERIFY(!fichiers.contains(qui)
                        || pose(racine.filePath(qui + "/trivo.dat"),
                                "nom=" + qui.toLatin1() + ";Naissan=1\n"));
            }
            const Emplacement e =
                emplacementAnnuaire(programme, installe, inscriptible, utilisateur);
            QCOMPARE(QString(e.dossier + "|" + e.repli).replace(racine.path() + "/", ""), attendu);
        }
        QDir().mkpath(monte);
        QFile::remove(racine.filePath("utilisateur/trivo.dat"));
        const auto demonte = qScopeGuard([&] { QProcess::execute("umount", {monte}); });
        if (QProcess::execute("mount", {"--bind", "-o", "ro", programme, monte}))
            QSKIP("Monter un dossier en lecture seule n'est pas permis ici.");
        QVERIFY(!dz::inscriptible(monte));
        const Emplacement ici = emplacementAnnuaire(monte, false, false, utilisateur);
        Journal dits;
        Annuaire annuaire(dits);
        annuaire.fixeDossier(ici.dossier, ici.repli);
        QCOMPARE(annuaire.ChargeAnnuaire(), QStringList{"programme"});
        QCOMPARE(annuaire.AjouteFiche("Zoé", "1").noms, QStringList({"programme", "Zoé"}));
        const auto natif = [](const QString& d) {
            return "« " + QDir::toNativeSeparators(d + "/trivo.dat") + " »";
        };
        QCOMPARE(dits.lignes,
                 QStringList{"i " + natif(monte)
                             + " est en lecture seule : l'annuaire modifié est enregistré dans "
                             + natif(utilisateur) + ", que Dazozare utilise désormais."});
        QFile f(utilisateur + "/trivo.dat");
        QVERIFY(f.open(QIODevice::ReadOnly)
                && f.readAll() == "nom=programme;Naissan=1\r\nnom=Zo\xE9;Naissan=1\r\n");
        QCOMPARE(annuaire.ChargeAnnuaire(),
                 QStringList({"programme", "Zoé"})); // the copy from now on
    }
};

QTEST_MAIN(TestCommandes)
#include "test_commandes.moc"
