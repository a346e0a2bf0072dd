// The directory commands and the window's activation, driven through the real controls.

#include "app/programme.h"
#include "mainwindow/ondagramm.h"
#include "shell/frmabout.h"
#include "support/fakeplatform.h"

#include <QAction>
#include <QComboBox>
#include <QDir> // and QFileInfo, QFile
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <memory>

using namespace dz;

using Octets = QByteArray;
using Noms = QStringList;

namespace {

// "Ajouter" answering Yes if asked, answering No, or answering Yes while a folder takes the
// file's place; "Supprimer"; the first name picked in the list; back from the About window after
// a message box closed; back from the help viewer, closed by Escape.
enum class Action { Ajoute, AjouteNon, AjouteEchoue, Supprime, Choisit, RetourAPropos, RetourAide };

const Octets A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), AB = A1 + B, ABA = AB + A1;
const QString D = "5/6/80";

} // namespace

Q_DECLARE_METATYPE(Action)

class TestCommandesAnnuaire : public QObject {
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
        QFile f(chemin(fichier));
        if (octets.isEmpty())
            QVERIFY(octets.isNull() || f.remove());
        else
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }

private slots:
    void init()
    {
        w_.reset(); // before the platform it uses
        p_ = std::make_unique<FakePlateforme>();
    }

    void commande_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<Octets>("avant");    // null: no file
        QTest::addColumn<Octets>("ailleurs"); // another window's change once the list is shown:
                                              // null none, empty the file deleted
        QTest::addColumn<QString>("saisi");   // the name typed, after the date D
        QTest::addColumn<Octets>("apres");    // null: no file
        QTest::addColumn<QString>("noms");
        QTest::addColumn<QString>("champs"); // name and date on screen
        QTest::addColumn<Noms>("boites");    // texts; a report by its number, a question after "? "
        const Octets Z = "nom=Z;Naissan=03/11/1975\r\n" + B, R("nom=A;Naissan;Naissan=1\r\n");
        const Octets Fin = ";Naissan=" + D.toLatin1() + "\r\n"; // a record's end, with the date D
        const QString Q = "? Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                          "Voulez modifier les informations la concernant ?";
        const QString Vide = "Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs "
                             "noms avec leur date de naissance.";
        const Octets Aucun, Efface("");
        using A = Action;
        const auto row = [](const char* cas, A a, const Octets& avant, const Octets& ailleurs,
                            const QString& saisi, const Octets& apres, const QString& noms,
                            const QString& champs, const Noms& boites = {}) {
            QTest::newRow(cas) << a << avant << ailleurs << saisi << apres << noms << champs
                               << boites;
        };
        row("sans annuaire", A::Ajoute, Aucun, Aucun, "Duvoro", "nom=Duvoro" + Fin, "Duvoro", "|",
            {Vide});
        row("nom vide", A::Ajoute, AB, Aucun, "", AB, "A|B", "|" + D,
            {"Vous devez au moins entrez le nom..."});
        row("refusé, listé", A::Ajoute, R, Aucun, "A;Naissan", R, "A;Naissan", "A;Naissan|" + D,
            {"Le nom ne peut pas contenir « ;Naissan »..."});
        row("listé, non", A::AjouteNon, ABA, Aucun, "A", ABA, "A|B|A", "A|" + D, {Q});
        row("listé, oui", A::Ajoute, ABA, Aucun, "A", B + "nom=A" + Fin, "B|A", "|", {Q});
        row("modification ratée", A::AjouteEchoue, AB, Aucun, "A", Aucun, "A|B", "A|" + D,
            {Q, "E 75"});
        row("ajouté ailleurs", A::Ajoute, AB, AB + "nom=Zo;Naissan=9\r\n", "Zo",
            AB + "nom=Zo" + Fin, "A|B|Zo", "|", {Q});
        row("supprimé ailleurs", A::Ajoute, AB, Efface, "A", "nom=A" + Fin, "A", "|");
        row("dernière personne", A::Supprime, A1, Aucun, "A", Aucun, "", "|");
        row("non listé", A::Supprime, AB, Aucun, "Z", AB, "A|B", "|");
        row("supprimé, fichier parti", A::Supprime, AB, Efface, "A", Aucun, "A|B", "A|" + D,
            {"E 53"});
        row("choix", A::Choisit, Z, Aucun, "", Z, "Z|B", "Z|03/11/1975");
        row("choix sans fichier", A::Choisit, Z, Efface, "", Aucun, "Z|B", "Z|" + D,
            {"Rien n'a encore été entré dans l'annuaire..."});
        row("retour d'À propos", A::RetourAPropos, AB, Efface, "Zo", Aucun, "", "|" + D, {Vide});
        row("retour de l'aide", A::RetourAide, AB, Efface, "Zo", Aucun, "A|B", "Zo|" + D);
    }
    void commande()
    {
        QFETCH(Action, action);
        QFETCH(Octets, avant);
        QFETCH(Octets, ailleurs);
        QFETCH(QString, saisi);
        QFETCH(Octets, apres);
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
            w_->activateWindow(); // offscreen, nothing gives the focus back: the user clicks
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
            w_->findChild<QAction*>("propos")->trigger();
            QVERIFY(QTest::qWaitForWindowActive(frmAbout::ouvert()));
            QTest::mouseClick(frmAbout::ouvert()->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
            QTRY_VERIFY(!frmAbout::ouvert());
            w_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
            break;
        }
        case Action::RetourAide: {
            ecrit("<p>Aide</p>", "Dazozare.hlp");
            w_->findChild<QAction*>("Aide")->trigger();
            QWidget* lecteur = w_->findChild<QWidget*>("VisionneuseAide");
            QVERIFY(lecteur && QTest::qWaitForWindowActive(lecteur));
            QTest::keyClick(lecteur, Qt::Key_Escape);
            w_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
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
        QTEST(noms.join('|'), "noms");
        QTEST(nom()->currentText() + "|" + dateN()->text(), "champs");
        const QString jours = w_->findChild<QWidget*>("AfichJourV")->property("text").toString();
        QCOMPARE(jours.section(" jours", 0, 0).remove(' ').toLongLong(), // Calcule: a choice only
                 action == Action::Choisit && ailleurs.isNull()
                     ? QDate(1975, 11, 3).daysTo(p_->aujourdhuiFixe)
                     : 0);
        const bool retour = action == Action::RetourAPropos;
        QCOMPARE(p_->resemis, retour ? 2 : 1);
        QCOMPARE(w_->findChild<QWidget*>("zoneClient")->palette().window().color(),
                 retour ? QColor(243, 138, 148) : QColor(192, 178, 178));
        Noms boites;
        for (const FakePlateforme::Message& m : p_->messages)
            boites << (m.titre == "Erreur..." ? "E " + m.texte.section("\r\n", 3, 3)
                       : m.boutons == Plateforme::Boutons::OuiNon ? "? " + m.texte
                                                                  : m.texte);
        QTEST(boites, "boites");
    }

    // A day's use through the window ends in Windows-1252 with CR LF, a name the file cannot
    // hold refused. DZ_COPIE_ANNUAIRE names a file to copy it to: two builds (Linux, Windows)
    // must leave the same bytes.
    void journee()
    {
        w_ = std::make_unique<Ondagramm>(*p_);
        w_->show();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        p_->reponses = {Plateforme::Reponse::Oui}; // "Zoé Noël" again: changed
        const struct {
            const char* bouton;
            QString nom, date;
        } pas[] = {
            {"CmdAjoute", "Zoé Noël", "03/11/1975"}, {"CmdAjoute", "Œdipe €uro", "14/07/1989"},
            {"CmdAjoute", "Łukasz", "29/02/2000"},   {"CmdAjoute", "Zoé Noël", "04/11/1975"},
            {"CmdAjoute", "Ümit", "01/01/2000"},     {"CmdSup", "Ümit", ""}};
        for (const auto& [bouton, saisi, date] : pas) {
            dateN()->setText(date);
            nom()->lineEdit()->clear();
            nom()->lineEdit()->insert(saisi); // pasted: keyClicks types only ASCII
            QTest::mouseClick(w_->findChild<QWidget*>(bouton), Qt::LeftButton);
        }
        QFile fichier(chemin());
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        QCOMPARE(fichier.readAll(), Octets("nom=\x8C"
                                           "dipe \x80uro;Naissan=14/07/1989\r\n"
                                           "nom=Zo\xE9 No\xEBl;Naissan=04/11/1975\r\n"));
        Noms debuts;
        for (const FakePlateforme::Message& m : p_->messages)
            debuts << m.texte.section(' ', 0, 2);
        QCOMPARE(debuts, Noms({"Le repertoire est", "Le nom contient", "Cette personne est"}));
        if (const QString copie = qEnvironmentVariable("DZ_COPIE_ANNUAIRE"); !copie.isEmpty()) {
            QFile::remove(copie);
            QVERIFY(QFile::copy(chemin(), copie));
        }
    }
};

QTEST_MAIN(TestCommandesAnnuaire)
#include "test_commandes_annuaire.moc"
