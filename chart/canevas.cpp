#include "chart/canevas.h"

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
    const int b = bordure_ ? 1 : 0;
    peintre.drawImage(b, b, image_);
    if (bordure_) {
        peintre.setPen(QPen(Qt::black, 1));
        peintre.drawRect(0, 0, width() - 1, height() - 1);
    }
    // Over the picture, not in it: the drawing keeps what the values were read from.
    if (hasFocus()) {
        peintre.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        const QSize zone = image_.deviceIndependentSize().toSize();
        peintre.drawRect(QRect(b, b, zone.width() - 1, zone.height() - 1));
    }
}

} // namespace dz
