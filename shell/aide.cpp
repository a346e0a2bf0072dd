#include "shell/aide.h"

#include "platform/identite.h"
#include "platform/plateforme.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace dz {

namespace {
QPointer<VisionneuseAide> lecteur;
}

VisionneuseAide::VisionneuseAide(QWidget* parent)
    : QWidget(parent, Qt::Window), texte_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("VisionneuseAide"));
    setAttribute(Qt::WA_DeleteOnClose);
    texte_->setObjectName(QStringLiteral("TexteAide"));
    // The help file only links within itself; nothing leaves the reader.
    texte_->setOpenExternalLinks(false);
    auto* mise = new QVBoxLayout(this);
    mise->setContentsMargins(0, 0, 0, 0);
    mise->addWidget(texte_);
    resize(600, 520);
    for (const QKeySequence& touche :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(touche, this), &QShortcut::activated, this, &QWidget::close);
}

void VisionneuseAide::affiche(const QString& html, const QString& titreParDefaut)
{
    texte_->setHtml(html);
    texte_->document()->setDocumentMargin(12); // set after the text, which resets it
    const QString titre = texte_->document()->metaInformation(QTextDocument::DocumentTitle);
    setWindowTitle(titre.trimmed().isEmpty() ? titreParDefaut : titre);
}

void montreAide(Plateforme& plateforme, QWidget* parent)
{
    QFile fichier(fichierAide(plateforme.dossierApplication()));
    if (!fichier.open(QIODevice::ReadOnly))
        return;
    const QByteArray contenu = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError)
        return;

    const bool nouveau = !lecteur;
    if (nouveau)
        lecteur = new VisionneuseAide(parent);
    // The help names the folder where this user's directory is kept.
    const QString html = QString::fromUtf8(contenu).replace(
        QStringLiteral("@DOSSIER_ANNUAIRE@"),
        QDir::toNativeSeparators(plateforme.emplacementAnnuaire().dossier).toHtmlEscaped());
    lecteur->affiche(html, QStringLiteral("Aide de ") + Identite::titre());
    if (nouveau && parent) {
        QRect zone = lecteur->geometry();
        zone.moveCenter(parent->frameGeometry().center());
        lecteur->move(zone.topLeft());
    }
    lecteur->show();
    lecteur->raise();
    lecteur->activateWindow();
}

} // namespace dz
