#include "support/fakeplatform.h"

#include <QCoreApplication>
#include <QDir>

namespace dz {

FakePlateforme::FakePlateforme()
{
    dossierApp = racine.path() + "/app";
    dossierTemp = racine.path() + "/tmp";
    QDir().mkpath(dossierApp);
    QDir().mkpath(dossierTemp);
}

Plateforme::Reponse FakePlateforme::message(QWidget*, const QString& texte, Icone icone,
                                            Boutons boutons, const QString& titre)
{
    messages.append({texte, icone, boutons, titre});
    if (pendantMessage)
        pendantMessage(messages.back());
    if (boutons == Boutons::Ok)
        return Reponse::Ok;
    if (reponses.empty())
        return Reponse::Oui;
    const Reponse r = reponses.front();
    reponses.pop_front();
    return r;
}

void FakePlateforme::pompeEvenements()
{
    ++pompes;
    if (pendantPompe)
        pendantPompe();
    QCoreApplication::processEvents();
}

double FakePlateforme::aleatoire()
{
    if (tirages.empty())
        return 0.5;
    const double u = tirages.front();
    tirages.pop_front();
    return u;
}

bool FakePlateforme::choisitImprimante(QWidget* parent, QPrinter& p)
{
    return imprimante ? imprimante(parent, p) : false;
}

QString difference(const QImage& image, const QString& nom)
{
    if (const QString dossier = qEnvironmentVariable("DZ_REFERENCES"); !dossier.isEmpty())
        return image.save(dossier + "/" + nom + ".png") ? QString() : "non écrite";
    const QImage attendue = QImage(":/references/" + nom + ".png").convertToFormat(image.format());
    int differents = attendue.size() == image.size() ? 0 : -1;
    for (int y = 0; differents >= 0 && y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            differents += image.pixel(x, y) != attendue.pixel(x, y);
    const QString copie = QDir::temp().filePath(nom + "-obtenue.png");
    return differents == 0 ? QString()
                           : QString("%1 pixels diffèrent (%2)")
                                 .arg(differents)
                                 .arg(image.save(copie) ? copie : "copie non écrite");
}

} // namespace dz
