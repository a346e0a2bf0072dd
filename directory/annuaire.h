#pragma once
// The person directory: one Windows-1252 text file "trivo.dat" beside the program,
// one record a line, "nom=<name>;Naissan=<birth date>" ended by CR LF, in the order of
// addition. No cache: every routine reads the file again, so the file is the only truth.

#include "directory/avertisseur.h"

#include <QString>
#include <QStringList>

#include <optional>

// The folder, one separator unless the folder already ends in one, then the file name.
QString cheminDans(const QString& dossier, const QString& nomFichier);

// Empty when the record can be stored as typed; otherwise why not, for a box titled
// "Annuaire..." with the exclamation icon. Run it before anything changes the file: the
// modify command deletes the old record before it adds the new one.
QString refusFiche(const QString& nom, const QString& naissance);

struct Recherche {
    // The file is missing: the information message is out and the choice ends there.
    bool annuaireAbsent = false;
    // Birth date of the first record with the name ("vbcrlf" already a line break);
    // empty when no record has the name or the lookup failed.
    std::optional<QString> naissance;
};

class Annuaire {
public:
    static inline const QString NomAnnuaire = QStringLiteral("trivo.dat");
    static inline const QString NomTemp = QStringLiteral("temp.anu");

    explicit Annuaire(Avertisseur& avertisseur) : avertisseur_(avertisseur) {}

    // On every activation of the main window: the program's folder and the system's
    // temporary folder.
    void fixeChemins(const QString& dossierApplication, const QString& dossierTemporaire);
    const QString& FichierAnnuaire() const { return fichierAnnuaire_; }
    // Kept for the record: deletions rewrite the directory through a file of its own
    // folder, so nothing is read from or written to this path.
    const QString& FichierTemp() const { return fichierTemp_; }

    // The names to list, in file order; empty after a missing-file message or an error
    // report.
    QStringList ChargeAnnuaire();

    // Appends one record and returns the reloaded names; a write that fails half-way is
    // reported and taken back first. std::nullopt when the record was refused or the file
    // could not be opened: nothing written, the list stays as it is.
    std::optional<QStringList> AjouteFiche(const QString& nom, const QString& naissance);

    // Removes every record with the name and returns the new list (empty once the last
    // record is gone and the file deleted). std::nullopt when the directory was left as it
    // was after an error report: missing file, open or write failure.
    std::optional<QStringList> SupprimeFiche(const QString& nom);

    Recherche TrouveFiche(const QString& nom);

    void SignaleErreur(int numero);

private:
    enum class Lecture { Lu, Absent, Echec };
    Lecture litAnnuaire(QByteArray& octets, QString& texte);
    bool remplaceAnnuaire(const QByteArray& octets);

    Avertisseur& avertisseur_;
    QString fichierAnnuaire_;
    QString fichierTemp_;
};
