// The directory under real processes: one killed at random moments in the middle of its
// changes, and two working on the same folder at once. The test program is its own child.

#include "directory/annuaire.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif
#include <random>

using namespace dz;

using Octets = QByteArray;

namespace {

constexpr int Personnes = 20'000;

// Tells nothing but failures, on stderr, so that a failing child says why.
struct Muet : Avertisseur {
    void information(const QString&) override {}
    void alerte(const QString& texte) override { std::fprintf(stderr, "%s\n", qPrintable(texte)); }
    void erreur(Echec e) override { std::fprintf(stderr, "erreur %d\n", int(e)); }
} muet;

void dit(const QByteArray& ligne)
{
    std::printf("%s\n", ligne.constData());
    std::fflush(stdout);
}

// Change k of a series: the same for the child that makes it and the parent that checks it.
// One in four adds a new person, one in four deletes one, the others modify one.
struct Operation {
    int genre; // 1 adds, 3 deletes
    QString nom, naissance;
};
Operation operation(quint32 graine, int k)
{
    std::mt19937 g(graine * 7919u + quint32(k));
    const int personne = int(g() % Personnes);
    return {k % 4,
            k % 4 == 1 ? QStringLiteral("Nouveau %1").arg(k)
                       : QStringLiteral("Personne %1").arg(personne),
            QStringLiteral("%1/%2/%3").arg(1 + g() % 28).arg(1 + g() % 12).arg(1900 + g() % 120)};
}

// What dead changes left beside the file.
int restes(const QString& dossier)
{
    return int(QDir(dossier).entryList({"trivo.dat.??????"}, QDir::Files | QDir::Hidden).size());
}

// What the file holds after the change, as the store writes it.
Octets applique(const Octets& avant, const Operation& op)
{
    const Octets debut = "nom=" + op.nom.toLatin1() + ";Naissan";
    Octets apres;
    for (qsizetype i = 0, fin; i < avant.size(); i = fin + 2)
        if (fin = avant.indexOf("\r\n", i); !QByteArrayView(avant).sliced(i).startsWith(debut))
            apres += QByteArrayView(avant).sliced(i, fin + 2 - i);
    return op.genre == 3 ? apres : apres + debut + "=" + op.naissance.toLatin1() + "\r\n";
}

// Child: changes from number `debut` on, each announced ("d k") and acknowledged with the
// milliseconds it took ("f k ms").
int enfantModifie(const QString& dossier, quint32 graine, int debut)
{
    Annuaire annuaire(muet);
    annuaire.fixeDossier(dossier);
    QElapsedTimer chrono;
    for (int k = debut;; ++k) {
        const Operation op = operation(graine, k);
        dit("d " + QByteArray::number(k));
        chrono.start();
        const auto r = op.genre == 3   ? annuaire.SupprimeFiche(op.nom)
                       : op.genre == 1 ? annuaire.AjouteFiche(op.nom, op.naissance)
                                       : annuaire.ModifieFiche(op.nom, op.naissance);
        if (r.issue != Annuaire::Issue::Fait)
            return 3;
        dit("f " + QByteArray::number(k) + " " + QByteArray::number(chrono.elapsed()));
    }
}

// Child: adds, modifies and deletes its own people, adds people the other child may add too,
// for `ms`; says how many of its own it added ("ajouts n"), then each person the file must
// hold for it ("+ name"): its own that it left, the shared ones it added.
int enfantConcurrent(const QString& dossier, const QString& prefixe, int ms, quint32 graine)
{
    Annuaire annuaire(muet);
    annuaire.fixeDossier(dossier);
    std::mt19937 g(graine);
    QStringList miens;
    int ajouts = 0;
    using I = Annuaire::Issue;
    QElapsedTimer chrono;
    chrono.start();
    while (chrono.elapsed() < ms) {
        const unsigned tirage = g() % 10;
        const QString date = QStringLiteral("%1/01/2000").arg(1 + g() % 28);
        if (tirage < 4 || miens.isEmpty()) {
            const QString nom = prefixe + QString::number(ajouts++);
            if (annuaire.AjouteFiche(nom, date).issue != I::Fait)
                return 3;
            miens << nom;
        } else if (const QString nom = miens[int(g() % miens.size())]; tirage < 6) {
            if (annuaire.SupprimeFiche(nom).issue != I::Fait)
                return 4;
            miens.removeOne(nom);
        } else if (tirage < 9) {
            if (annuaire.ModifieFiche(nom, date).issue != I::Fait)
                return 5;
        } else {
            const QString commun = QStringLiteral("Commun %1").arg(g() % 40);
            const auto r = annuaire.AjouteFiche(commun, date);
            if (r.issue == I::Echec)
                return 6;
            if (r.issue == I::Fait)
                dit("+ " + commun.toUtf8());
        }
    }
    dit("ajouts " + QByteArray::number(ajouts));
    for (const QString& nom : miens)
        dit("+ " + nom.toUtf8());
    return 0;
}

} // namespace

class TestAnnuaireProcessus : public QObject {
    Q_OBJECT

private slots:
    // Killed at any moment of a change, the file holds either everything before it or
    // everything after it, to the byte.
    void tueEnPleinTravail()
    {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("trivo.dat");
        Octets etat;
        for (int i = 0; i < Personnes; ++i)
            etat += "nom=Personne " + Octets::number(i) + ";Naissan=01/01/1980\r\n";
        QFile depart(chemin);
        QVERIFY(depart.open(QIODevice::WriteOnly) && depart.write(etat) == etat.size());
        depart.close();
        std::mt19937 hasard(20261206);
        const quint32 graine = 7;
        constexpr int Tues = 200;
        int prochaine = 0, anciens = 0, nouveaux = 0, entreDeux = 0, laisses = 0;
        qint64 duree = 0; // of one change, as the children report it: kills land within it
        for (int tue = 0; tue < Tues; ++tue) {
            QProcess enfant;
            enfant.start(
                QCoreApplication::applicationFilePath(),
                {"--modifie", dossier.path(), QString::number(graine), QString::number(prochaine)});
            QVERIFY(enfant.waitForReadyRead(10'000));
            if (duree == 0) // the first child is let finish a change, which times it
                while (!enfant.peek(1 << 20).contains("\nf ") && enfant.waitForReadyRead(10'000)) {
                }
            else
                QTest::qSleep(int(hasard() % (duree * 3)));
            enfant.kill(); // SIGKILL, or TerminateProcess on Windows: no clean-up either way
            QVERIFY(enfant.waitForFinished());
            int annoncee = -1, finie = -1;
            for (const QByteArray& ligne : enfant.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> mots = ligne.trimmed().split(' '); // Windows ends in CR LF
                if (mots[0] == "d")
                    annoncee = mots.value(1).toInt();
                else if (mots[0] == "f") {
                    finie = mots.value(1).toInt();
                    etat = applique(etat, operation(graine, finie));
                    duree = std::max<qint64>({duree, mots.value(2).toLongLong(), 2});
                }
            }
            QFile f(chemin);
            const Octets fichier = f.open(QIODevice::ReadOnly) ? f.readAll() : Octets("<absent>");
            const bool pendant = annoncee > finie; // killed during change `annoncee`
            const Octets apres = pendant ? applique(etat, operation(graine, annoncee)) : etat;
            QVERIFY2(fichier == etat || fichier == apres, qPrintable(QString::number(annoncee)));
            ++(!pendant ? entreDeux : fichier == etat ? anciens : nouveaux);
            etat = fichier;
            prochaine = annoncee + 1;
            QVERIFY(restes(dossier.path()) <= 1); // the next change clears a dead one's
            laisses += restes(dossier.path());
        }
        qInfo("%d kills over %d changes: %d during a change (%d left the old file, %d the new one),"
              " %d between two; every file whole; %d new files left by a kill, each cleared by "
              "the next change",
              Tues, prochaine, anciens + nouveaux, anciens, nouveaux, entreDeux, laisses);
        QVERIFY(anciens > 20 && nouveaux > 20); // the kills did land on both sides of a commit
    }

    // A file-size limit with its default signal kills a child in the middle of an add, the very
    // first one included: the file is as it was (or still absent, not empty), and the next change
    // clears what the dead one left.
    void limiteDeTaille()
    {
#ifndef Q_OS_UNIX
        QSKIP("Windows sets a process no file-size limit");
#endif
        for (const Octets& avant : {Octets(), Octets("nom=A;Naissan=1\r\n").repeated(20)}) {
            QTemporaryDir dossier;
            QFile fichier(dossier.filePath("trivo.dat"));
            QVERIFY(avant.isNull() || (fichier.open(QIODevice::WriteOnly) && fichier.write(avant)));
            fichier.close();
            QProcess enfant;
            enfant.start(QCoreApplication::applicationFilePath(),
                         {"--limite", dossier.path(), QString::number(avant.size() + 10)});
            QVERIFY(enfant.waitForFinished());
            QCOMPARE(enfant.exitStatus(), QProcess::CrashExit);
            QCOMPARE(fichier.exists(), !avant.isNull());
            QVERIFY(!fichier.open(QIODevice::ReadOnly) || fichier.readAll() == avant);
            fichier.close();
            QVERIFY(restes(dossier.path()) <= 1); // none where the system makes it unnamed
            Annuaire annuaire(muet);
            annuaire.fixeDossier(dossier.path());
            QCOMPARE(annuaire.AjouteFiche("Nouveau", "1").issue, Annuaire::Issue::Fait);
            QCOMPARE(restes(dossier.path()), 0);
        }
    }

    // Two copies at once on one folder: no acknowledged change lost, no person added twice.
    void deuxFenetres()
    {
        QTemporaryDir dossier;
        QProcess enfants[2];
        for (int i = 0; i < 2; ++i) {
            enfants[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            enfants[i].start(QCoreApplication::applicationFilePath(),
                             {"--concurrent", dossier.path(), i ? "Deux " : "Un ", "3000",
                              QString::number(i + 1)});
        }
        QStringList attendus; // their own people left, and the shared ones they added
        int ajouts = 0;
        for (QProcess& enfant : enfants) {
            QVERIFY(enfant.waitForFinished(60'000));
            QCOMPARE(enfant.exitCode(), 0);
            for (QString ligne : QString::fromUtf8(enfant.readAllStandardOutput()).split('\n')) {
                ligne = ligne.trimmed(); // Windows ends its lines in CR LF
                if (ligne.startsWith("+ "))
                    attendus << ligne.mid(2);
                else if (ligne.startsWith("ajouts "))
                    ajouts += ligne.mid(7).toInt();
            }
        }
        Annuaire annuaire(muet);
        annuaire.fixeDossier(dossier.path());
        QStringList noms = annuaire.ChargeAnnuaire();
        noms.sort();
        attendus.sort();
        QCOMPARE(noms, attendus);             // none lost, none that should not be there
        QCOMPARE(noms.removeDuplicates(), 0); // the same shared person not added by both
        qInfo("%d acknowledged adds of their own people and %lld shared ones, %lld kept at the end;"
              " none lost, none twice",
              ajouts, qlonglong(noms.filter("Commun ").size()), qlonglong(noms.size()));
        QVERIFY(ajouts > 100);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 5 && a[1] == "--modifie")
        return enfantModifie(a[2], a[3].toUInt(), a[4].toInt());
#ifdef Q_OS_UNIX
    if (a.size() == 4 && a[1] == "--limite") {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limite{a[3].toULongLong(), RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limite);
        Annuaire annuaire(muet);
        annuaire.fixeDossier(a[2]);
        annuaire.AjouteFiche(QStringLiteral("Nouveau"), QString(40, u'1'));
        return 0; // not reached: the limit kills
    }
#endif
    if (a.size() == 6 && a[1] == "--concurrent")
        return enfantConcurrent(a[2], a[3], a[4].toInt(), a[5].toUInt());
    TestAnnuaireProcessus test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_annuaire_processus.moc"
