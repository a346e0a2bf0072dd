#include "shell/lienweb.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace dz {

namespace {

// To a screen reader, a link named by its address, which its one action opens.
class AccessibleLien : public QAccessibleWidget {
public:
    explicit AccessibleLien(QWidget* w) : QAccessibleWidget(w, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<LienWeb*>(widget())->active();
    }
};

QAccessibleInterface* usine(const QString& classe, QObject* objet)
{
    if (classe == QLatin1String("dz::LienWeb") && objet && objet->isWidgetType())
        return new AccessibleLien(static_cast<QWidget*>(objet));
    return nullptr;
}

} // namespace

LienWeb::LienWeb(QWidget* parent) : QLabel(parent)
{
    static const bool accessible = (QAccessible::installFactory(usine), true);
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void LienWeb::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    emit survole();
}

void LienWeb::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit active();
}

void LienWeb::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit active(); break;
    default: QLabel::keyPressEvent(event);
    }
}

void LienWeb::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter peintre(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    peintre.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

} // namespace dz
