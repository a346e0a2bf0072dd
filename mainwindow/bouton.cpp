#include "mainwindow/bouton.h"

#include "platform/ressources.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace dz {

Bouton::Disposition Bouton::disposition() const
{
    const QRect zone = rect().adjusted(2, 1, -2, -2);
    Disposition d;
    d.police = condensee(font(), [&](const QFontMetrics& fm) {
        d.texte = fm.boundingRect(zone, Drapeaux, text());
        return d.texte.width() <= zone.width() && d.texte.height() <= zone.height();
    });
    if (icon().isNull()) { // centred
        d.texte.moveTop(zone.top() + std::max(0, (zone.height() - d.texte.height()) / 2));
        return d;
    }
    // The picture at the top; the caption at the bottom, where its line's leading above the
    // capitals may reach under the picture.
    d.image = QRect(QPoint(zone.left() + (zone.width() - iconSize().width()) / 2, zone.top()),
                    iconSize());
    const int espace = zone.height() - d.image.height() - d.texte.height();
    d.image.translate(0, std::max(0, espace / 2));
    d.texte.moveBottom(zone.bottom() - std::max(0, espace - espace / 2));
    return d;
}

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

    Disposition d = disposition();
    if (isDown()) {
        const QPoint decalage(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                              style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        d.image.translate(decalage);
        d.texte.translate(decalage);
    }
    if (!d.image.isNull())
        peintre.drawPixmap(
            d.image.topLeft(),
            icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled));
    peintre.setFont(d.police);
    peintre.drawItemText(d.texte, Drapeaux | Qt::AlignTop, palette(), isEnabled(), text(),
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
