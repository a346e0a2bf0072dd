#include "chart/canevas.h"

#include <QPainter>

namespace dz {

Canevas::Canevas(QSize tailleExterieure, bool bordure, QWidget* parent)
    : QWidget(parent), taille_(tailleExterieure), bordure_(bordure),
      fond_(palette().color(QPalette::Base))
{
    setFixedSize(taille_);
    const int b = bordure_ ? 2 : 0;
    image_ = QImage(taille_.width() - b, taille_.height() - b, QImage::Format_RGB32);
    image_.fill(fond_);
}

void Canevas::efface()
{
    image_.fill(fond_);
    update();
}

void Canevas::paintEvent(QPaintEvent*)
{
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
        peintre.drawRect(QRect(b, b, image_.width() - 1, image_.height() - 1));
    }
}

} // namespace dz
