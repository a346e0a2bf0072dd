#include "mainwindow/etiquettebordee.h"

#include <QPainter>

namespace dz {

EtiquetteBordee::EtiquetteBordee(QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain); // keeps the text clear of the line
    setLineWidth(1);
}

void EtiquetteBordee::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter peintre(this);
    peintre.setPen(Qt::black);
    peintre.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace dz
