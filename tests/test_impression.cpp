// The printed page: the report and chart as recorded, the marks' size on paper at any
// resolution, the page printed to PDF and read back, and the print command's outcomes.
#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QtTest>

using namespace dz;

Q_DECLARE_METATYPE(EntreesImpression)

namespace {

const QColor Rouge(200, 0, 0);
const QColor Intel(0, 50, 0), Emoti(50, 0, 0), Physi(0, 0, 50); // the curves' colours
// A4 in twips, as the chart's proportions take it; a day; the band's top and height.
const QSizeF A4(11906, 16838);
const double W = A4.width(), d = W / 45, T = A4.height() / 5;
// Line heights of the report's two fonts, in twips.
constexpr double Ligne12pt = 276, Ligne10pt = 230;
constexpr double MargeTwips = 10 / 25.4 * 1440;

EntreesImpression entrees(const QString& naissance, const QString& calcul, const QString& dgus = {},
                          const QString& ap = {}, const QString& nom = "Jeanne Exemple")
{
    // clang-format off
    return {nom, naissance, calcul, dgus, ap, "45 ( Min -50, Max +50)", "-12 ( Min -50, Max +50)",
            "0 ( Min -50, Max +50)", Rouge.red(), {}};
    // clang-format on
}

// Report lines of someone born 3/11/1975 ("" empty); a coloured text is tagged with its colour.
QStringList rapport(const QString& date, const QString& age, const QStringList& avant,
                    const QStringList& fin)
{
    const QString ban = "********** T R I V I X E S  par l'Atelier des Ondes  **********";
    const QStringList valeurs{
        "#003200  Cycle Intellectuel 33/J  .............: 45 ( Min -50, Max +50)",
        "#320000    Cycle Emotionnel 28/J  . . . . . . .: -12 ( Min -50, Max +50)",
        "#000032      Cycle Physique 23/J  _____________: 0 ( Min -50, Max +50)", ""};
    // clang-format off
    return QStringList{"", QString(14, ' ') + ban, QString(40, ' ') + date, "",
                       " Mme.ou M. Jeanne Exemple Né(e) le:lundi 03/11/1975", " Age" + age, ""}
           + avant + valeurs + fin;
    // clang-format on
}

// The printer dialog answered with a PDF file, on the paper given, with other margins when
// `marges` (mm) is not 0.
void dialogue(FakePlateforme& pf, const QString& pdf, QPageSize::PageSizeId papier = QPageSize::A4,
              bool accepte = true, double marges = 0)
{
    pf.imprimante = [=](QWidget*, QPrinter& p) {
        p.setOutputFileName(pdf);
        p.setPageSize(QPageSize(papier));
        if (marges > 0)
            p.setPageMargins(QMarginsF(marges, marges, marges, marges), QPageLayout::Millimeter);
        return accepte;
    };
}

// One page of Jeanne Exemple through the print command into a PDF; its path, or "" on failure.
QString imprimePdf(Impression& impression, FakePlateforme& pf, const QString& nom,
                   QPageSize::PageSizeId papier = QPageSize::A4, double marges = 0)
{
    const QString fichier = pf.dossierTemp + "/" + nom + ".pdf";
    dialogue(pf, fichier, papier, true, marges);
    Etat etat;
    const auto r = impression.imprime(nullptr, entrees("3/11/1975", "17/05/2004"), etat);
    return r == Impression::Resultat::Imprime ? fichier : QString();
}

QString lance(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    return p.waitForFinished() ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// A page of a PDF as pixels, smoothed as a viewer shows it.
QImage rendu(const QString& pdf, int dpi, const QStringList& cadre = {})
{
    const QString png = pdf + QString::number(dpi);
    lance("pdftoppm", QStringList{"-png", "-singlefile", "-r", QString::number(dpi)} + cadre
                          + QStringList{pdf, png});
    return QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
}

// How much of a pixel a curve's ink covers. Blended with white, a curve's colour keeps its
// tint: in (0, 50, 0) the green stands 50/255 of the darkness above the two other channels.
double couverture(QRgb p, const QColor& c)
{
    const std::array<int, 3> v{qRed(p), qGreen(p), qBlue(p)}, t{c.red(), c.green(), c.blue()};
    const int bas = *std::min_element(v.begin(), v.end());
    const double encre = 1 - bas / 255.0;
    double teinte = 0;
    for (int i = 0; i < 3; ++i) {
        if (t[i] == 0 && v[i] - bas > 3)
            return 0;
        if (t[i] != 0)
            teinte = (v[i] - bas) / (255.0 * encre);
    }
    return encre > 0.05 && std::abs(teinte - 50 / 255.0) < 0.06 ? encre : 0;
}

// A curve's ink in whole pixels, and how many separate runs of columns it shows (one a dot, or
// one for a continuous curve).
struct Encre {
    double pixels = 0;
    int runs = 0;
};
Encre encre(const QImage& image, const QColor& couleur)
{
    Encre e;
    bool avant = false;
    for (int x = 0; x < image.width(); ++x) {
        double colonne = 0;
        for (int y = 0; y < image.height(); ++y)
            colonne += couverture(image.pixel(x, y), couleur);
        e.pixels += colonne;
        e.runs += colonne > 0.3 && !avant;
        avant = colonne > 0.3;
    }
    return e;
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

    static PageEnregistree enregistre(const EntreesImpression& e, EtatImprimante depart = {})
    {
        FakePlateforme pf;
        PageEnregistree page(A4);
        Feuille f(page, depart);
        Etat etat;
        ImprimeFiche(f, e, etat, pf, nullptr);
        ImprimeCourbes(f, e, etat, pf);
        return page;
    }

    // The recorded page replayed at `dpi`: one inch of the chart band (as high as its top stands
    // below the printable area's), from the day after the marker.
    static QImage rejouee(int dpi)
    {
        const double echelle = dpi / 1440.0;
        QImage fenetre(qRound(1440 * echelle), qRound(T * echelle), QImage::Format_RGB32);
        fenetre.fill(Qt::white);
        QPainter peintre(&fenetre);
        peintre.scale(echelle, echelle);
        peintre.translate(-17 * d, -T);
        enregistre(entrees("3/11/1975", "17/05/2004")).rejoue(peintre);
        return fenetre;
    }

private slots:
    void page_data()
    {
        QTest::addColumn<EntreesImpression>("e");
        QTest::addColumn<QStringList>("lignes"); // the whole report, or one of its lines
        QTest::addColumn<int>("marqueur");       // the day line in red across the band
        QTest::addColumn<QString>("jours");      // the first and last day numbers under it
        QTest::newRow("normale") << entrees("3/11/1975", "17/05/2004")
                                 << rapport("Date de Prévision:17/05/2004", "28/Ans et 6/Mois", {},
                                            {"#000032Jour Vecus: 10 423"})
                                 << 16 << " 2 , 2 ";
        QTest::newRow("terme") << entrees("3/11/1975", "17/05/2004", "01/01/2004", "10/10/2004")
                               << rapport(
                                      "Date ultime du terme:10/10/2004", "28/Ans et 11/Mois",
                                      {"Ondagrammes au dernier jour du terme"},
                                      {"", "", "", "", "", "#000032" + QString(63, ' ') + "Terme"})
                               << 31 << " 10 , 11 ";
        const auto ligne = [](const char* cas, const EntreesImpression& e, const QString& l) {
            QTest::newRow(cas) << e << QStringList{l} << 16 << QString();
        };
        ligne("terme sans DGUS", entrees("3/11/1975", "17/05/2004", "", "10/10/2004"),
              "#000032Jour Vecus: 10 423");
        ligne("mois du calendrier", entrees("31/12/2000", "01/01/2001"), " Age0/Ans et 1/Mois");
        ligne("dimanche, sans nom", entrees("02/01/2000", "17/05/2004", {}, {}, {}),
              " Mme.ou M.  Né(e) le:dimanche 02/01/2000");
        ligne("cinq chiffres", entrees("01/01/1970", "20/10/2003"), "#000032Jour Vecus: 12 345");
        ligne("âge négatif", entrees("20/07/2004", "17/05/2004"), " Age-1/Ans et 10/Mois");
    }
    void page()
    {
        QFETCH(EntreesImpression, e);
        QFETCH(QStringList, lignes);
        QFETCH(int, marqueur);
        QFETCH(QString, jours);
        QStringList rapport, nombres; // the report line by line, and the day numbers under the band
        QSet<int> pleins, longs;      // red day lines: across the band, and long ticks
        for (const Trait& t : enregistre(e).traits) {
            const double y = t.a.y() - QFontMetricsF(t.police).ascent(); // a text's top
            if (t.genre == Trait::Genre::Texte && y > 2 * T) {
                QCOMPARE(t.a.x(), W / 100 + nombres.size() * d);
                nombres << t.texte;
            } else if (t.genre == Trait::Genre::Texte) { // lines of 12, then 10 points, 1.15 high
                const double n =
                    y < 3 * Ligne12pt ? y / Ligne12pt : 3 + (y - 3 * Ligne12pt) / Ligne10pt;
                QVERIFY2(std::abs(n - qRound(n)) < 0.3, qPrintable(t.texte));
                rapport.resize(std::max(rapport.size(), qsizetype(qRound(n) + 1)));
                rapport[qRound(n)] = (t.couleur == Qt::black ? "" : t.couleur.name()) + t.texte;
                QVERIFY2(t.a.x() + QFontMetricsF(t.police).horizontalAdvance(t.texte) < W,
                         qPrintable(t.texte));                          // within the printable area
            } else if (t.couleur == Rouge && t.b.y() - t.a.y() > 300) { // long ticks: 400 at zero
                (t.b.y() - t.a.y() > T / 2 ? pleins : longs) << qRound(t.a.x() / d);
            }
        }
        QCOMPARE(pleins, QSet<int>{marqueur});
        QCOMPARE(longs, (QSet<int>{0, 5, 10, 15, 20, 25, 30}));
        QVERIFY2(rapport.contains(lignes.last()), qPrintable(rapport.join('\n')));
        if (!jours.isEmpty()) { // the whole report, and the day numbers
            QCOMPARE(rapport, lignes);
            QCOMPARE(nombres.first() + "," + nombres.last(), jours);
        }
    }

    // One inch of the chart band, from the day after the marker, at several resolutions: each
    // curve keeps its width on paper (dots of 3/300 inch, a line of 1/300 inch) and its pattern
    // (a dot every 60 twips, every 120 twips, a continuous line).
    void traits_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("pdf"); // printed through the command and rendered back
        QTest::newRow("300 dpi") << 300 << false;
        QTest::newRow("600 dpi") << 600 << false;
        QTest::newRow("1200 dpi") << 1200 << false;
        QTest::newRow("PDF à 300 dpi") << 300 << true;
    }
    void traits()
    {
        QFETCH(int, dpi);
        QFETCH(bool, pdf);
        const double echelle = dpi / 1440.0;
        QImage fenetre;
        if (pdf) {
#ifdef Q_OS_WIN
            QSKIP("the PDF is read back with poppler's Linux programs, which Wine cannot start");
#endif
            FakePlateforme pf;
            Impression impression(pf);
            const QString fichier = imprimePdf(impression, pf, "page");
            QVERIFY(!fichier.isEmpty());
            const auto px = [&](double twips) { return QString::number(qRound(twips * echelle)); };
            fenetre = rendu(fichier, dpi,
                            {"-x", px(MargeTwips + 17 * d), "-y", px(MargeTwips + T), "-W",
                             px(1440), "-H", px(T)});
        } else {
            fenetre = rejouee(dpi);
        }
        const double pixel = dpi / 300.0; // a pixel of the 300 dpi printer, here
        const Encre physique = encre(fenetre, Physi);
        QCOMPARE(physique.runs, 1);
        // As much ink on paper as at 1200 dpi, where a stroke's area is drawn most exactly.
        const double aire = double(physique.pixels) / (pixel * pixel);
        QVERIFY2(std::abs(aire / (encre(rejouee(1200), Physi).pixels / 16) - 1) < 0.3,
                 qPrintable(QString::number(aire)));
        for (const auto& [couleur, dots] : {std::pair{Intel, 24}, {Emoti, 12}}) {
            const Encre e = encre(fenetre, couleur);
            QVERIFY2(std::abs(e.runs - dots) <= 1, qPrintable(QString::number(e.runs)));
            const double diametre = std::sqrt(4.0 * double(e.pixels) / (M_PI * e.runs));
            QVERIFY2(std::abs(diametre / (3 * pixel) - 1) < 0.35,
                     qPrintable(QString::number(diametre)));
        }
    }

    // The whole page through the print command into a PDF, on the paper chosen in the dialog:
    // the report's text in order, the marker in the window's red on its day, the three curves
    // well inked, nothing near the edges, the document named after the person. The printer
    // keeps the text colour a page leaves: the session's second page prints its first lines in
    // the dark blue the first one ended with, not in black.
    void papier_data()
    {
        QTest::addColumn<QPageSize::PageSizeId>("papier");
        QTest::addColumn<QSizeF>("twips");
        QTest::addColumn<double>("marges"); // mm chosen in the dialog; 0: the default ones
        QTest::addColumn<double>("blanc");  // mm along the edges where nothing is drawn
        QTest::newRow("A4") << QPageSize::A4 << QSizeF(11906, 16838) << 0.0 << 5.0;
        QTest::newRow("Letter") << QPageSize::Letter << QSizeF(12240, 15840) << 0.0 << 5.0;
        QTest::newRow("A4, 30 mm") << QPageSize::A4 << QSizeF(11906, 16838) << 30.0 << 29.0;
    }
    void papier()
    {
        QFETCH(QPageSize::PageSizeId, papier);
        QFETCH(QSizeF, twips);
        QFETCH(double, marges);
#ifdef Q_OS_WIN
        QSKIP("the PDF is read back with poppler's Linux programs, which Wine cannot start");
#endif
        FakePlateforme pf;
        Impression impression(pf);
        QList<QColor> encres; // of the banner and the date on each page: tinted blue, or black
        for (const char* page : {"premiere", "seconde"}) {
            const QString fichier = imprimePdf(impression, pf, page, papier, marges);
            QVERIFY(!fichier.isEmpty());
            const double haut = marges > 0 ? marges / 25.4 * 1440 : MargeTwips, px = 150 / 1440.0;
            const QImage tete =
                rendu(fichier, 150).copy(0, qRound(haut * px), 1240, qRound(3 * Ligne12pt * px));
            double bleu = 0, gris = 0;
            for (int y = 0; y < tete.height(); ++y)
                for (int x = 0; x < tete.width(); ++x) {
                    bleu += couverture(tete.pixel(x, y), Physi);
                    gris += qRed(tete.pixel(x, y)) == qBlue(tete.pixel(x, y))
                                ? 1 - qRed(tete.pixel(x, y)) / 255.0
                                : 0;
                }
            encres << (bleu > 10 * gris ? Physi : gris > 10 * bleu ? QColor(Qt::black) : QColor());
        }
        QCOMPARE(encres, (QList<QColor>{Qt::black, Physi}));
        const QString fichier = pf.dossierTemp + "/seconde.pdf";
        const QString lu = lance("pdftotext", {"-layout", fichier, "-"});
        qsizetype position = 0;
        for (const char* attendu :
             {"T R I V I X E S", "Date de Prévision:17/05/2004", "Né(e) le:lundi 03/11/1975",
              ".: 45 ( Min -50, Max +50)", "Jour Vecus: 10 423", " 2 "}) {
            position = lu.indexOf(QString::fromUtf8(attendu), position);
            QVERIFY2(position >= 0, attendu);
        }
        const QString infos = lance("pdfinfo", {fichier});
        QVERIFY2(infos.contains("Title:           Dazozare – Jeanne Exemple"), qPrintable(infos));
        QVERIFY(infos.contains("Creator:         Dazozare 5.1.1"));

        const QImage image = rendu(fichier, 150);
        QVERIFY(std::abs(image.width() - twips.width() * 150 / 1440) <= 1.5);
        QVERIFY(std::abs(image.height() - twips.height() * 150 / 1440) <= 1.5);
        const double px = 150 / 1440.0, jour = twips.width() / 45;
        const double haut = (marges > 0 ? marges / 25.4 * 1440 : MargeTwips) + twips.height() / 5;
        // Midway between the top and middle ticks, the reddest column is the marker's.
        const int y = qRound((haut + haut / 4) * px);
        int marqueur = 0;
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) - qGreen(image.pixel(x, y))
                > qRed(image.pixel(marqueur, y)) - qGreen(image.pixel(marqueur, y)))
                marqueur = x;
        QVERIFY(marges > 0 || std::abs(marqueur - (MargeTwips + 16 * jour) * px) <= 2);
        const QImage bande =
            image.copy(0, qRound(haut * px), image.width(), qRound(twips.height() / 5 * px));
        const double solide = encre(bande, Physi).pixels;
        QVERIFY(solide > 300);
        for (const QColor& pointille : {Intel, Emoti})
            QVERIFY2(encre(bande, pointille).pixels * 10 >= solide, qPrintable(pointille.name()));
        QFETCH(double, blanc);
        const int bord = qCeil(blanc / 25.4 * 150);
        const QRect dedans = image.rect().adjusted(bord, bord, -bord, -bord);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY(dedans.contains(x, y) || image.pixel(x, y) == qRgb(255, 255, 255));
    }

    // A page that cannot be printed leaves no file; only real failures are told; a second
    // command while the window's events run does nothing.
    void commande()
    {
        FakePlateforme pf;
        Etat etat;
        const EntreesImpression bonnes = entrees("3/11/1975", "17/05/2004");
        Impression impression(pf);
        using R = Impression::Resultat;
        QList<R> imbriques;
        pf.pendantPompe = [&] { imbriques << impression.imprime(nullptr, bonnes, etat); };
        dialogue(pf, pf.dossierTemp + "/page.pdf", QPageSize::A4, false);
        QCOMPARE(impression.imprime(nullptr, bonnes, etat), R::Annule);
        QCOMPARE(imbriques, QList<R>(3, R::DejaEnCours));
        pf.pendantPompe = nullptr;
        dialogue(pf, pf.dossierTemp + "/page.pdf");
        QCOMPARE(impression.imprime(nullptr, entrees("", "17/05/2004"), etat),
                 R::NaissanceInvalide);
        QCOMPARE(impression.imprime(nullptr, entrees("3/11/1975", "31/02/2004"), etat),
                 R::DateInvalide);
        dialogue(pf, pf.dossierTemp + "/absent/page.pdf");
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(impression.imprime(nullptr, bonnes, etat), R::ImprimanteEnErreur);
        QVERIFY(QDir(pf.dossierTemp).isEmpty());
        QCOMPARE(pf.messages.size(), 2);
        QVERIFY(pf.messages[0].texte.contains("31/02/2004"));
        QVERIFY(pf.messages[1].texte.contains("absent/page.pdf"));
    }
};

QTEST_MAIN(TestImpression)
#include "test_impression.moc"
