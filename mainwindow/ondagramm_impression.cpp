// The print command: "Imprimer", from its button and from the menu bar.

#include "mainwindow/ondagramm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dz {

void Ondagramm::Command1_Click()
{
    if (!estDate(TxtDateN->text()))
        return;
    MiseAJour();
    EntreesImpression entrees;
    entrees.nom = CmbNom->currentText();
    entrees.texteNaissance = TxtDateN->text();
    entrees.texteCalcul = TxtDateP->text();
    entrees.texteDGUS = TxtDGUS->text();
    entrees.texteAP = TxtAP->text();
    entrees.afichIntel = AfichIntel->text();
    entrees.afichEmoti = AfichEmoti->text();
    entrees.afichPhysi = AfichPhysi->text();
    entrees.rouge = rouge_;
    entrees.finFiche = [this] { Commande1->setEnabled(true); };
    impression_.imprime(this, entrees, etat_);
}

} // namespace dz
