#pragma once
// How the directory store speaks to the user. The store only says what to tell;
// the main window shows it in message boxes.

#include <QString>

namespace dz {

// Failure numbers, in the classic BASIC run-time numbering the program has always shown.
enum class Echec {
    AppelIncorrect = 5, // a name that cannot be cut out of its line
    FichierIntrouvable = 53,
    EntreeSortie = 57,
    DisquePlein = 61,
    FinDeFichier = 62, // reading the first line of an empty file
    TropDeFichiers = 67,
    PermissionRefusee = 70,
    AccesChemin = 75, // also: something other than a plain file at the path
    CheminIntrouvable = 76,
};

// Short French description of a failure.
QString descriptionEchec(Echec echec);

// Text of the error report, box titled "Erreur..." with the exclamation icon.
QString texteSignaleErreur(Echec echec);

struct Avertisseur {
    virtual ~Avertisseur() = default;
    // Title "Annuaire...", information icon, OK button.
    virtual void information(const QString& texte) = 0;
    // Title "Annuaire...", exclamation icon, OK button: what the store will not do, and why.
    virtual void alerte(const QString& texte) = 0;
    // Title "Erreur...", exclamation icon, OK button, text from texteSignaleErreur().
    virtual void erreur(Echec echec) = 0;
};

} // namespace dz
