#include "mainwindow/zoneimage.h"

#include <QMouseEvent>

namespace dz {

ZoneImage::ZoneImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
}

void ZoneImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClique();
}

} // namespace dz
