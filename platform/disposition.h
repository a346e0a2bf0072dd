#pragma once
// Laying out windows as they were designed: in twips, 15 to a screen pixel, every control at a
// fixed place.

#include <QColor>
#include <QLabel>
#include <QRect>

class QWidget;

namespace dz {

// To the nearest pixel (5,564 twips are 371 pixels); 15 being odd, no count of twips falls on
// a half.
constexpr int pixelsProches(int twips)
{
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

constexpr QRect twips(int gauche, int haut, int largeur, int hauteur)
{
    return {pixelsProches(gauche), pixelsProches(haut), pixelsProches(largeur),
            pixelsProches(hauteur)};
}

// Own colours; an invalid colour keeps the inherited one. A widget without a background of its
// own stays transparent, so that its window's colour shows through.
void colore(QWidget* w, const QColor& fond, const QColor& texte);

// A label of plain text (names typed by the user are never markup, and blanks stay as typed).
template <class Etiquette = QLabel>
Etiquette* etiquette(QWidget* parent, const char* nom, const QRect& place, const QString& texte,
                     Qt::Alignment alignement = Qt::AlignLeft | Qt::AlignTop)
{
    auto* l = new Etiquette(parent);
    l->setObjectName(QLatin1String(nom));
    l->setGeometry(place);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(alignement);
    l->setText(texte);
    return l;
}

// Centres the window on its screen; the frame, unknown before the window is mapped, is left
// out of the reckoning.
void centreSurEcran(QWidget* fenetre);

} // namespace dz
