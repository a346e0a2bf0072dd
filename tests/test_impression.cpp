// The printed page: the recorded report and curves, then real PDFs read back with poppler
// (text, word boxes, pixels), and what the print command does when things go wrong.
#include "print/impression.h"
#include "support/fakeplatform.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <optional>
#include <set>

using namespace impression;
Q_DECLARE_METATYPE(impression::Resultat)
Q_DECLARE_METATYPE(impression::EntreesImpression)

namespace {

const QColor Rouge(200, 0, 0), PresqueNoir(7, 0, 0), Vert(0, 50, 0), Brun(50, 0, 0), Bleu(0, 0, 50);

struct Geometrie { // the chart's proportions on a sheet of W x H twips
    double W, H, d = W / 9 / 5, T = 2 * (H / 10), B = H / 5, M = B / 2, A = H / 12, L = W / 100;
};

EntreesImpression entrees(const QString& naissance, const QString& calcul, const QString& dgus = {},
                          const QString& ap = {}, const QString& nom = "Jeanne Exemple")
{
    return {nom, naissance, calcul, dgus, ap, "45 ( Min -50, Max +50)", "-12 ( Min -50, Max +50)",
            "0 ( Min -50, Max +50)", Rouge.red(), std::chrono::year{2004}, {}};
}

PageEnregistree enregistre(const EntreesImpression& e, dz::Etat& etat, QSizeF taille = PageA4Twips)
{
    FakePlateforme pf;
    PageEnregistree page(taille, 1200);
    Feuille f(page);
    ImprimeFiche(f, e, etat, pf, nullptr);
    ImprimeCourbes(f, e, etat, pf);
    return page;
}

// A platform whose printer dialog picks a PDF file, and maybe another sheet.
struct Poste : FakePlateforme {
    QString pdf = dossierTemp + "/page.pdf";
    std::optional<QPageLayout> papier;
    int dialogues = 0, copies = 0, pompesAvant = 0;
    Poste()
    {
        imprimante = [this](QWidget*, QPrinter& p) {
            ++dialogues, copies = p.copyCount(), pompesAvant = pompes;
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            if (papier)
                p.setPageLayout(*papier);
            return true;
        };
    }
};

QString lance(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<std::pair<QString, QRectF>> mots(const QString& pdf) // word boxes, in twips
{
    static const QRegularExpression motif(R"re(<word xMin="(\S+)" yMin="(\S+)" xMax="(\S+)" yMax="(\S+)">([^<]*)<)re");
    QList<std::pair<QString, QRectF>> r;
    for (const auto& m : motif.globalMatch(lance("pdftotext", {"-bbox", pdf, "-"})))
        r.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 20,
                                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * 20)});
    return r;
}

QRectF boite(const QList<std::pair<QString, QRectF>>& liste, const QString& mot)
{
    for (const auto& [texte, r] : liste)
        if (texte == mot)
            return r;
    return {};
}

// Pixels of colour c inside a twip rectangle of the page rendered at 20 twips a pixel,
// without smoothing so that every mark keeps its exact colour.
int compte(const QImage& im, QRectF r, const QColor& c)
{
    int n = 0;
    for (int y = int(r.top() / 20); y <= int(r.bottom() / 20); ++y)
        for (int x = int(r.left() / 20); x <= int(r.right() / 20); ++x)
            n += im.valid(x, y) && im.pixelColor(x, y) == c;
    return n;
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

private slots:
    void rapport_data()
    {
        QTest::addColumn<EntreesImpression>("e");
        QTest::addColumn<QStringList>("lignes"); // in order; "" an empty line
        QTest::addColumn<bool>("complet");       // the whole report, line for line
        const QString ban = "              ********** T R I V I X E S  par l'Atelier des Ondes  **********";
        const QString nom = " Mme.ou M. Jeanne Exemple Né(e) le:lundi 03/11/1975";
        const QStringList valeurs{"  Cycle Intellectuel 33/J  .............: 45 ( Min -50, Max +50)",
                                  "    Cycle Emotionnel 28/J  . . . . . . .: -12 ( Min -50, Max +50)",
                                  "      Cycle Physique 23/J  _____________: 0 ( Min -50, Max +50)", ""};
        QTest::newRow("normale") << entrees("3/11/1975", "17/05/2004") << QStringList{
            "", ban, QString(40, ' ') + "Date de Prévision:17/05/2004", "", nom, " Age28/Ans et 6/Mois", ""}
            + valeurs + QStringList{"Jour Vecus: 10 423"} << true;
        QTest::newRow("terme") << entrees("3/11/1975", "17/05/2004", "01/01/2004", "10/10/2004") << QStringList{
            "", ban, QString(40, ' ') + "Date ultime du terme:10/10/2004", "", nom, " Age28/Ans et 11/Mois", "",
            "Ondagrammes au dernier jour du terme"} + valeurs + QStringList{"", "", "", "", "", QString(63, ' ') + "Terme"} << true;
        QTest::newRow("terme sans DGUS") << entrees("3/11/1975", "17/05/2004", "", "10/10/2004") << QStringList{"Jour Vecus: 10 423"} << false;
        QTest::newRow("mois du calendrier") << entrees("31/12/2000", "01/01/2001") << QStringList{" Age0/Ans et 1/Mois"} << false;
        QTest::newRow("avant la naissance") << entrees("10/05/2004", "17/02/2004") << QStringList{" Age-1/Ans et 9/Mois"} << false;
        QTest::newRow("dimanche") << entrees("02/01/2000", "17/05/2004") << QStringList{" Mme.ou M. Jeanne Exemple Né(e) le:dimanche 02/01/2000"} << false;
        QTest::newRow("nom vide") << entrees("03/01/2000", "17/05/2004", {}, {}, {}) << QStringList{" Mme.ou M.  Né(e) le:lundi 03/01/2000"} << false;
        QTest::newRow("cinq chiffres") << entrees("01/01/1970", "20/10/2003") << QStringList{"Jour Vecus: 12 345"} << false;
    }
    void rapport()
    {
        QFETCH(EntreesImpression, e);
        QFETCH(QStringList, lignes);
        QFETCH(bool, complet);
        dz::Etat etat;
        QStringList textes;
        QList<double> hauts;
        for (const Trait& t : enregistre(e, etat).traits)
            if (t.genre == Trait::Genre::Texte && t.police.pixelSize() != 165) { // not the day numbers
                textes << t.texte;
                hauts << t.a.y() - QFontMetricsF(t.police).ascent();
            }
        for (qsizetype i = 0; const QString& l : QStringList(lignes).filter(QRegularExpression(".")))
            QVERIFY2((i = textes.indexOf(l, i)) >= 0, qPrintable(l));
        for (const QString& l : textes.filter("Cycle")) // the colons line up in the fixed-pitch face
            QCOMPARE(l.indexOf(':'), 40);
        if (!complet)
            return;
        QCOMPARE(textes, QStringList(lignes).filter(QRegularExpression(".")));
        // Three 12-point lines, then 10-point ones, each 1.1 to 1.2 times its size.
        const double h12 = hauts[1] - hauts[0], h10 = hauts[3] - hauts[2];
        QVERIFY(h12 > 264 && h12 < 288 && h10 > 220 && h10 < 240);
        for (int n = 0, t = 0; n < lignes.size(); ++n)
            if (!lignes[n].isEmpty())
                QVERIFY2(std::abs(hauts[t++] - (n < 3 ? n * h12 : 3 * h12 + (n - 3) * h10)) < 0.01, qPrintable(lignes[n]));
    }

    void courbes()
    {
        // Pen widths W / 4000 with halves to even: 2.98 -> 3, 2.5 -> 2, 3.5 -> 4.
        for (const auto& [page, pen] : {std::pair{PageA4Twips, 3}, std::pair{QSizeF(10000, 14142), 2},
                                        std::pair{QSizeF(14000, 19798), 4}}) {
            dz::Etat etat;
            const PageEnregistree p = enregistre(entrees("3/11/1975", "17/05/2004"), etat, page);
            const Geometrie g{page.width(), page.height()};
            // Day t's value is T + M - A sin(2 pi t / P); column x stands for day JoursVecus - 16 + x / d.
            for (const auto& [couleur, periode, pas, pixels] :
                 {std::tuple{Vert, 33, 60, pen}, std::tuple{Brun, 28, 120, pen}, std::tuple{Bleu, 23, 1, 1}}) {
                int i = 0;
                for (const Trait& t : p.traits)
                    if (t.genre == Trait::Genre::Point && t.couleur == couleur) {
                        const double x = i++ * pas, jour = etat.JoursVecus - 16 + x / g.d;
                        QCOMPARE(t.a.x(), x);
                        QVERIFY(std::abs(t.a.y() - (g.T + g.M - g.A * std::sin(2 * M_PI * jour / periode))) < 0.01);
                        QCOMPARE(t.largeur, pixels * 1440.0 / 1200);
                    }
                QCOMPARE(i, int(33 * g.d / pas) + 1);
            }
        }
    }

    void pagePdf_data()
    {
        QTest::addColumn<EntreesImpression>("e");
        QTest::addColumn<QPageLayout>("papier");
        QTest::addColumn<int>("marqueur");
        QTest::addColumn<QStringList>("jours"); // first and last day numbers, DateCalcul, JoursVecus
        QTest::addColumn<QStringList>("ordre"); // fragments of the text, top to bottom
        const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        const QStringList valeurs{"T R I V I X E S", "Mme.ou M. Jeanne", "Age28/Ans", "Intellectuel", "Emotionnel", "Physique"};
        const EntreesImpression normale = entrees("3/11/1975", "17/05/2004");
        QTest::newRow("normale") << normale << a4 << 16 << QStringList{"2", "2", "17/05/2004", "10423"}
                                 << valeurs + QStringList{"Jour Vecus: 10 423", "2 3 4"};
        QTest::newRow("terme") << entrees("3/11/1975", "17/05/2004", "01/01/2004", "10/10/2004") << a4 << 31
                               << QStringList{"10", "11", "25/09/2004", "10554"} << valeurs + QStringList{"Terme", "10 11 12"};
        QTest::newRow("terme sans DGUS") << entrees("3/11/1975", "17/05/2004", "", "10/10/2004") << a4 << 16
                                         << QStringList{"2", "2", "17/05/2004", "10423"} << valeurs;
        QTest::newRow("A5 à l'italienne, marges")
            << normale << QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(30, 30, 30, 30))
            << 16 << QStringList{"2", "2", "17/05/2004", "10423"} << valeurs;
    }
    void pagePdf()
    {
        QFETCH(EntreesImpression, e);
        QFETCH(QPageLayout, papier);
        QFETCH(int, marqueur);
        QFETCH(QStringList, jours);
        QFETCH(QStringList, ordre);
        Poste pf;
        pf.papier = papier;
        dz::Etat etat;
        QCOMPARE(imprimePage(pf, nullptr, e, etat), Resultat::Imprime);
        QCOMPARE(QString::fromStdString(dz::ecritDate(etat.DateCalcul)), jours[2]);
        QCOMPARE(etat.JoursVecus, jours[3].toDouble());
        const QSizeF mm = papier.fullRect(QPageLayout::Millimeter).size();
        const Geometrie g{std::round(mm.width() / 25.4 * 1440), std::round(mm.height() / 25.4 * 1440)};

        const QString texte = lance("pdftotext", {"-layout", pf.pdf, "-"}).simplified();
        for (qsizetype i = 0; const QString& f : ordre)
            QVERIFY2((i = texte.indexOf(f, i)) >= 0, qPrintable(f + " / " + texte));
        const auto liste = mots(pf.pdf);
        const QRectF nom = boite(liste, "Mme.ou"); // below three 12-point lines and an empty 10-point one
        QVERIFY2(nom.top() > 3 * 264 + 220 && nom.top() < 3 * 288 + 240, qPrintable(QString::number(nom.top())));
        const QRectF terme = boite(liste, "Terme"); // beside the term's marker, inside the chart band
        QCOMPARE(terme.right() < 31 * g.d && terme.right() > 30 * g.d && terme.top() > g.T && terme.bottom() < g.T + g.B,
                 marqueur == 31);

        const QString png = pf.pdf + ".png";
        lance("pdftoppm", {"-png", "-r", "72", "-aa", "no", "-aaVector", "no", "-singlefile", pf.pdf, pf.pdf});
        const QImage im = QImage(png).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(im.size(), QSize(int(std::round(g.W / 20)), int(std::round(g.H / 20))));
        QStringList nombres;
        for (const auto& [t, r] : liste)
            if (std::abs(r.top() - (g.T + g.B + 20)) < 20) { // a blank, then the digits, in dark blue
                const double x = g.L + nombres.size() * g.d;
                QVERIFY2(r.left() > x && r.left() < x + 120 && compte(im, r, Bleu) > 5, qPrintable(t));
                nombres << t;
            }
        QCOMPARE(nombres.size(), 32);
        QCOMPARE(QStringList({nombres.first(), nombres.last()}), jours.mid(0, 2));
        for (const auto& [m, c] : {std::pair{"Intellectuel", Vert}, std::pair{"Emotionnel", Brun},
                                   std::pair{"Physique", Bleu}, std::pair{"Mme.ou", QColor(Qt::black)}})
            QVERIFY2(compte(im, boite(liste, m), c) > 15, m);
        for (const double y : {g.T, g.T + g.M}) // frame and zero line, between two day lines
            QVERIFY(compte(im, QRectF(16.5 * g.d, y - 20, 1, 40), PresqueNoir) > 0);
        std::set<int> pleines, longues; // red across the band; red 110 to 190 twips below its top
        for (int k = 0; k <= 33; ++k) {
            const QRectF colonne(k * g.d - 20, g.T + 300, 40, g.M - 600);
            if (compte(im, colonne, Rouge) > 0.8 * colonne.height() / 20)
                pleines.insert(k);
            if (compte(im, QRectF(k * g.d - 20, g.T + 110, 40, 80), Rouge) > 0 && k != marqueur)
                longues.insert(k);
        }
        QCOMPARE(pleines, std::set<int>{marqueur});
        QCOMPARE(longues, (std::set<int>{0, 5, 10, 15, 20, 25, 30}));
    }

    void commande_data()
    {
        QTest::addColumn<QString>("naissance");
        QTest::addColumn<QString>("calcul");
        QTest::addColumn<QString>("fichier"); // the dialog's answer; empty: cancelled
        QTest::addColumn<Resultat>("resultat");
        QTest::addColumn<QString>("message"); // part of the one message expected
        QTest::newRow("imprimée") << "3/11/1975" << "17/05/2004" << "page.pdf" << Resultat::Imprime << "";
        QTest::newRow("annulée") << "3/11/1975" << "17/05/2004" << "" << Resultat::Annule << "";
        QTest::newRow("prévision pas une date") << "3/11/1975" << "31/02/2004" << "page.pdf" << Resultat::DateInvalide << "31/02/2004";
        QTest::newRow("naissance pas une date") << "" << "17/05/2004" << "page.pdf" << Resultat::NaissanceInvalide << "";
        QTest::newRow("imprimante qui ne s'ouvre pas") << "3/11/1975" << "17/05/2004" << "absent/page.pdf"
                                                       << Resultat::ImprimanteEnErreur << "absent/page.pdf";
    }
    void commande()
    {
        QFETCH(QString, naissance);
        QFETCH(QString, calcul);
        QFETCH(QString, fichier);
        QFETCH(Resultat, resultat);
        QFETCH(QString, message);
        Poste pf;
        if (fichier.isEmpty())
            pf.imprimante = nullptr;
        else
            pf.pdf = pf.dossierTemp + "/" + fichier;
        if (resultat == Resultat::ImprimanteEnErreur)
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        dz::Etat etat;
        etat.JoursVecus = -1;
        QCOMPARE(imprimePage(pf, nullptr, entrees(naissance, calcul), etat), resultat);

        const int dessinee = resultat != Resultat::DateInvalide && resultat != Resultat::NaissanceInvalide;
        QCOMPARE(etat.JoursVecus != -1, bool(dessinee));
        QCOMPARE(std::pair(pf.sabliers, pf.pointeursNormaux), std::pair(dessinee, dessinee));
        QCOMPARE(QFile::exists(pf.pdf), resultat == Resultat::Imprime);
        QCOMPARE(pf.messages.size(), message.isEmpty() ? 0 : 1);
        for (const auto& m : pf.messages)
            QVERIFY(m.titre == "Impression..." && m.icone == Plateforme::Icone::Exclamation && m.texte.contains(message));
        // The dialog comes after the whole page is drawn, and offers one copy.
        QCOMPARE(std::tuple(pf.dialogues, pf.pompesAvant, pf.copies),
                 pf.dialogues ? std::tuple(1, 3, 1) : std::tuple(0, 0, 0));
    }

    void imbrique()
    {
        Poste pf;
        dz::Etat etat;
        QList<Resultat> imbriques;
        pf.pendantPompe = [&] { imbriques << imprimePage(pf, nullptr, entrees("3/11/1975", "01/01/2001"), etat); };
        QCOMPARE(imprimePage(pf, nullptr, entrees("3/11/1975", "17/05/2004"), etat), Resultat::Imprime);
        QCOMPARE(imbriques, QList<Resultat>(3, Resultat::DejaEnCours));
        QCOMPARE(pf.dialogues, 1);
        QCOMPARE(etat.JoursVecus, 10423.0);
        QVERIFY(lance("pdfinfo", {pf.pdf}).contains(QRegularExpression("Pages: +1\n")));
        pf.pendantPompe = nullptr; // the guard is released afterwards
        QCOMPARE(imprimePage(pf, nullptr, entrees("3/11/1975", "17/05/2004"), etat), Resultat::Imprime);
    }
};

QTEST_MAIN(TestImpression)
#include "test_impression.moc"
