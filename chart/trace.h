#pragma once
// Drawing the chart and the day strip into their persistent images.
// Coordinates are design pixels of the drawing area, y downwards; a fractional position lands
// on the nearest pixel. Lines are drawn on the picture's own device pixels, every line the
// design draws one pixel wide as wide as `epaisseurTrait` says; the window's other drawings
// that must land on whole device pixels use the same helpers.

#include "core/cycles.h"
#include "core/dates.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <vector>

namespace dz {

// Classic 16-colour palette entries the chart uses.
QColor couleurQB(int index);

// The pixel a fractional coordinate lands on: the nearest, a half going up (floor(x + 0.5)).
int arrondiDemiHaut(double coordonnee);

// Device pixels of a line the design draws one pixel wide: the density rounded, a half going
// up, and never less than one. That is 1 at 100 % and 125 %, 2 at 150 %, 175 % and 200 %, 3 at
// 250 %: whole pixels, so that every such line has one width at a given scale.
int epaisseurTrait(double densite);

// The first device pixel of such a line at design coordinate x, at `densite` device pixels a
// design pixel with design 0 at device `origine`: centred on the band its design pixel covers,
// so that at one to one it is the design pixel itself.
int pixelAppareil(double x, double densite, double origine = 0);

// The device pixels of the design lines from `de` to `a`, a horizontal or vertical line being
// one line: from the first pixel of the first line to the last of the last.
QRect pixelsLignes(QPointF de, QPointF a, double densite, QPointF origine = {});

// Turns a widget's painter to the device pixels it paints on; returns where the widget's (0, 0)
// falls there, between two pixels at some places and scales.
QPointF versAppareil(QPainter& peintre);

// The device pixels a widget of `taille` design pixels covers, its edges where the toolkit
// rounds them (a widget may start between two device pixels). With a colour, a frame one line
// wide on its four sides is drawn there and the pixels inside it are returned. Leaves the
// painter on device pixels.
QRect boiteAppareil(QPainter& peintre, QSize taille, qreal densite, const QColor& cadre = {});

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
