#include "support/fakeplatform.h"

#include <QDir>

namespace dz {

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
