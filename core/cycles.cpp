#include "core/cycles.h"

#include <algorithm>
#include <cmath>

namespace dz {

Date jourGrapheTerme(Date terme) { return ajouteJours(terme, -JoursAvantTerme); }

double joursVecusTerme(Date naissance, Date terme)
{
    return static_cast<double>(joursEntre(naissance, terme) - JoursAvantTerme);
}

Date premierJourBande(Date jourGraphe) { return ajouteJours(jourGraphe, 1 - JoursAvant); }

double diviseur(double largeurJour, int periode) { return ((largeurJour * periode) / Pi) / 2; }

Geometrie geometrie(double W, double H, double D)
{
    Geometrie g;
    g.W = W;
    g.H = H;
    g.DX = W / JoursGraphe;
    g.A = H / 2.2;
    g.Y0 = H / 2;
    g.X0 = (D - JoursAvant) * g.DX;
    for (std::size_t k = 0; k < 3; ++k)
        g.Diviseur[k] = diviseur(g.DX, Periode[k]);
    return g;
}

GeometriePage geometriePage(double W, double H, double D)
{
    GeometriePage g;
    g.d = (W / 9) / 5;
    g.C = JoursGraphe * g.d;
    g.T = 2 * (H / 10);
    g.B = H / 5;
    g.M = g.B / 2;
    g.A = H / 12;
    g.L = W / 100;
    g.pen = static_cast<int>(std::nearbyint(W / 4000)); // halves go to even
    g.X0 = (D - JoursAvant) * g.d;
    for (std::size_t k = 0; k < 3; ++k)
        g.E[k] = diviseur(g.d, Periode[k]);
    return g;
}

std::vector<double> lignesJours(const Geometrie& g)
{
    std::vector<double> lignes;
    double t = 0;
    bool premier = true;
    while (t <= g.W) {
        if (!premier)
            lignes.push_back(t);
        premier = false;
        t += g.DX;
    }
    return lignes;
}

int colonneMarqueur(const Geometrie& g, int pas)
{
    const auto lignes = lignesJours(g);
    return static_cast<int>(std::floor(lignes.at(static_cast<std::size_t>(pas - 1))));
}

Courbes calculeCourbes(const Geometrie& g, int M)
{
    Courbes c;
    c.y.reserve(static_cast<std::size_t>(g.W) + 2);
    const double fin = g.X0 + g.W;
    for (double x = g.X0; x <= fin; x += 1) {
        std::array<double, 3> y{};
        const bool lecture = std::floor(x - g.X0) == M;
        for (std::size_t k = 0; k < 3; ++k) {
            y[k] = g.Y0 + g.A * std::sin(-x / g.Diviseur[k]);
            if (lecture)
                c.valeurs[k] =
                    static_cast<int>(std::floor(50 - 100 * (y[k] - MargeHaute) / (2 * g.A)));
        }
        c.y.push_back(y);
    }
    return c;
}

double largeurPage(double feuille, double zone)
{
    return std::min(feuille, zone * 45 / JoursGraphe);
}

double hauteurPage(double feuille, double zone) { return std::min(feuille, (zone - 250) / 0.4); }

int niveau(int v)
{
    if (v <= -40)
        return 0;
    if (v <= -20)
        return 1;
    if (v <= -5)
        return 2;
    if (v <= 5)
        return 3;
    if (v <= 20)
        return 4;
    if (v <= 40)
        return 5;
    return 6;
}

} // namespace dz
