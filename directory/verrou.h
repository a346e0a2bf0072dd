#pragma once
// The lock that lets one writer at a time change the directory.

#include "directory/avertisseur.h"

#include <QFile>

#include <memory>
#include <optional>

namespace dz {

// One writer at a time: the lock beside the file, held while this lives. The system
// releases it when its holder dies, however it dies.
class Verrou {
public:
    Verrou() = default;
    Verrou(Verrou&&) = default;
    ~Verrou();
    bool tenu() const;
    std::optional<Echec> echec; // why it was not had; none: another program holds it

private:
    friend class Fichiers;
    std::unique_ptr<QFile> fichier_;
};

} // namespace dz
