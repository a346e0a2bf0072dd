#pragma once
// A command button as the window was drawn with them: the caption wraps when the button is
// narrow, an optional picture sits above it, and a flat button is drawn as one plain line.

#include <QPushButton>

namespace dz {

// No Q_OBJECT: to the toolkit and to screen readers it is a plain QPushButton.
class Bouton : public QPushButton {
public:
    using QPushButton::QPushButton;

    // Where the picture and the caption's lines are painted: inside the border, the caption's
    // last line a pixel clear of it, under the picture when there is one.
    // The caption's font is condensed as much as it needs to fit (a wider face than the
    // design's, a long caption written at run time).
    struct Disposition {
        QRect image;
        QRect texte;
        QFont police;
    };
    Disposition disposition() const;
    static constexpr int Drapeaux = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace dz
