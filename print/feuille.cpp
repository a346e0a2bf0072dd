#include "print/feuille.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace dz {

void PageEnregistree::rejoue(QPainter& peintre) const
{
    peintre.setBrush(Qt::NoBrush);
    for (const Trait& t : traits) {
        switch (t.genre) {
        case Trait::Genre::Texte:
            peintre.setFont(t.police);
            peintre.setPen(QPen(t.couleur));
            peintre.drawText(t.a, t.texte);
            break;
        case Trait::Genre::Ligne:
            peintre.setPen(QPen(t.couleur, t.largeur, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            peintre.drawLine(t.a, t.b);
            break;
        case Trait::Genre::Boite:
            peintre.setPen(QPen(t.couleur, t.largeur, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            peintre.drawRect(QRectF(t.a, t.b).normalized());
            break;
        case Trait::Genre::Point:
            // A dot as wide as the pen, like a pen set down on paper.
            peintre.setPen(QPen(t.couleur, t.largeur, Qt::SolidLine, Qt::RoundCap));
            peintre.drawPoint(t.a);
            break;
        }
    }
}

Feuille::Feuille(PageEnregistree& page) : page_(page) { changePolice(); }

void Feuille::face(Face face)
{
    face_ = face;
    changePolice();
}

void Feuille::taille(double points)
{
    points_ = points;
    changePolice();
}

void Feuille::changePolice()
{
    // Sized in pixels of an unscaled painter, i.e. in twips: the painter's scale then gives the
    // real point size on any device, and the metrics do not depend on a device's dpi.
    police_ = famille(face_);
    police_.setPixelSize(static_cast<int>(std::lround(points_ * 20)));
    police_.setHintingPreference(QFont::PreferNoHinting);
}

double Feuille::hauteurLigne() const { return QFontMetricsF(police_).lineSpacing(); }

void Feuille::imprime(const QString& texte)
{
    if (texte.isEmpty())
        return;
    const QFontMetricsF mesures(police_);
    Trait t{Trait::Genre::Texte,
            QPointF(position_.x(), position_.y() + mesures.ascent()),
            {},
            couleurTexte_,
            0,
            texte,
            police_};
    page_.traits.push_back(std::move(t));
    position_.rx() += mesures.horizontalAdvance(texte);
}

void Feuille::imprimeLigne(const QString& texte)
{
    imprime(texte);
    position_ = QPointF(0, position_.y() + hauteurLigne());
}

void Feuille::trace(Trait::Genre genre, QPointF a, QPointF b, const QColor& couleur)
{
    page_.traits.push_back({genre, a, b, couleur, epaisseur_ * 1440.0 / page_.resolution, {}, {}});
}

void Feuille::ligne(QPointF de, QPointF a, const QColor& couleur)
{
    trace(Trait::Genre::Ligne, de, a, couleur);
}

void Feuille::boite(QPointF coin, QPointF oppose, const QColor& couleur)
{
    trace(Trait::Genre::Boite, coin, oppose, couleur);
}

void Feuille::point(QPointF p, const QColor& couleur) { trace(Trait::Genre::Point, p, p, couleur); }

} // namespace dz
