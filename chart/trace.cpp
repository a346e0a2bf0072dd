#include "chart/trace.h"

#include "core/textes.h"

#include <QPainter>

#include <algorithm>
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

int epaisseurTrait(double densite) { return std::max(1, arrondiDemiHaut(densite)); }

int pixelAppareil(double x, double densite, double origine)
{
    return arrondiDemiHaut(origine + x * densite + (densite - epaisseurTrait(densite)) / 2);
}

QRect pixelsLignes(QPointF de, QPointF a, double densite, QPointF origine)
{
    const int e = epaisseurTrait(densite);
    return QRect(QPoint(pixelAppareil(de.x(), densite, origine.x()),
                        pixelAppareil(de.y(), densite, origine.y())),
                 QPoint(pixelAppareil(a.x(), densite, origine.x()) + e - 1,
                        pixelAppareil(a.y(), densite, origine.y()) + e - 1));
}

QPointF versAppareil(QPainter& peintre)
{
    const QTransform appareil = peintre.deviceTransform();
    peintre.setWorldTransform(appareil.inverted());
    return {appareil.dx(), appareil.dy()};
}

QRect boiteAppareil(QPainter& peintre, QSize taille, qreal densite, const QColor& cadre)
{
    const QPointF o = versAppareil(peintre);
    const QRect boite(QPoint(qRound(o.x()), qRound(o.y())),
                      QPoint(qRound(o.x() + taille.width() * densite) - 1,
                             qRound(o.y() + taille.height() * densite) - 1));
    if (!cadre.isValid())
        return boite;
    const int e = epaisseurTrait(densite);
    for (const QRect& cote : {QRect(boite.left(), boite.top(), boite.width(), e),
                              QRect(boite.left(), boite.bottom() - e + 1, boite.width(), e),
                              QRect(boite.left(), boite.top(), e, boite.height()),
                              QRect(boite.right() - e + 1, boite.top(), e, boite.height())})
        peintre.fillRect(cote, cadre);
    return boite.adjusted(e, e, -e, -e);
}

namespace {

// Draws on a picture's device pixels, whatever its density: a line is then a whole number of
// pixels wide and lands on whole pixels, where a scaled painter would give it 1 pixel here and
// 2 there at a fractional density.
class SurAppareil {
public:
    explicit SurAppareil(QImage& image)
        : image_(image), densite_(image.devicePixelRatio()), e_(epaisseurTrait(densite_))
    {
        image_.setDevicePixelRatio(1);
        p_.begin(&image_);
        p_.setRenderHint(QPainter::Antialiasing, false);
    }
    ~SurAppareil()
    {
        p_.end();
        image_.setDevicePixelRatio(densite_);
    }

    // The device pixels of every design line from (x1, y1) to (x2, y2), a horizontal or
    // vertical line being one such line.
    void rectangle(const QColor& c, double x1, double y1, double x2, double y2)
    {
        p_.fillRect(pixelsLignes({x1, y1}, {x2, y2}, densite_), c);
    }
    // A segment swept by a square of the line's width: each column (or row) of it that width.
    void segment(const QColor& c, double x1, double y1, double x2, double y2)
    {
        p_.setPen(QPen(c, 1));
        const QPoint a(px(x1), px(y1));
        const QPoint b(px(x2), px(y2));
        for (int dy = 0; dy < e_; ++dy)
            for (int dx = 0; dx < e_; ++dx)
                p_.drawLine(a + QPoint(dx, dy), b + QPoint(dx, dy));
    }

private:
    int px(double x) const { return pixelAppareil(x, densite_); }

    QImage& image_;
    const qreal densite_;
    const int e_;
    QPainter p_;
};

} // namespace

int traceCadreEtJours(QImage& image, const Geometrie& g, int pasMarqueur)
{
    SurAppareil p(image);
    const QColor noir = couleurQB(0);
    // The frame's right and bottom sides fall outside the drawing area; clipping hides them.
    p.rectangle(noir, 1, 1, g.W, 1);
    p.rectangle(noir, 1, 1, 1, g.H);
    p.rectangle(noir, g.W, 1, g.W, g.H);
    p.rectangle(noir, 1, g.H, g.W, g.H);
    p.rectangle(noir, 1, g.Y0, g.W, g.Y0);

    int colonne = 0;
    const auto lignes = lignesJours(g);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const double t = lignes[i];
        if (static_cast<int>(i) + 1 == pasMarqueur) {
            p.rectangle(couleurQB(12), t - 2, 1, t + 2, g.H);
            colonne = static_cast<int>(std::floor(t));
        } else {
            p.rectangle(couleurQB(1), t, 1, t, g.H);
        }
    }
    return colonne;
}

void traceCourbes(QImage& image, const Courbes& courbes)
{
    SurAppareil p(image);
    const std::array<QColor, 3> couleurs{couleurQB(CouleurCycle[0]), couleurQB(CouleurCycle[1]),
                                         couleurQB(CouleurCycle[2])};
    for (std::size_t j = 1; j < courbes.y.size(); ++j) {
        for (std::size_t k = 0; k < 3; ++k) {
            p.segment(couleurs[k], static_cast<double>(j - 1), courbes.y[j - 1][k],
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
