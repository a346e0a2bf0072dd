#include "core/dates.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace dz {
namespace {

bool estChiffre(char c) { return c >= '0' && c <= '9'; }
bool estSeparateur(char c) { return c == '/' || c == '-' || c == '.'; }
bool estBlanc(char c) { return c == ' ' || c == '\t'; }

// Reads a run of digits starting at i; returns the value and the count of digits.
std::pair<int, int> litNombre(std::string_view s, std::size_t& i)
{
    int valeur = 0;
    int chiffres = 0;
    while (i < s.size() && estChiffre(s[i]) && chiffres < 5) {
        valeur = valeur * 10 + (s[i] - '0');
        ++chiffres;
        ++i;
    }
    return {valeur, chiffres};
}

} // namespace

std::optional<Date> reconnaitDate(std::string_view texte, std::chrono::year anneeCourante)
{
    while (!texte.empty() && estBlanc(texte.front()))
        texte.remove_prefix(1);
    while (!texte.empty() && estBlanc(texte.back()))
        texte.remove_suffix(1);

    std::size_t i = 0;
    const auto [jour, chiffresJour] = litNombre(texte, i);
    if (chiffresJour < 1 || chiffresJour > 2 || i >= texte.size() || !estSeparateur(texte[i]))
        return std::nullopt;
    ++i;
    const auto [mois, chiffresMois] = litNombre(texte, i);
    if (chiffresMois < 1 || chiffresMois > 2)
        return std::nullopt;

    int annee = static_cast<int>(anneeCourante);
    if (i < texte.size()) {
        if (!estSeparateur(texte[i]))
            return std::nullopt;
        ++i;
        const auto [valeur, chiffresAnnee] = litNombre(texte, i);
        if (chiffresAnnee == 2)
            annee = valeur < 30 ? 2000 + valeur : 1900 + valeur;
        else if (chiffresAnnee == 4 && valeur >= 100)
            annee = valeur;
        else
            return std::nullopt;
        if (i != texte.size())
            return std::nullopt;
    }

    const Date d{std::chrono::year{annee}, std::chrono::month{static_cast<unsigned>(mois)},
                 std::chrono::day{static_cast<unsigned>(jour)}};
    if (!d.ok())
        return std::nullopt;
    return d;
}

std::string ecritDate(Date d)
{
    const unsigned j = static_cast<unsigned>(d.day());
    const unsigned m = static_cast<unsigned>(d.month());
    const int a = static_cast<int>(d.year());
    std::array<char, 16> tampon{};
    const int n = std::snprintf(tampon.data(), tampon.size(), "%02u/%02u/%04d", j, m, a);
    return std::string(tampon.data(), static_cast<std::size_t>(n));
}

long joursEntre(Date de, Date a)
{
    return static_cast<long>((std::chrono::sys_days{a} - std::chrono::sys_days{de}).count());
}

Date ajouteJours(Date d, long jours)
{
    return Date{std::chrono::sys_days{d} + std::chrono::days{jours}};
}

Date ajouteMois(Date d, int mois)
{
    const Date cible = d.year() / d.month() / std::chrono::day{1} + std::chrono::months{mois};
    const auto dernier =
        std::chrono::year_month_day_last{cible.year(), std::chrono::month_day_last{cible.month()}};
    return Date{cible.year(), cible.month(), std::min(d.day(), dernier.day())};
}

int moisEntre(Date de, Date a)
{
    return 12 * (static_cast<int>(a.year()) - static_cast<int>(de.year()))
           + (static_cast<int>(static_cast<unsigned>(a.month()))
              - static_cast<int>(static_cast<unsigned>(de.month())));
}

int ageAnnees(Date naissance, Date calcul)
{
    const int mois = moisEntre(naissance, calcul);
    return mois >= 0 ? mois / 12 : -((-mois + 11) / 12);
}

int jourSemaine(Date d)
{
    return static_cast<int>(std::chrono::weekday{std::chrono::sys_days{d}}.iso_encoding());
}

} // namespace dz
