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
        case Trait::Genre::Points:
            // Like a pen set down on paper: round, as wide as the pen.
            peintre.setPen(QPen(t.couleur, t.largeur, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            if (t.suite.size() > 1)
                peintre.drawPolyline(t.suite);
            else
                peintre.drawPoint(t.a);
            break;
        }
    }
}

Feuille::Feuille(PageEnregistree& page, const EtatImprimante& depart)
    : page_(page), face_(depart.face), points_(depart.points), couleurTexte_(depart.couleurTexte),
      epaisseur_(depart.epaisseur)
{
    changePolice();
}

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
    const QPointF ligneDeBase(position_.x(), position_.y() + mesures.ascent());
    page_.traits.push_back(
        {Trait::Genre::Texte, ligneDeBase, {}, couleurTexte_, 0, texte, police_, {}});
    position_.rx() += mesures.horizontalAdvance(texte);
}

void Feuille::imprimeLigne(const QString& texte)
{
    imprime(texte);
    position_ = QPointF(0, position_.y() + hauteurLigne());
}

void Feuille::trace(Trait::Genre genre, QPointF a, QPointF b, const QColor& couleur)
{
    page_.traits.push_back({genre, a, b, couleur, epaisseur_ * TwipsParPixel, {}, {}, {}});
}

void Feuille::ligne(QPointF de, QPointF a, const QColor& couleur)
{
    trace(Trait::Genre::Ligne, de, a, couleur);
}

void Feuille::boite(QPointF coin, QPointF oppose, const QColor& couleur)
{
    trace(Trait::Genre::Boite, coin, oppose, couleur);
}

void Feuille::point(QPointF p, const QColor& couleur)
{
    const double largeur = epaisseur_ * TwipsParPixel;
    for (std::size_t i : traces_) {
        Trait& t = page_.traits[i];
        if (t.couleur == couleur && t.largeur == largeur && p.x() - t.b.x() == 1) {
            if (t.suite.isEmpty())
                t.suite << t.a;
            t.suite << p;
            t.b = p;
            return;
        }
    }
    traces_.push_back(page_.traits.size());
    trace(Trait::Genre::Points, p, p, couleur);
}

} // namespace dz
