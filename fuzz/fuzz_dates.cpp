// Any text typed as a date: recognised or refused, never a crash, and a recognised date
// always writes back as a text that reads as the same date.

#include "core/dates.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    const auto d = dz::reconnaitDate(texte, std::chrono::year{2026});
    if (!d)
        return 0;
    if (!d->ok())
        std::abort();
    const auto relue = dz::reconnaitDate(dz::ecritDate(*d), std::chrono::year{2026});
    if (!relue || *relue != *d)
        std::abort();
    const auto terme = dz::ajouteMois(*d, 9);
    if (!terme.ok() || dz::joursEntre(*d, dz::ajouteJours(*d, 15)) != 15)
        std::abort();
    return 0;
}
