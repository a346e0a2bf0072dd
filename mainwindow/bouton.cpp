#include "mainwindow/bouton.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace dz {

QFont Bouton::policeAjustee() const
{
    const QRect zone = rect().adjusted(2, 1, -2, -2);
    QFont f = font();
    for (int etirement = 100; etirement > 50; --etirement) {
        f.setStretch(etirement);
        const QRect texte = QFontMetrics(f).boundingRect(zone, Drapeaux, text());
        if (texte.width() <= zone.width() && texte.height() <= zone.height())
            break;
    }
    return f;
}

Bouton::Disposition Bouton::disposition() const
{
    const QRect zone = rect().adjusted(2, 1, -2, -2);
    const QFontMetrics fm(policeAjustee());
    Disposition d;
    d.texte = fm.boundingRect(zone, Drapeaux, text());
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
    peintre.setFont(policeAjustee());
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
