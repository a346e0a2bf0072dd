#include "mainwindow/bouton.h"

#include "chart/trace.h"
#include "platform/ressources.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

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
        peintre.save();
        boiteAppareil(peintre, size(), devicePixelRatioF(), Qt::black); // even at any scale
        peintre.restore();
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
    if (!d.image.isNull()) {
        // On the device pixel at or above its place: the nearest one would take the picture a
        // pixel into the caption's capitals at 150 % and 175 %.
        peintre.save();
        const QPointF o = versAppareil(peintre);
        const qreal r = devicePixelRatioF();
        const QPixmap p = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        peintre.drawPixmap(QRect(QPoint(static_cast<int>(std::floor(o.x() + d.image.left() * r)),
                                        static_cast<int>(std::floor(o.y() + d.image.top() * r))),
                                 p.size()),
                           p);
        peintre.restore();
    }
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
