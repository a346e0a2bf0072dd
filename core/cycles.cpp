#include "core/cycles.h"

#include <cmath>

namespace dz {

Geometrie geometrie(double W, double H, double D)
{
    Geometrie g;
    g.W = W;
    g.H = H;
    g.DX = W / 33;
    g.A = H / 2.2;
    g.Y0 = H / 2;
    g.X0 = (D - 16) * g.DX;
    for (std::size_t k = 0; k < 3; ++k)
        g.Diviseur[k] = ((g.DX * Periode[k]) / Pi) / 2;
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
                c.valeurs[k] = static_cast<int>(
                    std::floor(50 - 100 * (y[k] - MargeHaute) / (2 * g.A)));
        }
        c.y.push_back(y);
    }
    return c;
}

int niveau(int v)
{
    if (v <= -40) return 0;
    if (v <= -20) return 1;
    if (v <= -5) return 2;
    if (v <= 5) return 3;
    if (v <= 20) return 4;
    if (v <= 40) return 5;
    return 6;
}

} // namespace dz
