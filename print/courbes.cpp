#include "print/impression.h"

#include "core/cycles.h"
#include "platform/plateforme.h"

#include <array>
#include <cmath>

namespace impression {

void ImprimeCourbes(Feuille& f, const EntreesImpression& e, dz::Etat& etat, Plateforme& plateforme)
{
    const double W = f.dimensions().width();
    const double H = f.dimensions().height();
    const double d = (W / 9) / 5; // one day
    const double C = 33 * d;
    const double T = 2 * (H / 10);
    const double B = H / 5;
    const double M = B / 2;
    const QColor presqueNoir(7, 0, 0);
    const QColor rouge(e.rouge, 0, 0);
    const bool terme = varianteTerme(e);

    f.boite(QPointF(1, T), QPointF(C, T + B), presqueNoir);
    f.ligne(QPointF(1, T + M), QPointF(C, T + M), presqueNoir);
    plateforme.pompeEvenements();

    const int pasMarqueur = terme ? dz::PasMarqueurTerme : dz::PasMarqueurNormal;
    for (int k = 0; k <= 33; ++k) {
        const double x = k * d;
        if (k == pasMarqueur)
            f.ligne(QPointF(x, T + 1), QPointF(x, T + B), rouge);
        const bool longue = k % 5 == 0; // every fifth day: k = 0 .. 30
        const double l = longue ? 200 : 100;
        const QColor& c = longue ? rouge : presqueNoir;
        f.ligne(QPointF(x, T + 1), QPointF(x, T + l), c);
        f.ligne(QPointF(x, T + M - l), QPointF(x, T + M + l), c);
        f.ligne(QPointF(x, T + B - l), QPointF(x, T + B), c);
    }

    const double A = H / 12;
    const int pen = static_cast<int>(std::nearbyint(W / 4000)); // halves go to even
    const double X0 = d * (etat.JoursVecus - 16);
    std::array<double, 3> E{};
    for (std::size_t i = 0; i < 3; ++i)
        E[i] = d * dz::Periode[i] / dz::Pi / 2;
    const std::array<QColor, 3> couleurs{QColor(0, 50, 0), QColor(50, 0, 0), QColor(0, 0, 50)};
    for (int j = 0; j <= C; ++j) {
        const double X = X0 + j;
        const auto y = [&](std::size_t i) { return T + M + A * std::sin(-X / E[i]); };
        if (j % 60 == 0) {
            f.epaisseur(pen);
            f.point(QPointF(j, y(0)), couleurs[0]);
        }
        if (j % 120 == 0) {
            f.epaisseur(pen);
            f.point(QPointF(j, y(1)), couleurs[1]);
        }
        f.epaisseur(1);
        f.point(QPointF(j, y(2)), couleurs[2]);
    }
    plateforme.pompeEvenements();

    const double yNombres = T + B + 20;
    f.face(Face::Arial);
    f.taille(8.25);
    const dz::Date dateGraphe = litDate(e.texteCalcul, e.anneeCourante).value();
    etat.DateCalcul = terme ? dz::ajouteJours(litDate(e.texteAP, e.anneeCourante).value(), -15)
                            : dateGraphe;
    const dz::Date premier = dz::ajouteJours(etat.DateCalcul, -15);
    const double L = W / 100;
    for (int k = 0; k <= 31; ++k) {
        f.position(L + k * d, yNombres);
        const unsigned jour = static_cast<unsigned>(dz::ajouteJours(premier, k).day());
        f.imprime(QStringLiteral(" %1 ").arg(jour)); // a number printed with its sign blank
    }
}

} // namespace impression
