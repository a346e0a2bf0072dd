#include "directory/annuaire.h"

#include "directory/contenu.h"
#include "directory/fichiers.h"

#include <QDir>
#include <QFileInfo>

namespace dz {

namespace {

Fichiers& disque()
{
    static Fichiers fichiers;
    return fichiers;
}

QString nomAffiche(const QString& chemin) { return QDir::toNativeSeparators(chemin); }

} // namespace

Annuaire::Annuaire(Avertisseur& avertisseur, Fichiers* fichiers)
    : avertisseur_(avertisseur), fichiers_(fichiers ? *fichiers : disque())
{}

void Annuaire::fixeDossier(const QString& dossier, const QString& repli)
{
    fichier_ = QDir(dossier).filePath(NomAnnuaire);
    repli_ = repli.isEmpty() ? QString() : QDir(repli).filePath(NomAnnuaire);
}

void Annuaire::signale(Echec echec) { rapports_.push_back({Rapport::Genre::Erreur, {}, echec}); }

void Annuaire::alerte(const QString& texte)
{
    rapports_.push_back({Rapport::Genre::Alerte, texte});
}

void Annuaire::information(const QString& texte)
{
    rapports_.push_back({Rapport::Genre::Information, texte});
}

void Annuaire::publie()
{
    // Moved out first: a message box lets the window's events run, and with them, maybe,
    // another command of the store.
    const std::vector<Rapport> rapports = std::exchange(rapports_, {});
    for (const Rapport& r : rapports) {
        switch (r.genre) {
        case Rapport::Genre::Information: avertisseur_.information(r.texte); break;
        case Rapport::Genre::Alerte: avertisseur_.alerte(r.texte); break;
        case Rapport::Genre::Erreur: avertisseur_.erreur(r.echec); break;
        }
    }
}

// The first line without a name gets the usual report; the others are counted, so that a
// file of a thousand stray lines gives two boxes, not a thousand.
void Annuaire::signaleIllisibles(int nombre)
{
    if (nombre >= 1)
        signale(Echec::AppelIncorrect);
    if (nombre == 2)
        alerte(QStringLiteral("Une autre ligne de l'annuaire est illisible ; "
                              "elle est laissée telle quelle."));
    else if (nombre > 2)
        alerte(QStringLiteral("%1 autres lignes de l'annuaire sont illisibles ; "
                              "elles sont laissées telles quelles.")
                   .arg(nombre - 1));
}

std::optional<QString> Annuaire::resolu(const QString& chemin)
{
    std::optional<Echec> refus;
    QString fichier = fichiers_.resout(chemin, refus);
    if (refus) {
        signale(*refus);
        return std::nullopt;
    }
    return fichier;
}

Annuaire::Etat Annuaire::lit(const std::optional<QString>& chemin, Contenu& contenu,
                             bool signaleVide)
{
    if (!chemin)
        return Etat::Arret;
    const Lu lu = fichiers_.lit(*chemin, TailleMax);
    switch (lu.etat) {
    case Lu::Etat::Absent: return Etat::Absent;
    case Lu::Etat::TropGros:
        alerte(QStringLiteral("Le fichier « %1 » dépasse 32 Mio : ce n'est pas un annuaire. "
                              "Il n'a été ni lu ni modifié.")
                   .arg(nomAffiche(*chemin)));
        return Etat::Arret;
    case Lu::Etat::Echec: signale(lu.echec); return Etat::Arret;
    case Lu::Etat::Lu: break;
    }
    contenu = litContenu(lu.octets);
    if (contenu.utf16) {
        alerte(QStringLiteral("Le fichier « %1 » est enregistré en Unicode (UTF-16), que Dazozare "
                              "ne sait ni lire ni modifier. Enregistrez-le en ANSI ou en UTF-8 "
                              "avec votre éditeur de texte ; il n'a pas été modifié.")
                   .arg(nomAffiche(*chemin)));
        return Etat::Arret;
    }
    if (signaleVide && lu.octets.isEmpty()) {
        // The first line is read before the end is tested, and a name is then cut out of
        // the line that was never read.
        signale(Echec::FinDeFichier);
        signale(Echec::AppelIncorrect);
    }
    return Etat::Lu;
}

QStringList Annuaire::ChargeAnnuaire()
{
    QStringList noms;
    Contenu contenu;
    switch (lit(resolu(fichier_), contenu, true)) {
    case Etat::Absent:
        information(QStringLiteral("Le repertoire est vide... Vous pouvez enregistrer un ou "
                                   "plusieurs noms avec leur date de naissance."));
        break;
    case Etat::Arret: break;
    case Etat::Lu: {
        int illisibles = 0;
        for (const QString& ligne : contenu.lignes) {
            if (const auto nom = nomDeLigne(ligne, MarqueurLong))
                noms.append(nom->toString());
            else
                ++illisibles;
        }
        signaleIllisibles(illisibles);
        if (noms.isEmpty())
            information(QStringLiteral("L'annuaire est vide..."));
        break;
    }
    }
    publie();
    return noms;
}

Recherche Annuaire::TrouveFiche(const QString& nom)
{
    Recherche resultat;
    Contenu contenu;
    switch (lit(resolu(fichier_), contenu, true)) {
    case Etat::Absent:
        information(QStringLiteral("Rien n'a encore été entré dans l'annuaire..."));
        resultat.annuaireAbsent = true;
        break;
    case Etat::Arret: break;
    case Etat::Lu: {
        int illisibles = 0;
        for (const QString& ligne : contenu.lignes) {
            const auto nomLu = nomDeLigne(ligne, MarqueurCourt);
            if (!nomLu) {
                ++illisibles; // the sought name may still come
                continue;
            }
            if (*nomLu != QStringView(nom))
                continue;
            resultat.naissance = naissanceDeLigne(ligne);
            if (!resultat.naissance) // "nom=X;NaissanY": a name, but no date to give
                ++illisibles;
            break;
        }
        signaleIllisibles(illisibles);
        break;
    }
    }
    publie();
    return resultat;
}

// Takes the lock beside the file that the change will write, runs the change (reading the file
// again under the lock), releases the lock, and only then shows what there is to tell and reads
// the file back for the list. A directory on a read-only medium is changed in a copy, in the
// folder given for that, which the store works on from then on.
template <class Modification>
Annuaire::Resultat Annuaire::sousVerrou(Modification&& modification)
{
    Resultat resultat;
    const auto source = resolu(fichier_);
    const auto cible = repli_.isEmpty() ? source : resolu(repli_);
    if (!source || !cible) {
        publie();
        return resultat;
    }
    if (const Verrou verrou = fichiers_.verrouille(*cible, delaiVerrouMs_); verrou.tenu())
        resultat = modification(*source, *cible);
    else if (verrou.echec)
        signale(*verrou.echec);
    else
        alerte(QStringLiteral("L'annuaire est en cours de modification par une autre fenêtre de "
                              "Dazozare. Réessayez dans un instant : rien n'a été enregistré."));
    if (resultat.issue == Issue::Fait && *cible != *source) {
        information(QStringLiteral("« %1 » est en lecture seule : l'annuaire modifié est "
                                   "enregistré dans « %2 », que Dazozare utilise désormais.")
                        .arg(nomAffiche(*source), nomAffiche(*cible)));
        fichier_ = std::exchange(repli_, QString());
    }
    publie();
    if (resultat.issue == Issue::Fait && resultat.noms.isEmpty() && QFileInfo::exists(*cible))
        resultat.noms = ChargeAnnuaire();
    return resultat;
}

// The lines as the new content of `cible`. False once told why not.
bool Annuaire::ecrit(const QString& cible, const QStringList& lignes)
{
    const QByteArray octets = ecritContenu(lignes);
    // Nothing the program writes is refused when read back.
    if (octets.size() > TailleMax) {
        alerte(QStringLiteral("L'annuaire dépasserait 32 Mio, la taille que Dazozare sait lire : "
                              "rien n'a été enregistré."));
        return false;
    }
    // No record left: the absent file is the empty directory. A copy of a read-only one cannot
    // be left empty: the read-only one would show again.
    if (octets.isEmpty() && !QFileInfo::exists(cible)) {
        alerte(QStringLiteral("L'annuaire est en lecture seule : Dazozare ne peut pas en retirer "
                              "la dernière personne."));
        return false;
    }
    const auto echec =
        octets.isEmpty() ? fichiers_.supprime(cible) : fichiers_.remplace(cible, octets);
    if (echec)
        signale(*echec);
    return !echec;
}

Annuaire::Resultat Annuaire::AjouteFiche(const QString& nom, const QString& naissance)
{
    if (const QString refus = refusFiche(nom, naissance); !refus.isEmpty()) {
        alerte(refus);
        publie();
        return {};
    }
    return sousVerrou([&](const QString& source, const QString& cible) -> Resultat {
        Contenu contenu;
        if (lit(source, contenu, false) == Etat::Arret)
            return {};
        for (const QString& ligne : contenu.lignes)
            if (nomDeLigne(ligne, MarqueurLong) == QStringView(nom))
                return {Issue::DejaEnregistre, {}};
        // Through a new file, as any change: a record cut short would glue itself to the next.
        contenu.lignes.append(ligneFiche(nom, naissance));
        return ecrit(cible, contenu.lignes) ? Resultat{Issue::Fait, {}} : Resultat{};
    });
}

Annuaire::Resultat Annuaire::ModifieFiche(const QString& nom, const QString& naissance)
{
    if (const QString refus = refusFiche(nom, naissance); !refus.isEmpty()) {
        alerte(refus);
        publie();
        return {};
    }
    return reecrit(nom, naissance);
}

Annuaire::Resultat Annuaire::SupprimeFiche(const QString& nom)
{
    return reecrit(nom, std::nullopt);
}

// Every record with the name goes; with a birth date, the new record ends the file. Lines
// without a name are kept (a failed comparison is a difference).
Annuaire::Resultat Annuaire::reecrit(const QString& nom, const std::optional<QString>& naissance)
{
    return sousVerrou([&](const QString& source, const QString& cible) -> Resultat {
        Contenu contenu;
        switch (lit(source, contenu, true)) {
        case Etat::Arret: return {};
        case Etat::Absent:
            if (!naissance) {
                signale(Echec::FichierIntrouvable);
                return {};
            }
            break;
        case Etat::Lu: break;
        }
        QStringList gardees;
        int illisibles = 0;
        for (const QString& ligne : contenu.lignes) {
            const auto nomLu = nomDeLigne(ligne, MarqueurCourt);
            if (!nomLu)
                ++illisibles;
            if (!nomLu || *nomLu != QStringView(nom))
                gardees.append(ligne);
        }
        signaleIllisibles(illisibles);
        if (naissance)
            gardees.append(ligneFiche(nom, *naissance));
        return ecrit(cible, gardees) ? Resultat{Issue::Fait, {}} : Resultat{};
    });
}

} // namespace dz
