// The directory commands and the window's activation, driven through the real controls.

#include "mainwindow/ondagramm.h"
#include "shell/shell.h"
#include "support/fakeplatform.h"

#include <QComboBox>
#include <QDir> // and QFileInfo, QFile
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <memory>

using Octets = QByteArray;
using Noms = QStringList;

const Octets A1("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), AB = A1 + B, ABA = AB + A1;
const QString D = "5/6/80";

class TestCommandesAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlateforme> p_;
    std::unique_ptr<Ondagramm> w_;

    QComboBox* nom() { return w_->findChild<QComboBox*>("CmbNom"); }
    QLineEdit* dateN() { return w_->findChild<QLineEdit*>("TxtDateN"); }
    QString chemin() const { return p_->dossierApp + "/trivo.dat"; }

private slots:
    void init()
    {
        w_.reset(); // before the platform it uses
        p_ = std::make_unique<FakePlateforme>();
    }

    void commande_data()
    {
        using QTest::newRow;
        // A add (Yes if asked), N add answering No, F add with a folder at the file once the old
        // record went, S delete, C choose the first name, R back from About; lower case: file gone.
        QTest::addColumn<char>("action");
        QTest::addColumn<Octets>("avant");
        QTest::addColumn<QString>("saisi"); // the name typed, after the date D
        QTest::addColumn<Octets>("apres");  // null: no file
        QTest::addColumn<QString>("noms");
        QTest::addColumn<QString>("champs"); // name and date on screen
        QTest::addColumn<Noms>("boites");    // texts; a report by its number, a question after "? "
        const Octets Z = "nom=Z;Naissan=03/11/1975\r\n" + B, R("nom=A;Naissan;Naissan=1\r\n");
        const Octets Fin = ";Naissan=" + D.toLatin1() + "\r\n"; // a record's end, with the date D
        const QString Q = "? Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                          "Voulez modifier les informations la concernant ?";
        const QString Vide = "Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs "
                             "noms avec leur date de naissance.";
        newRow("sans annuaire") << 'A' << Octets() << "Duvoro" << "nom=Duvoro" + Fin << "Duvoro"
                                << "|" << Noms{Vide};
        newRow("autre casse") << 'A' << AB << "a" << AB + "nom=a" + Fin << "A|B|a" << "|" << Noms();
        newRow("nom vide") << 'A' << AB << "" << AB << "A|B" << "|" + D
                           << Noms{"Vous devez au moins entrez le nom..."};
        newRow("refusé, listé") << 'A' << R << "A;Naissan" << R << "A;Naissan" << "A;Naissan|" + D
                                << Noms{"Le nom ne peut pas contenir « ;Naissan »..."};
        newRow("listé, non") << 'N' << ABA << "A" << ABA << "A|B|A" << "A|" + D << Noms{Q};
        newRow("listé, oui") << 'A' << ABA << "A" << B + "nom=A" + Fin << "B|A" << "|" << Noms{Q};
        newRow("ajout raté") << 'F' << AB << "A" << Octets() << "B" << "A|" + D << Noms{Q, "E 75"};
        newRow("disparu") << 'a' << AB << "A" << Octets() << "A|B" << "A|" + D << Noms{Q, "E 53"};
        newRow("doublons supprimés") << 'S' << ABA << "A" << B << "B" << "|" << Noms();
        newRow("dernière personne") << 'S' << A1 << "A" << Octets() << "" << "|" << Noms();
        newRow("non listé") << 'S' << AB << "Z" << AB << "A|B" << "|" << Noms();
        newRow("choix") << 'C' << Z << "" << Z << "Z|B" << "Z|03/11/1975" << Noms();
        newRow("choix sans fichier") << 'c' << Z << "" << Octets() << "Z|B" << "Z|" + D
                                     << Noms{"Rien n'a encore été entré dans l'annuaire..."};
        newRow("retour d'À propos") << 'r' << AB << "Zo" << Octets() << "" << "|" + D << Noms{Vide};
    }
    void commande()
    {
        QFETCH(char, action);
        QFETCH(Octets, avant);
        QFETCH(QString, saisi);
        QFETCH(Octets, apres);
        if (QFile f(chemin()); !avant.isNull())
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(avant) == avant.size());
        p_->tirages = {0.5, 0.5, 0.5, 0.9, 0.1, 0.2}; // the colours of two activations
        w_ = std::make_unique<Ondagramm>(*p_);
        w_->show();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTRY_COMPARE(p_->resemis, 1); // the first activation, queued
        p_->reponses = {action == 'N' ? Plateforme::Reponse::Non : Plateforme::Reponse::Oui};
        dateN()->setText(D);
        nom()->lineEdit()->setFocus();
        QTest::keyClicks(nom()->lineEdit(), saisi); // last: leaving a listed name is no choice
        if (QChar(action).isLower())
            QVERIFY(QFile::remove(chemin()));
        if (action == 'F') // the reloaded list empties the name field between delete and add
            connect(nom()->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& t) {
                if (t.isEmpty() && QFile::remove(chemin()))
                    QDir().mkdir(chemin());
            });
        if (action == 'r') { // a message box closing first: that is no return
            QMessageBox boite;
            boite.show();
            QVERIFY(QTest::qWaitForWindowActive(&boite));
            boite.close();
            w_->activateWindow(); // offscreen, nothing gives the focus back: the user clicks
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
            QVERIFY(QTest::qWaitForWindowActive(montreAPropos(*p_)));
            QTest::mouseClick(frmAbout::ouvert()->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
            QTRY_VERIFY(!frmAbout::ouvert());
            w_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        } else if (QChar(action).toUpper() == 'C') {
            QTest::keyClick(nom()->lineEdit(), Qt::Key_Down);
        } else {
            QTest::mouseClick(w_->findChild<QWidget*>(action == 'S' ? "CmdSup" : "CmdAjoute"),
                              Qt::LeftButton);
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
                 action == 'C' ? QDate(1975, 11, 3).daysTo(p_->aujourdhuiFixe) : 0);
        QCOMPARE(p_->resemis, action == 'r' ? 2 : 1);
        QCOMPARE(w_->findChild<QWidget*>("zoneClient")->palette().window().color(),
                 action == 'r' ? QColor(243, 138, 148) : QColor(192, 178, 178));
        Noms boites;
        for (const FakePlateforme::Message& m : p_->messages)
            boites << (m.titre == "Erreur..." ? "E " + m.texte.section("\r\n", 3, 3)
                       : m.boutons == Plateforme::Boutons::OuiNon ? "? " + m.texte : m.texte);
        QTEST(boites, "boites");
    }
};

QTEST_MAIN(TestCommandesAnnuaire)
#include "test_commandes_annuaire.moc"
