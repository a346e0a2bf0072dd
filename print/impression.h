#pragma once
// The printed page: the report (ImprimeFiche) at the top, the chart of the three cycles
// (ImprimeCourbes) below it, and the print command that records them and sends them to the
// printer the user picks.

#include "core/etat.h"
#include "print/feuille.h"

#include <QSizeF>
#include <QString>

#include <functional>

class QWidget;

namespace dz {

class Plateforme;

// What the main window shows when the command runs. The print command copies it first,
// so texts edited while window events run do not leak into the page.
struct EntreesImpression {
    QString nom;            // CmbNom
    QString texteNaissance; // TxtDateN
    QString texteCalcul;    // TxtDateP
    QString texteDGUS;      // TxtDGUS
    QString texteAP;        // TxtAP (the term)
    QString afichIntel;     // the three value labels, e.g. "45 ( Min -50, Max +50)"
    QString afichEmoti;
    QString afichPhysi;
    int rouge = 128;                // red of the window's background, 128..255
    std::function<void()> finFiche; // the report is done: the window re-enables Commande1
};

// Near-term report and chart: both pregnancy-tool texts are dates.
bool varianteTerme(const EntreesImpression& entrees, Plateforme& plateforme);

// Both need the birth and chart texts to be dates (the print command checks them).
// The report sets DateNaissance, DateCalcul and JoursVecus in `etat`; the chart reads
// JoursVecus and leaves DateCalcul at the chart date (term - 15 days near the term).
void ImprimeFiche(Feuille& feuille, const EntreesImpression& entrees, Etat& etat,
                  Plateforme& plateforme, QWidget* fenetre);
void ImprimeCourbes(Feuille& feuille, const EntreesImpression& entrees, Etat& etat,
                    Plateforme& plateforme);

// The print command of one main window.
class Impression {
public:
    static constexpr double MargesMm = 10; // until the user chooses others in the dialog

    enum class Resultat {
        Imprime,
        Annule,            // the printer dialog was cancelled: nothing printed, nothing said
        DejaEnCours,       // a print command arrived while one was running: ignored
        NaissanceInvalide, // the birth date is not a date: nothing happens, nothing said
        DateInvalide,      // the chart date is not a date: told, nothing printed
        ImprimanteEnErreur // the printer could not be opened or failed: told
    };

    explicit Impression(Plateforme& plateforme) : plateforme_(plateforme) {}

    // Checks the dates, records the page, shows the printer dialog, prints.
    Resultat imprime(QWidget* fenetre, const EntreesImpression& entrees, Etat& etat);

private:
    PageEnregistree dessine(QSizeF taille, const EtatImprimante& depart, const EntreesImpression& e,
                            Etat& etat, QWidget* fenetre);

    Plateforme& plateforme_;
    EtatImprimante imprimante_; // what the last page left: where the next one starts
    // The window's events run in the middle of the drawing: a second command would start a
    // second page on top of this one.
    bool enCours_ = false;
};

} // namespace dz
