#pragma once
// Working state of the main window, shared by the redraw, the pregnancy tools and printing.

#include "core/dates.h"

#include <array>
#include <optional>

namespace dz {

struct Etat {
    Date DateNaissance{};
    Date DateCalcul{};
    double JoursVecus = 0;                         // always whole; may be negative
    std::array<std::optional<int>, 3> ValeurCycle; // no value before the first redraw
    int ColonneDate = 0;
    bool ModeTerme = false;
};

} // namespace dz
