#include "directory/echecs.h"

#include <cerrno>

namespace dz {

namespace {

Echec echecDe(int erreur, QFileDevice::FileError qt, bool ecriture)
{
    switch (erreur) {
    case EMFILE:
    case ENFILE: return Echec::TropDeFichiers;
    case EACCES:
    case EPERM:
    case EROFS: return Echec::PermissionRefusee;
    case ENOENT:
    case ENOTDIR: return Echec::CheminIntrouvable;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Echec::DisquePlein;
    case EIO: return Echec::EntreeSortie;
    default: break;
    }
    switch (qt) {
    case QFileDevice::NoError: // a short write the system gave no reason for
        return ecriture ? Echec::DisquePlein : Echec::AccesChemin;
    case QFileDevice::ResourceError: return ecriture ? Echec::DisquePlein : Echec::TropDeFichiers;
    case QFileDevice::WriteError: return Echec::EntreeSortie;
    case QFileDevice::PermissionsError: return Echec::PermissionRefusee;
    default: return Echec::AccesChemin;
    }
}

} // namespace

Echec echecOuverture(int erreur, QFileDevice::FileError qt) { return echecDe(erreur, qt, false); }
Echec echecEcriture(int erreur, QFileDevice::FileError qt) { return echecDe(erreur, qt, true); }

} // namespace dz
