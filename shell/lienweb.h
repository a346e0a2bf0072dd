#pragma once
// A web address shown as a link that the mouse, the keyboard (Tab, then Enter or Space) and a
// screen reader (a link it can press) all reach.

#include <QLabel>

namespace dz {

class LienWeb : public QLabel {
    Q_OBJECT
public:
    explicit LienWeb(QWidget* parent = nullptr);

signals:
    void active();  // a click, Enter, Space, or a screen reader's press
    void survole(); // the pointer moves over it

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace dz
