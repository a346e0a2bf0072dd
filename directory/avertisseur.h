#pragma once
// How the directory store speaks to the user. The store only says what to tell;
// the main window shows it in message boxes.

#include <QString>

// Failure numbers, in the classic BASIC run-time numbering the program has always shown.
namespace erreurs {
inline constexpr int AppelIncorrect = 5;       // a name that cannot be cut out of its line
inline constexpr int FichierIntrouvable = 53;
inline constexpr int EntreeSortie = 57;
inline constexpr int DisquePlein = 61;
inline constexpr int FinDeFichier = 62;        // reading the first line of an empty file
inline constexpr int TropDeFichiers = 67;
inline constexpr int PermissionRefusee = 70;
inline constexpr int AccesChemin = 75;
inline constexpr int CheminIntrouvable = 76;
} // namespace erreurs

// Short French description of a failure number.
QString descriptionErreur(int numero);

// Text of the error report, box titled "Erreur..." with the exclamation icon.
QString texteSignaleErreur(int numero, const QString& description);

struct Avertisseur {
    virtual ~Avertisseur() = default;
    // Title "Annuaire...", information icon, OK button.
    virtual void information(const QString& texte) = 0;
    // Title "Annuaire...", exclamation icon, OK button: a record the store will not write.
    virtual void refus(const QString& texte) = 0;
    // Title "Erreur...", exclamation icon, OK button, text from texteSignaleErreur().
    virtual void erreur(int numero, const QString& description) = 0;
};
