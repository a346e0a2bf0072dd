#include "mainwindow/etiquettebordee.h"

#include "chart/trace.h"

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
    boiteAppareil(peintre, size(), devicePixelRatioF(), Qt::black); // even at any scale
}

} // namespace dz
