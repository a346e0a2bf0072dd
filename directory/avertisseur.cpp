#include "directory/avertisseur.h"

QString descriptionErreur(int numero)
{
    switch (numero) {
    case erreurs::AppelIncorrect:
        return QStringLiteral("Appel de procédure ou argument incorrect");
    case erreurs::FichierIntrouvable:
        return QStringLiteral("Fichier introuvable");
    case erreurs::EntreeSortie:
        return QStringLiteral("Erreur d'entrée/sortie sur le périphérique");
    case erreurs::DisquePlein:
        return QStringLiteral("Disque plein");
    case erreurs::FinDeFichier:
        return QStringLiteral("Lecture au-delà de la fin du fichier");
    case erreurs::TropDeFichiers:
        return QStringLiteral("Trop de fichiers ouverts");
    case erreurs::PermissionRefusee:
        return QStringLiteral("Permission refusée");
    case erreurs::AccesChemin:
        return QStringLiteral("Erreur d'accès au chemin ou au fichier");
    case erreurs::CheminIntrouvable:
        return QStringLiteral("Chemin introuvable");
    default:
        return QStringLiteral("Erreur définie par l'application ou par l'objet");
    }
}

QString texteSignaleErreur(int numero, const QString& description)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Une erreur inattendue est survenue.") + crlf + crlf
        + QStringLiteral("Numéro de l'erreur : ") + crlf + QString::number(numero) + crlf + crlf
        + QStringLiteral("Description de l'erreur : ") + crlf + description;
}
