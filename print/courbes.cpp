#include "print/impression.h"

#include "core/cycles.h"
#include "platform/plateforme.h"

#include <array>
#include <cmath>

namespace dz {

void ImprimeCourbes(Feuille& f, const EntreesImpression& e, Etat& etat, Plateforme& plateforme)
{
    const GeometriePage g =
        geometriePage(f.dimensions().width(), f.dimensions().height(), etat.JoursVecus);
    const QColor presqueNoir(7, 0, 0);
    const QColor rouge(e.rouge, 0, 0);
    const bool terme = varianteTerme(e, plateforme);

    f.boite(QPointF(1, g.T), QPointF(g.C, g.T + g.B), presqueNoir);
    f.ligne(QPointF(1, g.T + g.M), QPointF(g.C, g.T + g.M), presqueNoir);
    plateforme.pompeEvenements();

    const int pasMarqueur = terme ? PasMarqueurTerme : PasMarqueurNormal;
    for (int k = 0; k <= JoursGraphe; ++k) {
        const double x = k * g.d;
        if (k == pasMarqueur)
            f.ligne(QPointF(x, g.T + 1), QPointF(x, g.T + g.B), rouge);
        const bool longue = k % 5 == 0; // every fifth day: k = 0 .. 30
        const double l = longue ? 200 : 100;
        const QColor& c = longue ? rouge : presqueNoir;
        f.ligne(QPointF(x, g.T + 1), QPointF(x, g.T + l), c);
        f.ligne(QPointF(x, g.T + g.M - l), QPointF(x, g.T + g.M + l), c);
        f.ligne(QPointF(x, g.T + g.B - l), QPointF(x, g.T + g.B), c);
    }

    const std::array<QColor, 3> couleurs{QColor(0, 50, 0), QColor(50, 0, 0), QColor(0, 0, 50)};
    for (int j = 0; j <= g.C; ++j) {
        const double X = g.X0 + j;
        const auto y = [&](std::size_t i) { return g.T + g.M + g.A * std::sin(-X / g.E[i]); };
        if (j % 60 == 0) {
            f.epaisseur(g.pen);
            f.point(QPointF(j, y(0)), couleurs[0]);
        }
        if (j % 120 == 0) {
            f.epaisseur(g.pen);
            f.point(QPointF(j, y(1)), couleurs[1]);
        }
        f.epaisseur(1);
        f.point(QPointF(j, y(2)), couleurs[2]);
    }
    plateforme.pompeEvenements();

    const double yNombres = g.T + g.B + 20;
    f.face(Face::Arial);
    f.taille(8.25);
    etat.DateCalcul = terme ? jourGrapheTerme(plateforme.litDate(e.texteAP).value())
                            : plateforme.litDate(e.texteCalcul).value();
    const Date premier = premierJourBande(etat.DateCalcul);
    for (int k = 0; k <= 31; ++k) {
        f.position(g.L + k * g.d, yNombres);
        const unsigned jour = static_cast<unsigned>(ajouteJours(premier, k).day());
        f.imprime(QStringLiteral(" %1 ").arg(jour)); // a number printed with its sign blank
    }
}

} // namespace dz
