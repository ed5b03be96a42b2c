// Renders every control as the windows lay them out and checks what a user would see of them; with
// VELMORA_CAPTURES_DIR set the pictures are also saved there, to be looked at.
#include <gtest/gtest.h>

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <cstdlib>
#include <memory>

#include "widgets/CaseLed.h"
#include "widgets/IconesBilles.h"
#include "widgets/Molette.h"
#include "widgets/PanneauIcone.h"

namespace {

QImage Sauve(QWidget& w, const QString& nom) {
    const QString dossier = qEnvironmentVariable("VELMORA_CAPTURES_DIR");
    const QImage image = w.grab().toImage();
    if (!dossier.isEmpty()) image.save(QDir(dossier).filePath(nom));
    return image;
}

// pixels of the picture close to a colour (each channel within 40)
int PixelsProches(const QImage& image, const QColor& c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - c.red()) < 40 && std::abs(p.green() - c.green()) < 40 &&
                 std::abs(p.blue() - c.blue()) < 40;
        }
    return n;
}

TMolette* Dial(QWidget* parent, int dec, double pas, double petit, double ouverture, int petite, double v) {
    auto* d = new TMolette(parent);
    d->setEchelle(dec, pas, petit, ouverture);
    d->setHauteurGrandeMarque(15);
    d->setHauteurPetiteMarque(petite);
    d->setValeur(v);
    return d;
}

QWidget* Planche(const QPalette* palette) {
    auto* planche = new QWidget;
    if (palette) planche->setPalette(*palette);
    planche->setAutoFillBackground(true);
    auto* grille = new QGridLayout(planche);
    const struct {
        const char* nom;
        double pas, petit, ouverture;
        int petite;
        double v;
        const char* unite;
    } dials[] = {{"vitesse", 50, 10, 300, 8, 430, " cm/s"},
                 {"visée", 10, 2, 60, 7, 99.14, " deg"},
                 {"inclinaison", 10, 2, 50, 8, 3, " deg"},
                 {"masse", 10, 2, 50, 8, 520, " gr"}};
    int ligne = 0;
    for (const auto& d : dials) {
        grille->addWidget(new QLabel(QString::fromUtf8(d.nom)), ligne, 0);
        grille->addWidget(Dial(planche, 0, d.pas, d.petit, d.ouverture, d.petite, d.v), ligne, 1);
        grille->addWidget(new QLabel(QLocale().toString(d.v, 'f', 2) + QString::fromUtf8(d.unite)), ligne, 2);
        ++ligne;
    }
    auto* roue = Dial(planche, 3, 0.1, 0.02, 0.3, 8, 0.05);
    roue->setCouleurRepere(Qt::red);
    grille->addWidget(new QLabel(QStringLiteral("Roue")), ligne, 0);
    grille->addWidget(roue, ligne++, 1);

    auto* leds = new QWidget(planche);
    auto* rang = new QHBoxLayout(leds);
    rang->setContentsMargins(0, 0, 0, 0);
    auto* joueur = new TCaseLed(QStringLiteral("Joueur"), leds);
    joueur->setChecked(true);
    rang->addWidget(joueur);
    rang->addWidget(new TCaseLed(QStringLiteral("Non J."), leds));
    auto* rouge = new TCaseLed(QStringLiteral("Rge"), leds);
    rouge->setCouleur(QColor(230, 40, 40));
    rouge->setChecked(true);
    rang->addWidget(rouge);
    rang->addStretch();
    grille->addWidget(leds, ligne++, 0, 1, 3);

    auto* barre = new QStatusBar(planche);
    barre->setSizeGripEnabled(false);
    const char* positions[] = {"(18,25 -71,13 3,08)", "(0,00 -71,13 3,08)", "(0,00 71,13 3,08)"};
    for (int i = 0; i < 3; ++i) {
        auto* panneau = new TPanneauIcone(IconeBille(i), QString::fromUtf8(positions[i]), barre);
        panneau->setFixedWidth(130);
        barre->addPermanentWidget(panneau);
    }
    grille->addWidget(barre, ligne++, 0, 1, 3);
    grille->setColumnStretch(1, 1);
    return planche;
}

}  // namespace

TEST(Apercus, EveryControlRendersAtSeveralSizesAndPalettes) {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    for (int largeur : {260, 420, 700}) {
        std::unique_ptr<QWidget> planche(Planche(nullptr));
        planche->show();
        planche->resize(std::max(largeur, planche->minimumSizeHint().width()), planche->sizeHint().height());
        Sauve(*planche, QStringLiteral("planche-%1.png").arg(largeur));
    }
    QPalette sombre;
    sombre.setColor(QPalette::Window, QColor(45, 45, 48));
    sombre.setColor(QPalette::WindowText, QColor(220, 220, 220));
    sombre.setColor(QPalette::Base, QColor(60, 60, 64));
    sombre.setColor(QPalette::Text, QColor(230, 230, 230));
    sombre.setColor(QPalette::Button, QColor(50, 50, 54));
    sombre.setColor(QPalette::Mid, QColor(90, 90, 95));
    sombre.setColor(QPalette::Highlight, QColor(60, 140, 230));
    std::unique_ptr<QWidget> planche(Planche(&sombre));
    planche->show();
    planche->resize(420, planche->sizeHint().height());
    const QImage imageSombre = Sauve(*planche, QStringLiteral("planche-sombre.png"));
    // the controls follow the window's palette: a dark board stays mostly dark
    EXPECT_GT(PixelsProches(imageSombre, sombre.color(QPalette::Window)),
              imageSombre.width() * imageSombre.height() / 3);

    // the cue window's dials are narrow: labels thin out instead of overlapping
    for (int largeur : {60, 122}) {
        TMolette etroite;
        etroite.setEchelle(0, 50, 10, 300);
        etroite.setValeur(430);
        etroite.resize(largeur, etroite.sizeHint().height());
        Sauve(etroite, QStringLiteral("molette-%1.png").arg(largeur));
    }

    TMolette grand;
    grand.setEchelle(0, 50, 10, 300);
    grand.setValeur(430);
    grand.resize(600, 60);
    grand.setFocus();
    Sauve(grand, QStringLiteral("molette-grande.png"));

    // a large font: the LED and its caption grow together
    QWidget rangee;
    QFont police = rangee.font();
    police.setPointSize(22);
    rangee.setFont(police);
    auto* disposition = new QHBoxLayout(&rangee);
    auto* allumee = new TCaseLed(QStringLiteral("Joueur"), &rangee);
    allumee->setChecked(true);
    disposition->addWidget(allumee);
    disposition->addWidget(new TCaseLed(QStringLiteral("Non J."), &rangee));
    auto* rouge = new TCaseLed(QStringLiteral("Rge"), &rangee);
    rouge->setCouleur(QColor(230, 40, 40));
    rouge->setChecked(true);
    disposition->addWidget(rouge);
    auto* panneau = new TPanneauIcone(IconeBille(1, 32), QStringLiteral("(0,00 -71,13 3,08)"), &rangee);
    disposition->addWidget(panneau);
    rangee.show();
    rangee.resize(rangee.sizeHint());
    Sauve(rangee, QStringLiteral("leds-grandes.png"));
    TCaseLed petite(QStringLiteral("Joueur"));
    EXPECT_GT(allumee->sizeHint().height(), petite.sizeHint().height() * 3 / 2);
    QLocale::setDefault(QLocale::c());
}

TEST(Apercus, ALitLedShowsItsColourAndAnUnlitOneDoesNot) {
    TCaseLed led(QStringLiteral("Rge"));
    led.setCouleur(QColor(230, 40, 40));
    led.resize(led.sizeHint());
    led.show();
    const QImage eteinte = led.grab().toImage();
    led.setChecked(true);
    const QImage allumee = led.grab().toImage();
    EXPECT_GT(PixelsProches(allumee, QColor(230, 40, 40)), 4);
    EXPECT_LT(PixelsProches(eteinte, QColor(230, 40, 40)), PixelsProches(allumee, QColor(230, 40, 40)));
}

TEST(Apercus, TheWheelDrawsItsMarkerInTheMarkersColour) {
    TMolette roue;
    roue.setEchelle(3, 0.1, 0.02, 0.3);
    roue.setValeur(0.05);
    roue.resize(300, roue.sizeHint().height());
    roue.show();
    const int sans = PixelsProches(roue.grab().toImage(), QColor(255, 0, 0));
    roue.setCouleurRepere(Qt::red);
    EXPECT_GT(PixelsProches(roue.grab().toImage(), QColor(255, 0, 0)), sans);
}
