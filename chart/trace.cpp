#include "chart/trace.h"

#include "core/textes.h"

#include <QPainter>

#include <cmath>

namespace dz {

QColor couleurQB(int index)
{
    switch (index) {
    case 1: return QColor(0, 0, 128);
    case 2: return QColor(0, 128, 0);
    case 4: return QColor(128, 0, 0);
    case 12: return QColor(255, 0, 0);
    default: return QColor(0, 0, 0);
    }
}

int arrondiDemiHaut(double coordonnee) { return static_cast<int>(std::floor(coordonnee + 0.5)); }

namespace {

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
}

// A one-to-one picture gets every point on the design pixel it lands on, as the chart was
// designed; a denser one (a high-density screen) gets the true positions at its own resolution.
bool auPixel(const QPainter& p) { return p.device()->devicePixelRatioF() == 1; }

void ligne(QPainter& p, const QColor& c, double x1, double y1, double x2, double y2)
{
    p.setPen(QPen(c, 1));
    if (auPixel(p))
        p.drawLine(QPoint(arrondiDemiHaut(x1), arrondiDemiHaut(y1)),
                   QPoint(arrondiDemiHaut(x2), arrondiDemiHaut(y2)));
    else
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

} // namespace

int traceCadreEtJours(QImage& image, const Geometrie& g, int pasMarqueur)
{
    QPainter p(&image);
    prepare(p);
    const QColor noir = couleurQB(0);
    // The frame's right and bottom sides fall outside the drawing area; clipping hides them.
    ligne(p, noir, 1, 1, g.W, 1);
    ligne(p, noir, 1, 1, 1, g.H);
    ligne(p, noir, g.W, 1, g.W, g.H);
    ligne(p, noir, 1, g.H, g.W, g.H);
    ligne(p, noir, 1, g.Y0, g.W, g.Y0);

    int colonne = 0;
    const auto lignes = lignesJours(g);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const double t = lignes[i];
        if (static_cast<int>(i) + 1 == pasMarqueur) {
            if (auPixel(p))
                p.fillRect(QRect(QPoint(arrondiDemiHaut(t - 2), arrondiDemiHaut(1)),
                                 QPoint(arrondiDemiHaut(t + 2), arrondiDemiHaut(g.H))),
                           couleurQB(12));
            else // the same five pixels' width, centred on the day
                p.fillRect(QRectF(QPointF(t - 2.5, 0.5), QPointF(t + 2.5, g.H + 0.5)),
                           couleurQB(12));
            colonne = static_cast<int>(std::floor(t));
        } else {
            ligne(p, couleurQB(1), t, 1, t, g.H);
        }
    }
    return colonne;
}

void traceCourbes(QImage& image, const Courbes& courbes)
{
    QPainter p(&image);
    prepare(p);
    const std::array<QColor, 3> couleurs{couleurQB(CouleurCycle[0]), couleurQB(CouleurCycle[1]),
                                         couleurQB(CouleurCycle[2])};
    for (std::size_t j = 1; j < courbes.y.size(); ++j) {
        for (std::size_t k = 0; k < 3; ++k) {
            ligne(p, couleurs[k], static_cast<double>(j - 1), courbes.y[j - 1][k],
                  static_cast<double>(j), courbes.y[j][k]);
        }
    }
}

std::vector<EtiquetteJour> etiquettesJours(double DX, Date premier)
{
    std::vector<EtiquetteJour> etiquettes;
    double x = 12;
    for (int i = 0; i < 32; ++i) {
        const unsigned jour = static_cast<unsigned>(ajouteJours(premier, i).day());
        etiquettes.push_back(
            {arrondiDemiHaut(x), QStringLiteral("%1").arg(jour, 2, 10, QLatin1Char('0'))});
        x += DX;
    }
    return etiquettes;
}

void traceBandeJours(QImage& bande, const QFont& police, const QColor& couleur, double DX,
                     Date premier)
{
    QPainter p(&bande);
    p.setFont(police);
    p.setPen(couleur);
    const int ligneDeBase = QFontMetrics(police).ascent();
    for (const auto& e : etiquettesJours(DX, premier))
        p.drawText(QPoint(e.x, ligneDeBase), e.texte);
}

} // namespace dz
