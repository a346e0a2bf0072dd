#pragma once
// Drawing the chart and the day strip into their persistent images.
// Coordinates are pixels of the drawing area, y downwards; a fractional position lands on
// the nearest pixel, and every line is one aliased pixel wide.

#include "core/cycles.h"
#include "core/dates.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <vector>

namespace dz {

// Classic 16-colour palette entries the chart uses.
QColor couleurQB(int index);

// The pixel a fractional coordinate lands on: the nearest, a half going up (floor(x + 0.5)).
int arrondiDemiHaut(double coordonnee);

// Frame, zero line and the day lines; day line `pasMarqueur` is the 5-pixel red marker.
// Returns the marker's column (ColonneDate).
int traceCadreEtJours(QImage& image, const Geometrie& g, int pasMarqueur);

// The three curves, interleaved column by column so that the last drawn wins at crossings.
void traceCourbes(QImage& image, const Courbes& courbes);

struct EtiquetteJour {
    int x;         // left edge
    QString texte; // day of the month, two digits
};

// Day-of-month labels of the 32 days from `premier`, left edges at 12 + i x DX by
// repeated addition.
std::vector<EtiquetteJour> etiquettesJours(double DX, Date premier);

// The labels on one line at the top of the strip.
void traceBandeJours(QImage& bande, const QFont& police, const QColor& couleur, double DX,
                     Date premier);

} // namespace dz
