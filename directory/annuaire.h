#pragma once
// The person directory: one text file "trivo.dat", one record a line,
// "nom=<name>;Naissan=<birth date>" ended by CR LF, in Windows-1252, in the order of
// addition. No cache: every routine reads the file again, so the file is the only truth.
// Two windows may work on one folder: every change takes a lock beside the file, reads the
// file again under it and writes it whole or not at all; messages wait until the lock is
// released and the file is safe.

#include "directory/avertisseur.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace dz {

class Fichiers;
struct Contenu;

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
    static constexpr qint64 TailleMax = 32 * 1024 * 1024; // read and written alike
    static constexpr int DelaiVerrouMs = 3000;

    enum class Issue {
        Fait,           // the file holds the change; `noms` is the list read back
        DejaEnregistre, // AjouteFiche: the file already has the name; nothing written
        Echec,          // told to the user; the file is as it was
    };
    struct Resultat {
        Issue issue = Issue::Echec;
        QStringList noms;
    };

    // `fichiers` defaults to the real disk.
    explicit Annuaire(Avertisseur& avertisseur, Fichiers* fichiers = nullptr);

    // The folder that holds the directory file (set on every activation of the main window),
    // and where a change goes instead when that folder is read-only (empty: nowhere else).
    void fixeDossier(const QString& dossier, const QString& repli = {});
    const QString& FichierAnnuaire() const { return fichier_; }
    void fixeDelaiVerrou(int ms) { delaiVerrouMs_ = ms; }

    // The names to list, in file order; empty after a missing-file message or a report.
    QStringList ChargeAnnuaire();

    Recherche TrouveFiche(const QString& nom);

    // Appends one record unless the file already has the name (then nothing is written).
    Resultat AjouteFiche(const QString& nom, const QString& naissance);

    // Removes every record with the name and appends the new one, in one rewrite: the
    // person moves to the end with the new date.
    Resultat ModifieFiche(const QString& nom, const QString& naissance);

    // Removes every record with the name; the file goes once the last record is gone, and
    // the list is then empty without a reload.
    Resultat SupprimeFiche(const QString& nom);

private:
    enum class Etat { Lu, Absent, Arret };
    std::optional<QString> resolu(const QString& chemin);
    Etat lit(const std::optional<QString>& chemin, Contenu& contenu, bool signaleVide);
    Resultat reecrit(const QString& nom, const std::optional<QString>& naissance);
    template <class Modification>
    Resultat sousVerrou(Modification&& modification);
    bool ecrit(const QString& cible, const QStringList& lignes);
    void signaleIllisibles(int nombre);
    // Held back until publie(): nothing is shown while the file is being changed.
    void signale(Echec echec);
    void alerte(const QString& texte);
    void information(const QString& texte);
    void publie();

    struct Rapport {
        enum class Genre { Information, Alerte, Erreur } genre;
        QString texte;
        Echec echec = Echec::AppelIncorrect;
    };

    Avertisseur& avertisseur_;
    Fichiers& fichiers_;
    QString fichier_;
    QString repli_;
    int delaiVerrouMs_ = DelaiVerrouMs;
    std::vector<Rapport> rapports_; // held back while the file is being changed
};

} // namespace dz
