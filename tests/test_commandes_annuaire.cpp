// The directory commands and the window's activation, driven through the real controls.

#include "mainwindow/ondagramm.h"
#include "shell/shell.h"
#include "support/fakeplatform.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <sys/resource.h>

using Octets = QByteArray;
using Noms = QStringList;
using Icone = Plateforme::Icone;
using Reponse = Plateforme::Reponse;

namespace {

const Octets AB("nom=A;Naissan=1\r\nnom=B;Naissan=2\r\n"), ABA = AB + "nom=A;Naissan=3\r\n";
const QString Question = QStringLiteral("? Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                                        "Voulez modifier les informations la concernant ?");
const QString RepertoireVide = QStringLiteral(
    "i Le repertoire est vide... Vous pouvez enregistrer un ou plusieurs noms avec leur date de naissance.");

// The fake, with a hook that runs as each message box would open.
struct Plateau : FakePlateforme {
    std::function<void()> pendantMessage;
    Reponse message(QWidget* parent, const QString& texte, Icone icone, Boutons boutons,
                    const QString& titre) override
    {
        if (pendantMessage)
            pendantMessage();
        return FakePlateforme::message(parent, texte, icone, boutons, titre);
    }
};

// No file grows past 20 bytes while this lives, as on a full disk.
struct DisquePlein {
    rlimit avant{};
    void (*signal)(int) = std::signal(SIGXFSZ, SIG_IGN);
    DisquePlein() { getrlimit(RLIMIT_FSIZE, &avant); const rlimit l{20, avant.rlim_max}; setrlimit(RLIMIT_FSIZE, &l); }
    ~DisquePlein() { setrlimit(RLIMIT_FSIZE, &avant); std::signal(SIGXFSZ, signal); }
};

// Clicked into, then typed key by key; a line break, which no key types, comes as a paste.
void saisit(QLineEdit* champ, const QString& texte)
{
    QTest::mouseClick(champ, Qt::LeftButton);
    champ->selectAll();
    QTest::keyClick(champ, Qt::Key_Delete);
    if (texte.contains(u'\n')) {
        champ->insert(texte);
        return;
    }
    for (QChar c : texte)
        QTest::sendKeyEvent(QTest::Click, champ, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The platform's focus window: QWidget::isActiveWindow() also says yes for a window whose
// own child window has the focus.
bool aLeFocus(QWidget* w)
{
    return QTest::qWaitFor([w] { return w && QGuiApplication::focusWindow() == w->windowHandle(); });
}

} // namespace

class TestCommandesAnnuaire : public QObject {
    Q_OBJECT
    std::unique_ptr<Plateau> p_;
    std::unique_ptr<Ondagramm> w_;

    template <class T = QWidget> T* controle(const char* nom) { return w_->findChild<T*>(nom); }
    QComboBox* nom() { return controle<QComboBox>("CmbNom"); }
    QLineEdit* dateN() { return controle<QLineEdit>("TxtDateN"); }
    QString jours() { return controle<QLabel>("AfichJourV")->text(); }
    QColor fond() { return controle("zoneClient")->palette().color(QPalette::Window); }
    QString chemin() const { return p_->dossierApp + "/trivo.dat"; }
    void ecrit(const Octets& octets)
    {
        QFile f(chemin());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }
    Octets contenu() const // null when there is no such file
    {
        QFile f(chemin());
        return QFileInfo(chemin()).isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : Octets();
    }
    Noms liste()
    {
        Noms noms;
        for (int i = 0; i < nom()->count(); ++i)
            noms << nom()->itemText(i);
        return noms;
    }
    // Shown and through its first activation.
    bool ouvre(const Octets& fichier = {})
    {
        if (!fichier.isNull())
            ecrit(fichier);
        w_ = std::make_unique<Ondagramm>(*p_);
        w_->show();
        return QTest::qWaitForWindowActive(w_.get()) && QTest::qWaitFor([this] { return p_->resemis == 1; });
    }
    // As the user does it: F4 drops the list down, a click picks the entry.
    bool choisit(int i)
    {
        QAbstractItemView* vue = nom()->view();
        QTest::keyClick(nom(), Qt::Key_F4);
        if (!QTest::qWaitFor([vue] { return vue->isVisible(); }))
            return false;
        QTest::mouseClick(vue->viewport(), Qt::LeftButton, {}, vue->visualRect(vue->model()->index(i, 0)).center());
        return QTest::qWaitFor([vue] { return !vue->isVisible(); });
    }
    // One string a box: "i text" information, "? text" the Yes/No question, "! text" a
    // refusal (the whole text if it ends in "...", else what it must name), "E n" an error
    // report of number n ("E": any number).
    void verifieBoites(const QStringList& attendues)
    {
        QCOMPARE(p_->messages.size(), attendues.size());
        for (qsizetype i = 0; i < attendues.size(); ++i) {
            const auto& m = p_->messages[i];
            const QChar genre = attendues[i][0];
            const QString reste = attendues[i].mid(2);
            QCOMPARE(m.titre, QString(genre == 'E' ? "Erreur..." : "Annuaire..."));
            QCOMPARE(m.icone, genre == 'i' ? Icone::Information : genre == '?' ? Icone::Question : Icone::Exclamation);
            QCOMPARE(m.boutons, genre == '?' ? Plateforme::Boutons::OuiNon : Plateforme::Boutons::Ok);
            const bool extrait = genre == 'E' || (genre == '!' && !reste.endsWith("..."));
            const QString cherche = genre == 'E' ? "\r\n" + reste + "\r\n" : reste;
            QVERIFY2(extrait ? m.texte.contains(cherche) : m.texte == reste, qPrintable(m.texte));
        }
    }

private slots:
    void init() { p_ = std::make_unique<Plateau>(); }
    void cleanup()
    {
        delete frmAbout::ouvert();
        w_.reset();
        p_.reset();
    }

    // Real boxes take the focus and give it back: that is no return to the window.
    void premierLancement()
    {
        int imbrication = 0;
        p_->pendantMessage = [this, &imbrication] {
            if (++imbrication < 4) { // deeper is a loop: the counts below tell
                QMessageBox boite(QMessageBox::Information, "Annuaire...", "x", QMessageBox::Ok, w_.get());
                boite.show();
                QVERIFY(aLeFocus(&boite));
                boite.close();
                w_->activateWindow();
                QVERIFY(aLeFocus(w_.get()));
            }
            --imbrication;
        };
        p_->tirages = {0, 0, 0, 0.9999, 0.9999, 0.9999};
        QVERIFY(ouvre());
        QTest::qWait(20);
        QCOMPARE(p_->resemis, 1);
        verifieBoites({RepertoireVide});
        QCOMPARE(fond(), QColor(128, 128, 128));
        QCOMPARE(liste(), Noms());
        QVERIFY(aLeFocus(montreAPropos(*p_)));
        w_->activateWindow();
        QVERIFY(aLeFocus(w_.get()));
        QTest::qWait(20);
        QCOMPARE(p_->resemis, 2);
        verifieBoites({RepertoireVide, RepertoireVide}); // once an activation
        QCOMPARE(fond(), QColor(255, 227, 227));
    }

    void commande_data()
    {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<Octets>("avant"); // null: no file
        QTest::addColumn<int>("panne"); // 1 file deleted, 2 a folder in its place, 3 disk full,
                                        // 4 a folder in its place once the old record is gone
        QTest::addColumn<QString>("saisi");
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<int>("reponse"); // to the question, if asked
        QTest::addColumn<Octets>("apres");
        QTest::addColumn<Noms>("noms");
        QTest::addColumn<bool>("garde"); // both fields keep what was typed
        QTest::addColumn<QStringList>("boites");
        const QString Aj = "CmdAjoute", Sup = "CmdSup", d = "05/06/1980";
        const int Oui = int(Reponse::Oui), Non = int(Reponse::Non);
        const Octets A("nom=A;Naissan=1\r\n"), B("nom=B;Naissan=2\r\n"), ABC = AB + "nom=C;Naissan=3\r\n";
        const Noms nAB{"A", "B"};
        QTest::newRow("ajout, annuaire absent") << Aj << Octets() << 0 << "Duvoro Zidu" << "03/11/1975" << 0
            << Octets("nom=Duvoro Zidu;Naissan=03/11/1975\r\n") << Noms{"Duvoro Zidu"} << false << Noms();
        QTest::newRow("ajout, autre casse") << Aj << AB << 0 << "a" << d << 0 << AB + "nom=a;Naissan=05/06/1980\r\n"
            << Noms{"A", "B", "a"} << false << Noms();
        QTest::newRow("ajout, espace en plus") << Aj << AB << 0 << "A " << "x" << 0 << AB + "nom=A ;Naissan=x\r\n"
            << Noms{"A", "B", "A "} << false << Noms();
        QTest::newRow("ajout, accent, date vide") << Aj << AB << 0 << "Zoé" << "" << 0
            << AB + "nom=Zo\xe9;Naissan=\r\n" << Noms{"A", "B", "Zoé"} << false << Noms();
        QTest::newRow("listé, non") << Aj << ABA << 0 << "A" << d << Non << ABA << Noms{"A", "B", "A"} << true
            << Noms{Question};
        QTest::newRow("listé deux fois, oui") << Aj << ABA << 0 << "A" << d << Oui
            << B + "nom=A;Naissan=05/06/1980\r\n" << Noms{"B", "A"} << false << Noms{Question};
        QTest::newRow("seul listé, oui") << Aj << A << 0 << "A" << d << Oui << Octets("nom=A;Naissan=05/06/1980\r\n")
            << Noms{"A"} << false << Noms{Question};
        QTest::newRow("nom vide") << Aj << AB << 0 << "" << d << 0 << AB << nAB << true
            << Noms{"! Vous devez au moins entrez le nom..."};
        QTest::newRow("nom sur deux lignes") << Aj << AB << 0 << "A\r\nB" << d << 0 << AB << nAB << true
            << Noms{"! retour à la ligne"};
        QTest::newRow("nom avec ;Naissan") << Aj << AB << 0 << "X;Naissan" << d << 0 << AB << nAB << true
            << Noms{"! ;Naissan"};
        QTest::newRow("nom hors Windows-1252") << Aj << AB << 0 << "Li 漢" << d << 0 << AB << nAB << true
            << Noms{"! 漢"};
        QTest::newRow("listé, date hors Windows-1252") << Aj << AB << 0 << "A" << "1 漢" << Oui << AB << nAB << true
            << Noms{"! 漢"};
        QTest::newRow("modifié, ajout impossible") << Aj << AB << 4 << "A" << d << Oui << Octets() << Noms{"B"}
            << true << Noms{Question, "E"};
        QTest::newRow("modifié, disque plein") << Aj << AB << 3 << "A" << d << Oui << B << Noms{"B"} << true
            << Noms{Question, "E"};
        QTest::newRow("suppression des doublons") << Sup << ABA << 0 << "A" << d << 0 << B << Noms{"B"} << false
            << Noms();
        QTest::newRow("suppression du dernier") << Sup << A << 0 << "A" << d << 0 << Octets() << Noms() << false
            << Noms();
        QTest::newRow("suppression, non listé") << Sup << AB << 0 << "Z" << d << 0 << AB << nAB << false << Noms();
        QTest::newRow("suppression, fichier disparu") << Sup << AB << 1 << "A" << d << 0 << Octets() << nAB << true
            << Noms{"E 53"};
        QTest::newRow("suppression, dossier à sa place") << Sup << AB << 2 << "A" << d << 0 << Octets() << nAB
            << true << Noms{"E"};
        QTest::newRow("suppression, disque plein") << Sup << ABC << 3 << "A" << d << 0 << ABC
            << Noms{"A", "B", "C"} << true << Noms{"E"};
    }
    void commande()
    {
        QFETCH(QString, bouton);
        QFETCH(int, panne);
        QFETCH(QString, saisi);
        QFETCH(QString, naissance);
        QFETCH(int, reponse);
        QFETCH(bool, garde);
        QFETCH(Octets, avant);
        QVERIFY(ouvre(avant));
        p_->messages.clear();
        p_->reponses = {Reponse(reponse), Reponse(reponse)};
        // The name last: leaving a typed name that is listed must not choose it.
        saisit(dateN(), naissance);
        saisit(nom()->lineEdit(), saisi);
        if (panne == 1 || panne == 2)
            QVERIFY(QFile::remove(chemin()));
        if (panne == 2)
            QVERIFY(QDir().mkdir(chemin()));
        if (panne == 4) // between deleting and adding, the reloaded list empties the name field
            connect(nom()->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& t) {
                if (t.isEmpty() && QFile::remove(chemin()))
                    QDir().mkdir(chemin());
            });
        const int pompes = p_->pompes;
        {
            std::optional<DisquePlein> plein;
            if (panne == 3)
                plein.emplace();
            QTest::mouseClick(controle<QPushButton>(qPrintable(bouton)), Qt::LeftButton);
        }
        QTEST(contenu(), "apres");
        QTEST(liste(), "noms");
        QCOMPARE(nom()->currentText(), garde ? saisi : QString());
        QCOMPARE(dateN()->text(), garde ? naissance : QString());
        QCOMPARE(p_->pompes, pompes); // nothing recomputed
        QFETCH(QStringList, boites);
        verifieBoites(boites);
    }

    void choix_data()
    {
        QTest::addColumn<int>("entree");
        QTest::addColumn<int>("dehors"); // meanwhile: 1 the file is deleted, 2 rewritten without A
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<bool>("recalcul");
        QTest::addColumn<QStringList>("boites");
        QTest::newRow("date") << 0 << 0 << "03/11/1975" << true << Noms();
        QTest::newRow("doublon: le premier compte") << 3 << 0 << "03/11/1975" << true << Noms();
        QTest::newRow("date vide") << 1 << 0 << "" << false << Noms();
        QTest::newRow("pas une date") << 2 << 0 << "pas une date" << false << Noms();
        QTest::newRow("fichier effacé") << 0 << 1 << "17/05/1990" << false
                                         << Noms{"i Rien n'a encore été entré dans l'annuaire..."};
        QTest::newRow("nom disparu") << 0 << 2 << "17/05/1990" << true << Noms();
    }
    void choix()
    {
        QFETCH(int, entree);
        QFETCH(int, dehors);
        QFETCH(QString, naissance);
        QFETCH(bool, recalcul);
        QVERIFY(ouvre("nom=A;Naissan=03/11/1975\r\nnom=Vide;Naissan=\r\nnom=X;Naissan=pas une date\r\n"
                      "nom=A;Naissan=01/01/2000\r\n"));
        controle<QTimer>("Timer1")->stop(); // its blinking shows and hides the labels
        const auto etiquettes = w_->findChildren<QLabel*>(QRegularExpression("^Etiquette[567]$"));
        QCOMPARE(etiquettes.size(), 3);
        for (QLabel* e : etiquettes)
            e->hide();
        saisit(dateN(), "17/05/1990");
        if (dehors == 1)
            QVERIFY(QFile::remove(chemin()));
        if (dehors == 2)
            ecrit("nom=B;Naissan=2\r\n");
        const QString joursAvant = jours();
        const int pompes = p_->pompes;

        QVERIFY(choisit(entree));
        QCOMPARE(nom()->currentText(), nom()->itemText(entree));
        QCOMPARE(dateN()->text(), naissance);
        QCOMPARE(p_->pompes > pompes, recalcul);
        if (recalcul) // the days lived, whatever their layout
            QCOMPARE(jours().remove(QRegularExpression("\\D")).toLongLong(),
                     QDate::fromString(naissance, "dd/MM/yyyy").daysTo(p_->aujourdhuiFixe));
        else
            QCOMPARE(jours(), joursAvant);
        for (QLabel* e : etiquettes)
            QVERIFY(e->isVisible());
        QFETCH(QStringList, boites);
        verifieBoites(boites);
    }

    void retourALaFenetre_data()
    {
        QTest::addColumn<int>("depuis"); // 0 About still open, 1 About closed with OK, 2 help
        QTest::newRow("À propos ouvert") << 0;
        QTest::newRow("À propos fermé") << 1;
        QTest::newRow("aide") << 2;
    }
    void retourALaFenetre()
    {
        QFETCH(int, depuis);
        QVERIFY(ouvre(AB));
        const QColor avant = fond();
        saisit(dateN(), "01/02/1990");
        saisit(nom()->lineEdit(), "Zo");
        ecrit(AB + "nom=C;Naissan=3\r\n");
        p_->tirages = {0.9, 0.1, 0.2};
        QPointer<QWidget> autre;
        if (depuis == 2) {
            QFile aide(p_->dossierApp + "/Dazozare.hlp");
            QVERIFY(aide.open(QIODevice::WriteOnly) && aide.write("<title>Aide</title>x") > 0);
            aide.close();
            montreAide(*p_, w_.get());
            autre = w_->findChild<VisionneuseAide*>();
        } else {
            autre = montreAPropos(*p_);
        }
        QVERIFY(aLeFocus(autre));
        QCOMPARE(p_->resemis, 1); // leaving the window is no activation
        if (depuis == 1) {
            QTest::mouseClick(autre->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            QTRY_VERIFY(!autre);
        }
        // Offscreen nothing hands the focus back by itself: the user clicks the window.
        w_->activateWindow();
        QVERIFY(aLeFocus(w_.get()));
        QCOMPARE(p_->resemis, 2);
        QCOMPARE(liste(), Noms({"A", "B", "C"}));
        QCOMPARE(nom()->currentText(), QString());
        QCOMPARE(dateN()->text(), QString("01/02/1990"));
        QCOMPARE(fond(), QColor(243, 138, 148));
        QVERIFY(fond() != avant);
        QCOMPARE(p_->messages.size(), 0);
    }
};

QTEST_MAIN(TestCommandesAnnuaire)
#include "test_commandes_annuaire.moc"
