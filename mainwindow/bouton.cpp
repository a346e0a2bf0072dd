#include "mainwindow/bouton.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace dz {

void Bouton::paintEvent(QPaintEvent*)
{
    QStylePainter peintre(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (isFlat()) {
        peintre.fillRect(rect(), palette().color(isDown() ? QPalette::Mid : QPalette::Button));
        peintre.setPen(Qt::black);
        peintre.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
        peintre.drawControl(QStyle::CE_PushButtonBevel, option);
    }

    const bool avecImage = !icon().isNull();
    QRect zone = rect().adjusted(2, avecImage ? 1 : 2, -2, avecImage ? -1 : -2);
    if (isDown())
        zone.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const int drapeaux = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const int hauteurTexte = peintre.fontMetrics().boundingRect(zone, drapeaux, text()).height();
    const int hauteurImage = avecImage ? iconSize().height() : 0;
    int y = zone.top() + std::max(0, (zone.height() - hauteurImage - hauteurTexte) / 2);
    if (avecImage) {
        const QPixmap p = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        peintre.drawPixmap(zone.left() + (zone.width() - iconSize().width()) / 2, y, p);
        y += hauteurImage;
    }
    peintre.drawItemText(QRect(zone.left(), y, zone.width(), zone.bottom() + 1 - y),
                         drapeaux | Qt::AlignTop, palette(), isEnabled(), text(),
                         QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = isFlat()
                         ? rect().adjusted(2, 2, -2, -2)
                         : style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        peintre.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace dz
