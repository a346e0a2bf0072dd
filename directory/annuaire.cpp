#include "directory/annuaire.h"

#include "directory/contenu.h"
#include "directory/cp1252.h"
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

void Annuaire::fixeDossier(const QString& dossier)
{
    fichier_ = QDir(dossier).filePath(NomAnnuaire);
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

Annuaire::Etat Annuaire::lit(Contenu& contenu, bool signaleVide)
{
    const Lu lu = fichiers_.lit(fichier_, TailleMax);
    switch (lu.etat) {
    case Lu::Etat::Absent: return Etat::Absent;
    case Lu::Etat::TropGros:
        alerte(QStringLiteral("Le fichier « %1 » dépasse 32 Mio : ce n'est pas un annuaire. "
                              "Il n'a été ni lu ni modifié.")
                   .arg(nomAffiche(fichier_)));
        return Etat::Arret;
    case Lu::Etat::Echec: signale(lu.echec); return Etat::Arret;
    case Lu::Etat::Lu: break;
    }
    contenu = litContenu(lu.octets);
    if (contenu.codage == Codage::Utf16) {
        alerte(QStringLiteral("Le fichier « %1 » est enregistré en Unicode (UTF-16), que Dazozare "
                              "ne sait ni lire ni modifier. Enregistrez-le en ANSI ou en UTF-8 "
                              "avec votre éditeur de texte ; il n'a pas été modifié.")
                   .arg(nomAffiche(fichier_)));
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
    switch (lit(contenu, true)) {
    case Etat::Absent:
        information(QStringLiteral("Le repertoire est vide... Vous pouvez enregistrer un ou "
                                   "plusieurs noms avec leur date de naissance."));
        break;
    case Etat::Arret: break;
    case Etat::Lu: {
        int illisibles = 0;
        for (const QStringView ligne : lignes(contenu.texte)) {
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
    switch (lit(contenu, true)) {
    case Etat::Absent:
        information(QStringLiteral("Rien n'a encore été entré dans l'annuaire..."));
        resultat.annuaireAbsent = true;
        break;
    case Etat::Arret: break;
    case Etat::Lu: {
        int illisibles = 0;
        for (const QStringView ligne : lignes(contenu.texte)) {
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

// Takes the lock beside the file, runs the change, releases the lock, and only then shows
// what there is to tell and reads the file back for the list.
template <class Modification>
Annuaire::Resultat Annuaire::sousVerrou(Modification&& modification)
{
    Resultat resultat;
    if (const Verrou verrou = fichiers_.verrouille(fichier_, delaiVerrouMs_); verrou.tenu())
        resultat = modification();
    else if (verrou.echec)
        signale(*verrou.echec);
    else
        alerte(QStringLiteral("L'annuaire est en cours de modification par une autre fenêtre de "
                              "Dazozare. Réessayez dans un instant : rien n'a été enregistré."));
    publie();
    if (resultat.issue == Issue::Fait && resultat.noms.isEmpty() && QFileInfo::exists(fichier_))
        resultat.noms = ChargeAnnuaire();
    return resultat;
}

// The lines as the new content of the file, each ended by CR LF. False once told why not.
bool Annuaire::remplaceParLignes(const QString& texte)
{
    const auto octets = ecritContenu(texte);
    if (!octets) {
        const qsizetype i = premierIntraduisible(texte);
        alerte(QStringLiteral("L'annuaire contient le caractère « %1 », que Dazozare ne peut pas "
                              "enregistrer en Windows-1252 : il n'a pas été modifié.")
                   .arg(texte.mid(i, texte[i].isHighSurrogate() ? 2 : 1)));
        return false;
    }
    // No record left: the absent file is the empty directory.
    const auto echec =
        octets->isEmpty() ? fichiers_.supprime(fichier_) : fichiers_.remplace(fichier_, *octets);
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
    return sousVerrou([&]() -> Resultat {
        Contenu contenu;
        const Etat etat = lit(contenu, false);
        if (etat == Etat::Arret)
            return {};
        QString texte;
        for (const QStringView ligne : lignes(contenu.texte)) {
            if (nomDeLigne(ligne, MarqueurLong) == QStringView(nom))
                return {Issue::DejaEnregistre, {}};
            texte.append(ligne).append(QStringLiteral("\r\n"));
        }
        const QString fiche = ligneFiche(nom, naissance) + QStringLiteral("\r\n");
        // An editor may have left the last line without its end: end it first.
        QString fin;
        if (contenu.texte.endsWith(u'\r'))
            fin = QStringLiteral("\n");
        else if (!contenu.texte.isEmpty() && !contenu.texte.endsWith(u'\n'))
            fin = QStringLiteral("\r\n");
        const QByteArray ajout = encodeCp1252(fin + fiche).value_or(QByteArray());
        // A file in another shape, or one that the record would make read otherwise, is
        // written again whole, in the program's own shape.
        if (contenu.codage != Codage::Cp1252 || contenu.ctrlZ
            || litContenu(contenu.brut + ajout).texte != contenu.texte + fin + fiche)
            return remplaceParLignes(texte + fiche) ? Resultat{Issue::Fait, {}} : Resultat{};
        if (const auto echec = fichiers_.ajoute(fichier_, ajout)) {
            signale(*echec);
            return {};
        }
        return {Issue::Fait, {}};
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
// without a name are kept (a failed comparison is a difference); blank lines go.
Annuaire::Resultat Annuaire::reecrit(const QString& nom, const std::optional<QString>& naissance)
{
    return sousVerrou([&]() -> Resultat {
        Contenu contenu;
        switch (lit(contenu, true)) {
        case Etat::Arret: return {};
        case Etat::Absent:
            if (!naissance) {
                signale(Echec::FichierIntrouvable);
                return {};
            }
            break;
        case Etat::Lu: break;
        }
        QString texte;
        int illisibles = 0;
        for (const QStringView ligne : lignes(contenu.texte)) {
            const auto nomLu = nomDeLigne(ligne, MarqueurCourt);
            if (!nomLu)
                ++illisibles;
            if (!nomLu || *nomLu != QStringView(nom))
                texte.append(ligne).append(QStringLiteral("\r\n"));
        }
        signaleIllisibles(illisibles);
        if (naissance)
            texte += ligneFiche(nom, *naissance) + QStringLiteral("\r\n");
        return remplaceParLignes(texte) ? Resultat{Issue::Fait, {}} : Resultat{};
    });
}

} // namespace dz
