#include "chart/canevas.h"

#include "chart/trace.h"

#include <QPainter>

namespace dz {

Canevas::Canevas(QSize tailleExterieure, bool bordure, QWidget* parent)
    : QWidget(parent), taille_(tailleExterieure), bordure_(bordure),
      fond_(palette().color(QPalette::Base))
{
    setFixedSize(taille_);
    creeImage(devicePixelRatioF());
}

void Canevas::creeImage(qreal densite)
{
    const int b = bordure_ ? 2 : 0;
    const QSize taille(taille_.width() - b, taille_.height() - b);
    QImage nouvelle(taille * densite, QImage::Format_RGB32);
    nouvelle.setDevicePixelRatio(densite);
    nouvelle.fill(fond_);
    if (!image_.isNull()) {
        QPainter peintre(&nouvelle);
        peintre.drawImage(QRect(QPoint(), taille), image_);
    }
    image_ = std::move(nouvelle);
}

void Canevas::efface()
{
    suitDensite();
    image_.fill(fond_);
    update();
}

// Qt 6.4 tells no widget that its screen's density changed: it shows when the picture is
// drawn into or painted.
bool Canevas::suitDensite()
{
    if (devicePixelRatioF() == image_.devicePixelRatio())
        return false;
    creeImage(devicePixelRatioF());
    return true;
}

QImage& Canevas::image()
{
    suitDensite();
    return image_;
}

void Canevas::paintEvent(QPaintEvent*)
{
    if (suitDensite())
        emit densiteChangee();
    QPainter peintre(this);
    // On the window's device pixels, where the box may start between two of them: its edges
    // where the toolkit rounds them, the border's four sides one line wide each, the picture
    // copied pixel for pixel (a scaled copy would drop or double a column here and there).
    const qreal r = image_.devicePixelRatio();
    const int trait = epaisseurTrait(r);
    const QRect zone = boiteAppareil(peintre, size(), r, bordure_ ? QColor(Qt::black) : QColor());
    const QRect vue = image_.rect() & QRect(QPoint(), zone.size());
    peintre.drawImage(QRect(zone.topLeft(), vue.size()), image_, vue);
    // Over the picture, not in it: the drawing keeps what the values were read from.
    if (hasFocus()) {
        peintre.setPen(QPen(palette().color(QPalette::WindowText), trait, Qt::DotLine));
        const int m = trait / 2; // a pen is centred on its line
        peintre.drawRect(zone.adjusted(m, m, m - trait, m - trait));
    }
}

} // namespace dz
