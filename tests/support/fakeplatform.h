#pragma once
// A platform that answers for a person: fixed date, scripted randoms and answers,
// a temporary folder of its own, and a record of every message shown.

#include "directory/avertisseur.h"
#include "platform/plateforme.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace dz {

class FakePlateforme : public Plateforme {
public:
    struct Message {
        QString texte;
        Icone icone;
        Boutons boutons;
        QString titre;
    };

    FakePlateforme() { QDir().mkpath(dossierApp), QDir().mkpath(dossierTemp); }

    Reponse message(QWidget*, const QString& texte, Icone icone, Boutons boutons,
                    const QString& titre) override
    {
        messages.append({texte, icone, boutons, titre});
        if (pendantMessage)
            pendantMessage(messages.back());
        return boutons == Boutons::Ok ? Reponse::Ok
               : reponses.empty()     ? Reponse::Oui
                                      : reponses.takeFirst();
    }
    void pompeEvenements() override
    {
        ++pompes;
        if (pendantPompe)
            pendantPompe();
        QCoreApplication::processEvents();
    }
    void sablier(QWidget*) override {}
    void pointeurNormal(QWidget*) override {}
    QString dossierApplication() override { return dossierApp; }
    Emplacement emplacementAnnuaire() override { return {dossierApp, {}}; } // a copy of its own
    QDate aujourdhui() override { return aujourdhuiFixe; }
    void reseme() override { ++resemis; }
    double aleatoire() override { return tirages.empty() ? 0.5 : tirages.takeFirst(); }
    void ouvreUrl(const QUrl& url) override { urlsOuvertes.append(url); }
    bool choisitImprimante(QWidget* parent, QPrinter& p) override
    {
        return imprimante && imprimante(parent, p);
    }

    // State a test sets or reads.
    QTemporaryDir racine;
    QString dossierApp = racine.path() + "/app";
    QString dossierTemp = racine.path() + "/tmp"; // for a test's own files
    QDate aujourdhuiFixe{2004, 5, 17};
    QList<double> tirages;   // consumed by aleatoire(); 0.5 when empty
    QList<Reponse> reponses; // consumed by message() for Yes/No boxes; Oui when empty
    QList<Message> messages;
    QList<QUrl> urlsOuvertes;
    int pompes = 0, resemis = 0;
    std::function<void()> pendantPompe;                  // runs inside pompeEvenements()
    std::function<void(const Message&)> pendantMessage;  // runs as a message box shows
    std::function<bool(QWidget*, QPrinter&)> imprimante; // the print dialog; no when unset
};

// The directory's messages, one line each: "i <text>", "a <text>", "e <number>"; on stderr
// too when `bavard` (a child process's failures), and nothing else.
struct Journal : Avertisseur {
    explicit Journal(bool bavard = false) : bavard(bavard) {}
    QStringList lignes;
    bool bavard;
    void dit(const QString& ligne)
    {
        lignes << ligne;
        if (bavard && !ligne.startsWith('i'))
            std::fprintf(stderr, "%s\n", qPrintable(ligne));
    }
    void information(const QString& texte) override { dit("i " + texte); }
    void alerte(const QString& texte) override { dit("a " + texte); }
    void erreur(Echec e) override { dit("e " + QString::number(int(e))); }
};

// `image` against tests/references/<nom>.png, pixel for pixel: empty when equal, else why not.
// With DZ_REFERENCES=<folder> the picture is written there instead, to be looked at and kept.
QString difference(const QImage& image, const QString& nom);

} // namespace dz
