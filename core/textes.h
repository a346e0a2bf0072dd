#pragma once
// The texts the window and the printed report show, in the program's own formats.

#include <array>
#include <string>
#include <string_view>

namespace dz {

// Index 1 is Monday, 7 Sunday; slot 0 stays empty.
constexpr std::array<std::string_view, 8> JoursSemaine{"",      "lundi",    "mardi",  "mercredi",
                                                       "jeudi", "vendredi", "samedi", "dimanche"};

// Classic 16-colour indexes of the intellectual, emotional and physical curves.
constexpr std::array<int, 3> CouleurCycle{2, 1, 4};

// "##0": the plain integer, "-" when negative.
std::string formatEntier(long n);

// "### ##0": the last three digits set off by one blank, which is always written
// (800 gives " 800", 12345 "12 345"); a negative count takes a leading minus sign ("-12 345").
std::string formatJours(double jours);

std::string texteEtiquette(int cycle, int valeur); // "Intellectuel : 12" ...; cycle 0..2
std::string texteAfich(int valeur);                // "12 ( Min -50, Max +50)"
std::string texteJoursVecus(double jours);         // "12 555 jours de vie"
std::string texteAge(int annees);                  // " 34 Ans", "-1 Ans"

} // namespace dz
