#include "mainwindow/ondagramm.h"

#include "chart/canevas.h"
#include "mainwindow/zoneimage.h"
#include "platform/plateforme.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace dz {

namespace {

// The directory's notices and reports, as message boxes over the main window.
class AvertisseurFenetre : public Avertisseur {
public:
    AvertisseurFenetre(Plateforme& plateforme, QWidget* fenetre)
        : plateforme_(plateforme), fenetre_(fenetre)
    {}
    void information(const QString& texte) override
    {
        plateforme_.message(fenetre_, texte, Plateforme::Icone::Information,
                            Plateforme::Boutons::Ok, QStringLiteral("Annuaire..."));
    }
    void alerte(const QString& texte) override
    {
        plateforme_.message(fenetre_, texte, Plateforme::Icone::Exclamation,
                            Plateforme::Boutons::Ok, QStringLiteral("Annuaire..."));
    }
    void erreur(Echec echec) override
    {
        plateforme_.message(fenetre_, texteSignaleErreur(echec), Plateforme::Icone::Exclamation,
                            Plateforme::Boutons::Ok, QStringLiteral("Erreur..."));
    }

private:
    Plateforme& plateforme_;
    QWidget* fenetre_;
};

} // namespace

Ondagramm::Ondagramm(Plateforme& plateforme, QWidget* parent)
    : QMainWindow(parent), plateforme_(plateforme),
      avertisseur_(std::make_unique<AvertisseurFenetre>(plateforme, this)),
      annuaire_(*avertisseur_), impression_(plateforme)
{
    construitFenetre();
    Form_Load();
}

Ondagramm::~Ondagramm() = default;

void Ondagramm::Form_Load()
{
    connect(Timer1, &QTimer::timeout, this, &Ondagramm::Timer1_Timer);
    connect(TxtDateN, &QLineEdit::textChanged, this, &Ondagramm::TxtDateN_Change);
    connect(TxtDateP, &QLineEdit::textChanged, this, &Ondagramm::TxtDateP_Change);
    connect(TxtDGUS, &QLineEdit::textChanged, this, &Ondagramm::TxtDGUS_Change);
    connect(Commande1, &QPushButton::clicked, this, &Ondagramm::Commande1_Click);
    connect(Command1, &QPushButton::clicked, this, &Ondagramm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Ondagramm::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Ondagramm::Command3_Click);
    connect(CmdSexe, &QPushButton::clicked, this, &Ondagramm::CmdSexe_Click);
    connect(CmdAjoute, &QPushButton::clicked, this, &Ondagramm::CmdAjoute_Click);
    connect(CmdSup, &QPushButton::clicked, this, &Ondagramm::CmdSup_Click);
    connect(CmbNom, &QComboBox::activated, this, &Ondagramm::CmbNom_Click);
    // Qt also reports a typed name that matches an entry as chosen when the field loses the
    // focus; only a pick in the list is a choice.
    disconnect(CmbNom->lineEdit(), &QLineEdit::editingFinished, CmbNom, nullptr);
    connect(Slider1, &QSlider::valueChanged, this, &Ondagramm::Slider1_Change);
    for (std::size_t k = 1; k <= 3; ++k)
        connect(Picture1[k], &ZoneImage::doubleClique, this, &Ondagramm::MiseAJour);
    // On a screen of another density the chart is drawn again at that density.
    connect(
        Image1, &Canevas::densiteChangee, this,
        [this] {
            if (etat_.ValeurCycle[0])
                MiseAJour();
        },
        Qt::QueuedConnection);

    connect(Quitter, &QAction::triggered, this, &Ondagramm::quitterDemande);
    connect(Imprimer, &QAction::triggered, this, &Ondagramm::Command1_Click);
    connect(Sexe, &QAction::triggered, this, &Ondagramm::CmdSexe_Click);
    connect(propos, &QAction::triggered, this, &Ondagramm::proposDemande);
    connect(Aide, &QAction::triggered, this, &Ondagramm::aideDemandee);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &Ondagramm::fenetreActiveChangee);

    Timer1->setInterval(300);
    Timer1->start();
    TxtDateP->setText(texteDate(plateforme_.dateDuJour()));
    for (std::size_t k = 1; k <= 3; ++k)
        Picture1[k]->hide();
}

void Ondagramm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!activationFaite_) {
        activationFaite_ = true;
        // After the show has finished, so that its messages stand over a visible window.
        QMetaObject::invokeMethod(this, &Ondagramm::Form_Activate, Qt::QueuedConnection);
    }
}

// Enter presses "Calcule" from wherever the focus stands, as a window's default button would:
// the text boxes, the name box, the slider and the chart let it through; a focused button
// has taken it already for itself.
void Ondagramm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Commande1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Ondagramm::suitFenetre(QWidget* fenetre)
{
    fenetreSuivie_ = fenetre;
    if (fenetre && fenetre->windowHandle() == QGuiApplication::focusWindow())
        retourAttendu_ = true;
}

// Runs when the user comes back from the About window, even once that window is gone:
// closing it destroys it before the focus returns. A message box closing, the help viewer
// or another application does not count: the activation's own messages would loop.
void Ondagramm::fenetreActiveChangee(QWindow* fenetre)
{
    if (fenetre && fenetreSuivie_ && fenetre == fenetreSuivie_->windowHandle()) {
        retourAttendu_ = true;
    } else if (retourAttendu_ && fenetre && fenetre == windowHandle()) {
        retourAttendu_ = false; // first: the activation's messages take the focus and give it back
        Form_Activate();
    }
}

void Ondagramm::Form_Activate()
{
    plateforme_.reseme();
    const int rouge = static_cast<int>(std::floor(plateforme_.aleatoire() * 128)) + 128;
    const int vert = static_cast<int>(std::floor(plateforme_.aleatoire() * 100)) + 128;
    const int bleu = static_cast<int>(std::floor(plateforme_.aleatoire() * 100)) + 128;
    rouge_ = rouge;
    QPalette fond = centralWidget()->palette();
    fond.setColor(QPalette::Window, QColor(rouge, vert, bleu));
    centralWidget()->setPalette(fond);

    const Emplacement ici = plateforme_.emplacementAnnuaire();
    annuaire_.fixeDossier(ici.dossier, ici.repli);
    afficheListe(annuaire_.ChargeAnnuaire());
}

} // namespace dz
