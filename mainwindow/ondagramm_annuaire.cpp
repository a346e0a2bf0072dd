// The directory commands: choose, add or modify, delete a person.

#include "mainwindow/ondagramm.h"

#include "platform/plateforme.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace dz {

void Ondagramm::afficheListe(const QStringList& noms)
{
    CmbNom->clear(); // empties the edit field too
    CmbNom->addItems(noms);
    CmbNom->setCurrentIndex(-1);
    CmbNom->clearEditText();
}

void Ondagramm::CmbNom_Click()
{
    montreEtiquettes();
    const Recherche trouve = annuaire_.TrouveFiche(CmbNom->currentText());
    if (trouve.annuaireAbsent)
        return;
    if (trouve.naissance)
        TxtDateN->setText(*trouve.naissance);
    Commande1_Click();
}

void Ondagramm::CmdAjoute_Click()
{
    const QString nom = CmbNom->currentText();
    const QString naissance = TxtDateN->text();
    // Whether the person is already there is decided on the file, which another window of
    // the program may have changed since the list was read.
    auto resultat = annuaire_.AjouteFiche(nom, naissance);
    if (resultat.issue == Annuaire::Issue::DejaEnregistre) {
        const auto reponse = plateforme_.message(
            this,
            QStringLiteral("Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                           "Voulez modifier les informations la concernant ?"),
            Plateforme::Icone::Question, Plateforme::Boutons::OuiNon,
            QStringLiteral("Annuaire..."));
        if (reponse != Plateforme::Reponse::Oui)
            return;
        resultat = annuaire_.ModifieFiche(nom, naissance);
    }
    if (resultat.issue != Annuaire::Issue::Fait)
        return; // told; what was typed stays for another try
    afficheListe(resultat.noms);
    TxtDateN->clear();
}

void Ondagramm::CmdSup_Click()
{
    const auto resultat = annuaire_.SupprimeFiche(CmbNom->currentText());
    if (resultat.issue != Annuaire::Issue::Fait)
        return;
    afficheListe(resultat.noms);
    TxtDateN->clear();
}

} // namespace dz
