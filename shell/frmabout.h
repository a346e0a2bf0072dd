#pragma once
// The About window: modeless, one at a time, discarded when closed.

#include <QDialog>
#include <QUrl>

class Plateforme;
class QLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Plateforme& plateforme);

    // The open About window, or nullptr.
    static frmAbout* ouvert();

signals:
    // Sent once when the window closes (OK, Enter, Escape or its close box), just before it
    // is discarded. Not sent when the program ends through quitte().
    void fermee();

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void Label1_Click();
    void Label1_MouseMove();

    Plateforme& plateforme_;
    QLabel* Label1_;
    QUrl adresse_;
};

// The "A propos" command: creates the About window when none is open, otherwise brings the
// open one forward. Returns the window shown. Connect to its fermee() with
// Qt::UniqueConnection, since a second command returns the same window.
frmAbout* montreAPropos(Plateforme& plateforme);
