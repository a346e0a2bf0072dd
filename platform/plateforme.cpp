#include "platform/plateforme.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWidget>

#include <chrono>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace dz {

std::optional<Date> Plateforme::litDate(const QString& texte)
{
    return reconnaitDate(texte.toStdString(), std::chrono::year{aujourdhui().year()});
}

Date Plateforme::dateDuJour()
{
    const QDate j = aujourdhui();
    return Date{std::chrono::year{j.year()}, std::chrono::month{static_cast<unsigned>(j.month())},
                std::chrono::day{static_cast<unsigned>(j.day())}};
}

QString texteDate(Date d) { return QString::fromStdString(ecritDate(d)); }

Emplacement emplacementAnnuaire(const QString& programme, bool installe, bool inscriptible,
                                const QString& donneesUtilisateur)
{
    if (!installe && inscriptible)
        return {programme, {}};
    const auto annuaire = [](const QString& dossier) {
        return QFileInfo::exists(QDir(dossier).filePath(QStringLiteral("trivo.dat")));
    };
    if (!installe && !annuaire(donneesUtilisateur) && annuaire(programme))
        return {programme, donneesUtilisateur};
    return {donneesUtilisateur, {}};
}

bool inscriptible(const QString& dossier)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(dossier).constData(), W_OK) == 0;
#else
    // Windows grants writing through access lists that a file's attributes do not show (a
    // folder under Program Files): only a try tells.
    QTemporaryFile essai(dossier + QStringLiteral("/essai-XXXXXX"));
    return essai.open();
#endif
}

QString fichierAide(const QString& programme)
{
    const QString aCote = QDir(programme).filePath(QStringLiteral("Dazozare.hlp"));
    return QFileInfo::exists(aCote)
               ? aCote
               : QDir(programme).filePath(QStringLiteral("../share/dazozare/Dazozare.hlp"));
}

PlateformeQt::PlateformeQt() { reseme(); }

Plateforme::Reponse PlateformeQt::message(QWidget* parent, const QString& texte, Icone icone,
                                          Boutons boutons, const QString& titre)
{
    QMessageBox boite(parent);
    boite.setWindowTitle(titre);
    boite.setText(texte);
    switch (icone) {
    case Icone::Information: boite.setIcon(QMessageBox::Information); break;
    case Icone::Exclamation: boite.setIcon(QMessageBox::Warning); break;
    case Icone::Question: boite.setIcon(QMessageBox::Question); break;
    }
    if (boutons == Boutons::OuiNon) {
        boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        boite.setDefaultButton(QMessageBox::Yes);
    } else {
        boite.setStandardButtons(QMessageBox::Ok);
    }
    const int choix = boite.exec();
    if (boutons == Boutons::Ok)
        return Reponse::Ok;
    return choix == QMessageBox::Yes ? Reponse::Oui : Reponse::Non;
}

void PlateformeQt::pompeEvenements() { QCoreApplication::processEvents(); }

void PlateformeQt::sablier(QWidget* fenetre)
{
    if (fenetre)
        fenetre->setCursor(Qt::WaitCursor);
}

void PlateformeQt::pointeurNormal(QWidget* fenetre)
{
    if (fenetre)
        fenetre->unsetCursor();
}

QString PlateformeQt::dossierApplication() { return QCoreApplication::applicationDirPath(); }

Emplacement PlateformeQt::emplacementAnnuaire()
{
    const QString programme = dossierApplication();
    const bool installe = QDir(programme).dirName() == QLatin1String("bin")
                          && QFileInfo(programme + QStringLiteral("/../share/dazozare")).isDir();
    const QString utilisateur =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return dz::emplacementAnnuaire(programme, installe, inscriptible(programme),
                                   QDir(utilisateur).filePath(QStringLiteral("dazozare")));
}

QDate PlateformeQt::aujourdhui() { return QDate::currentDate(); }

void PlateformeQt::reseme()
{
    const auto maintenant = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    generateur_.seed(static_cast<std::mt19937::result_type>(maintenant));
}

double PlateformeQt::aleatoire()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(generateur_);
}

void PlateformeQt::ouvreUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

bool PlateformeQt::choisitImprimante(QWidget* parent, QPrinter& imprimante)
{
    QPrintDialog dialogue(&imprimante, parent);
    return dialogue.exec() == QDialog::Accepted;
}

} // namespace dz
