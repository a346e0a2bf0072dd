#pragma once
// A flat bordered label: the line stays black whatever the text colour, where QFrame would
// draw it in the text colour (white on the value labels).

#include <QLabel>

namespace dz {

// No Q_OBJECT: to the toolkit and to screen readers it is a plain QLabel.
class EtiquetteBordee : public QLabel {
public:
    explicit EtiquetteBordee(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace dz
