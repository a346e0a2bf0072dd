#pragma once
// The program's working window: a person and two dates, the three cycle values with
// their mood faces, the pregnancy panel, and the chart with its day strip.
// Each concern's handlers live in their own ondagramm_*.cpp.

#include "core/etat.h"
#include "directory/annuaire.h"
#include "print/impression.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;
class QWindow;

namespace dz {

class Canevas;
class Plateforme;
class ZoneImage;
struct Geometrie;

class Ondagramm : public QMainWindow {
    Q_OBJECT
public:
    explicit Ondagramm(Plateforme& plateforme, QWidget* parent = nullptr);
    ~Ondagramm() override;

    const Etat& etat() const { return etat_; }

    // A window of the program (About): coming back from it runs the activation.
    void suitFenetre(QWidget* fenetre);

signals:
    // The menu bar's "Quitter", "A propos" and "Aide", carried out by the program around it.
    void quitterDemande();
    void proposDemande();
    void aideDemandee();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // ondagramm_fenetre.cpp: every control where it was designed.
    void construitFenetre();
    void construitCadrePersonne(QWidget* client);
    void construitCadreAccouchement(QWidget* client);
    void construitValeurs(QWidget* client);
    void construitGraphique(QWidget* client);
    void construitMenu();

    // ondagramm.cpp: load, activation.
    void Form_Load();
    void Form_Activate();
    void fenetreActiveChangee(QWindow* fenetre);

    // ondagramm_calcul.cpp: the date controls and the redraw.
    bool estDate(const QString& texte) const;
    void montreEtiquettes();
    void Commande1_Click();
    void TxtDateN_Change();
    void TxtDateP_Change();
    void changementDate();
    void Command3_Click();
    void Slider1_Change();
    void Timer1_Timer();
    void MiseAJour();
    void TraceJours(const Geometrie& g, Date dateCalcul);
    void TraceJoursTerme(const Geometrie& g, Date terme);
    void traceBande(const Geometrie& g, Date premier);

    // ondagramm_grossesse.cpp: probable sex and the chart around the term.
    void ChoisitImageSexe(int physique, int emotionnel);
    void CmdSexe_Click();
    void TxtDGUS_Change();
    void Command2_Click();

    // ondagramm_annuaire.cpp: the directory commands.
    void CmbNom_Click();
    void CmdAjoute_Click();
    void CmdSup_Click();
    void afficheListe(const QStringList& noms);

    // ondagramm_impression.cpp: the print command.
    void Command1_Click();

    Plateforme& plateforme_;
    Etat etat_;
    std::unique_ptr<Avertisseur> avertisseur_;
    Annuaire annuaire_;
    Impression impression_;
    int rouge_ = 0;                   // red of the background drawn at the last activation
    bool activationFaite_ = false;    // the first show runs the activation once
    QPointer<QWidget> fenetreSuivie_; // the About window, while it is open
    bool retourAttendu_ = false;      // the focus went to it: its return runs the activation

    // Client area.
    QComboBox* CmbNom = nullptr;
    QLabel* Etiquette5 = nullptr; // intellectual value
    QLabel* Etiquette6 = nullptr; // emotional value
    QLabel* Etiquette7 = nullptr; // physical value
    QLabel* AfichIntel = nullptr; // the three value texts for the printed report; never shown
    QLabel* AfichEmoti = nullptr;
    QLabel* AfichPhysi = nullptr;
    std::array<ZoneImage*, 4> Picture1{}; // mood faces; 1..3 follow the cycle order
    std::array<QLabel*, 7> Picture2{};    // the seven faces Picture1 copies from; never shown
    QLabel* MerMamm = nullptr;            // name and birth date
    QLabel* AfichAge = nullptr;
    QPushButton* CmdSexe = nullptr;
    QSlider* Slider1 = nullptr;
    std::array<QLabel*, 3> Label1{}; // scale marks: 0 middle, 1 top, 2 bottom
    Canevas* Image1 = nullptr;       // the chart
    Canevas* AfichJour = nullptr;    // day strip under the chart

    // Frame1: the person and the dates.
    QGroupBox* Frame1 = nullptr;
    QLabel* Etiquette1 = nullptr;
    QPushButton* CmdAjoute = nullptr;
    QPushButton* CmdSup = nullptr;
    QLabel* Etiquette2 = nullptr;
    QLineEdit* TxtDateN = nullptr; // birth date
    QLabel* Etiquette3 = nullptr;
    QLineEdit* TxtDateP = nullptr; // chart date
    QPushButton* Command3 = nullptr;
    QLabel* AfichJourV = nullptr;     // days lived
    QPushButton* Command1 = nullptr;  // print
    QPushButton* Commande1 = nullptr; // compute; Enter in any text box presses it

    // Frame2: pregnancy.
    QGroupBox* Frame2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* TxtDGUS = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* TxtAP = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Command2 = nullptr;

    // Inside Image1: the sex pictures and the term mark.
    QLabel* PictSexe = nullptr;
    QLabel* Pictgarcon = nullptr;
    QLabel* PictFille = nullptr;
    QLabel* PictPGarcon = nullptr;
    QLabel* PictPFille = nullptr;
    QLabel* LblTerme = nullptr;

    // Menu bar, left to right.
    QAction* Quitter = nullptr;
    QAction* Imprimer = nullptr;
    QAction* Sexe = nullptr;
    QAction* propos = nullptr;
    QAction* Aide = nullptr;

    QTimer* Timer1 = nullptr; // blinking of equal values
};

} // namespace dz
