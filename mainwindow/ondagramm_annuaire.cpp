// The directory commands: choose, add or modify, delete a person.

#include "mainwindow/ondagramm.h"

#include "platform/plateforme.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

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
    // Refused before anything changes: modifying deletes the old record first.
    if (const QString refus = refusFiche(nom, naissance); !refus.isEmpty()) {
        avertisseur_->refus(refus);
        return;
    }
    if (CmbNom->findText(nom, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
        const auto reponse = plateforme_.message(
            this,
            QStringLiteral("Cette personne est déjà enregistrée dans l'annuaire... \r\n"
                           "Voulez modifier les informations la concernant ?"),
            Plateforme::Icone::Question, Plateforme::Boutons::OuiNon,
            QStringLiteral("Annuaire..."));
        if (reponse != Plateforme::Reponse::Oui)
            return;
        const auto restants = annuaire_.SupprimeFiche(nom);
        // The old records are still there: adding now would only duplicate them.
        if (!restants)
            return;
        afficheListe(*restants); // TxtDateN keeps the date until the new record is in
    }
    const auto noms = annuaire_.AjouteFiche(nom, naissance);
    if (noms)
        afficheListe(*noms);
    // The name was not listed before (or no longer, once modified): when the reloaded list
    // lacks it, the write failed and was reported, and what was typed stays for another try.
    if (noms && noms->contains(nom))
        TxtDateN->clear();
    else
        CmbNom->setEditText(nom);
}

void Ondagramm::CmdSup_Click()
{
    const auto restants = annuaire_.SupprimeFiche(CmbNom->currentText());
    if (!restants)
        return;
    afficheListe(*restants);
    TxtDateN->clear();
}
