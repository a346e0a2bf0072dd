#pragma once
// The About window: modeless, one at a time, discarded when closed.

#include <QDialog>
#include <QUrl>

namespace dz {

class LienWeb;
class Plateforme;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Plateforme& plateforme);

    // The open About window, or nullptr.
    static frmAbout* ouvert();

private:
    void Label1_Click();
    void Label1_MouseMove();

    Plateforme& plateforme_;
    LienWeb* Label1_;
    QUrl adresse_;
};

// The "A propos" command: creates the About window when none is open, otherwise brings the
// open one forward. Returns the window shown.
frmAbout* montreAPropos(Plateforme& plateforme);

} // namespace dz
