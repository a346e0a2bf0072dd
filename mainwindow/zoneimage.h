#pragma once
// A picture box: shows one picture, keeps it until replaced, and reports double-clicks.

#include <QLabel>

namespace dz {

class ZoneImage : public QLabel {
    Q_OBJECT
public:
    explicit ZoneImage(QWidget* parent = nullptr);

signals:
    void doubleClique();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace dz
