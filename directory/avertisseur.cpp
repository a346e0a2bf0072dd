#include "directory/avertisseur.h"

namespace dz {

QString descriptionEchec(Echec echec)
{
    switch (echec) {
    case Echec::AppelIncorrect: return QStringLiteral("Appel de procédure ou argument incorrect");
    case Echec::FichierIntrouvable: return QStringLiteral("Fichier introuvable");
    case Echec::EntreeSortie: return QStringLiteral("Erreur d'entrée/sortie sur le périphérique");
    case Echec::DisquePlein: return QStringLiteral("Disque plein");
    case Echec::FinDeFichier: return QStringLiteral("Lecture au-delà de la fin du fichier");
    case Echec::TropDeFichiers: return QStringLiteral("Trop de fichiers ouverts");
    case Echec::PermissionRefusee: return QStringLiteral("Permission refusée");
    case Echec::AccesChemin: return QStringLiteral("Erreur d'accès au chemin ou au fichier");
    case Echec::CheminIntrouvable: return QStringLiteral("Chemin introuvable");
    }
    return QStringLiteral("Erreur définie par l'application ou par l'objet");
}

QString texteSignaleErreur(Echec echec)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Une erreur inattendue est survenue.") + crlf + crlf
           + QStringLiteral("Numéro de l'erreur : ") + crlf
           + QString::number(static_cast<int>(echec)) + crlf + crlf
           + QStringLiteral("Description de l'erreur : ") + crlf + descriptionEchec(echec);
}

} // namespace dz
