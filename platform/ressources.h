#pragma once
// Fonts and pictures as the windows and the page were designed with them.

#include <QFont>
#include <QFontMetrics>
#include <QPixmap>
#include <QString>

#include <functional>

namespace dz {

enum class Face {
    MsSansSerif, // the windows' own face: a plain sans
    Arial,       // Liberation Sans, metric-compatible
    CourierNew   // Liberation Mono, metric-compatible
};

// The face's family on this system, no size: the one mapping for the screen and the page.
QFont famille(Face face);

// Size in points as designed for a 96 dpi screen; it is set in pixels so that the
// layout measured in pixels holds whatever dpi the screen reports.
QFont police(Face face, double points, bool gras = false, bool italique = false,
             bool souligne = false);

// The mapped faces run a little wider than the ones the windows were drawn with: `f` condensed
// just enough for `tient` to hold (at most to half its width).
QFont condensee(QFont f, const std::function<bool(const QFontMetrics&)>& tient);

// Renders the compiled-in picture ":/pictures/<nom>" at exactly the given pixel size,
// crisp on high-dpi screens. A missing picture gives a null pixmap.
QPixmap image(const QString& nom, QSize taille);

} // namespace dz
