#pragma once
// The help command: the HTML help file beside the program, shown in a reader window.

#include <QWidget>

class QTextBrowser;

namespace dz {

class Plateforme;

// The reader window. One at a time; the help command reloads and raises it.
class VisionneuseAide : public QWidget {
    Q_OBJECT
public:
    explicit VisionneuseAide(QWidget* parent = nullptr);

    // Shows the HTML text; the window takes the document's <title> as its caption.
    void affiche(const QString& html, const QString& titreParDefaut);

    QTextBrowser* texte() const { return texte_; }

private:
    QTextBrowser* texte_;
};

// The "Aide" command. A missing or unreadable help file is passed over in silence: nothing
// is shown and nothing changes. The reader is a window of its own, owned by parent.
void montreAide(Plateforme& plateforme, QWidget* parent);

} // namespace dz
