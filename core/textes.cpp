#include "core/textes.h"

#include <cmath>
#include <cstdlib>

namespace dz {

std::string formatEntier(long n) { return std::to_string(n); }

std::string formatJours(double jours)
{
    const long n = std::lround(jours);
    const std::string chiffres = std::to_string(std::labs(n));
    const std::size_t coupe = chiffres.size() > 3 ? chiffres.size() - 3 : 0;
    std::string texte = chiffres.substr(0, coupe) + " " + chiffres.substr(coupe);
    return n < 0 ? "-" + texte : texte;
}

std::string texteEtiquette(int cycle, int valeur)
{
    static constexpr std::array<std::string_view, 3> prefixes{
        "Intellectuel : ", "Emotionnel : ", "Physique :    "};
    return std::string(prefixes.at(static_cast<std::size_t>(cycle))) + formatEntier(valeur);
}

std::string texteAfich(int valeur) { return formatEntier(valeur) + " ( Min -50, Max +50)"; }

std::string texteJoursVecus(double jours) { return formatJours(jours) + " jours de vie"; }

std::string texteAge(int annees)
{
    std::string texte = annees < 0 ? "" : " ";
    return texte.append(formatEntier(annees)).append(" Ans");
}

} // namespace dz
