#pragma once
// What a failed system call or Qt file operation means to the user, as a failure number.

#include "directory/avertisseur.h"

#include <QFileDevice>

namespace dz {

// The failure is read from errno where the system sets it (right after the call), else from
// what Qt says of the file. A short write the system gave no reason for is a full disk.
Echec echecOuverture(int erreur, QFileDevice::FileError qt);
Echec echecEcriture(int erreur, QFileDevice::FileError qt);

} // namespace dz
