#include "tools/Systeme.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "jeu/Decimales.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/NombresAffiches.h"

namespace {

QDoubleSpinBox* Numero(QWidget* parent, const char* nom, double min, double max, double valeur,
                       const QString& bulle) {
    auto* e = new QDoubleSpinBox(parent);
    e->setObjectName(QString::fromLatin1(nom));
    e->setRange(min, max);
    e->setDecimals(1);
    e->setSingleStep(0.5);
    e->setValue(valeur);
    PoseBulle(e, bulle);
    return e;
}

QToolButton* Bouton(QWidget* parent, const char* nom, const QString& texte, const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    b->setFocusPolicy(Qt::NoFocus);
    PoseBulle(b, bulle);
    return b;
}

// the stretch of the line p + s·u whose points lie in the box of centres, as [s0, s1]; false
// when the line misses it
bool TraverseeBoite(double px, double py, double ux, double uy, const TTableJeu& t, double& s0, double& s1) {
    s0 = -1e9;
    s1 = 1e9;
    const auto coupe = [&](double p, double u, double min, double max) {
        if (u == 0) return p >= min && p <= max;
        double a = (min - p) / u, b = (max - p) / u;
        if (a > b) std::swap(a, b);
        s0 = std::max(s0, a);
        s1 = std::min(s1, b);
        return s0 <= s1;
    };
    return coupe(px, ux, t.XMin, t.XMax) && coupe(py, uy, t.YMin, t.YMax);
}

}  // namespace

TSystemeFrm::TSystemeFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Système"), ContexteAideSysteme) {
    setObjectName(QStringLiteral("SystemeFrm"));
    auto* pile = new QVBoxLayout(this);
    auto* formulaire = new QFormLayout;
    PremiereBandeCbx = new QComboBox(this);
    PremiereBandeCbx->setObjectName(QStringLiteral("PremiereBandeCbx"));
    PremiereBandeCbx->addItems({QStringLiteral("longue droite"), QStringLiteral("longue gauche")});
    PoseBulle(PremiereBandeCbx, QStringLiteral("|la longue que la bille joueur touche d'abord"));
    CourteCbx = new QComboBox(this);
    CourteCbx->setObjectName(QStringLiteral("CourteCbx"));
    CourteCbx->addItems({QStringLiteral("courte du haut"), QStringLiteral("courte du bas")});
    PoseBulle(CourteCbx, QStringLiteral("|la courte vers laquelle elle part ensuite (le fond du système)"));
    DepartEdit = Numero(this, "DepartEdit", 1, 8, 5,
                        QStringLiteral("|nombre de départ : 1 au coin du fond, "
                                       "5 au coin proche, 6 à 8 le long de la courte"));
    ArriveeEdit =
        Numero(this, "ArriveeEdit", 0, 8, 3,
               QStringLiteral("|arrivée voulue sur la troisième bande, en diamants depuis le coin du fond"));
    formulaire->addRow(QStringLiteral("première bande :"), PremiereBandeCbx);
    formulaire->addRow(QStringLiteral("vers la :"), CourteCbx);
    formulaire->addRow(QStringLiteral("départ :"), DepartEdit);
    formulaire->addRow(QStringLiteral("arrivée :"), ArriveeEdit);
    pile->addLayout(formulaire);
    ViseeLbl = new QLabel(this);
    ViseeLbl->setObjectName(QStringLiteral("ViseeLbl"));
    ViseeLbl->setWordWrap(true);
    pile->addWidget(ViseeLbl);
    auto* boutons = new QHBoxLayout;
    PlacerBtn =
        Bouton(this, "PlacerBtn", QStringLiteral("Placer"),
               QStringLiteral("placer|met la bille joueur sur la ligne du système et vise le diamant"));
    JouerBtn = Bouton(this, "JouerBtn", QStringLiteral("Jouer"),
                      QStringLiteral("jouer|place, vise et joue le coup du système"));
    boutons->addWidget(PlacerBtn);
    boutons->addWidget(JouerBtn);
    boutons->addStretch(1);
    pile->addLayout(boutons);
    ResultatLbl = new QLabel(QStringLiteral("jouez un coup qui va longue, courte, longue"), this);
    ResultatLbl->setObjectName(QStringLiteral("ResultatLbl"));
    ResultatLbl->setWordWrap(true);
    PoseBulle(ResultatLbl, QStringLiteral("|ce que le système prédit pour la troisième bande et où la bille "
                                          "simulée arrive, dans la numérotation du système"));
    pile->addWidget(ResultatLbl);
    pile->addStretch(1);

    for (QComboBox* c : {PremiereBandeCbx, CourteCbx})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { MajVisee(); });
    for (QDoubleSpinBox* e : {DepartEdit, ArriveeEdit})
        connect(e, &QDoubleSpinBox::valueChanged, this, [this] { MajVisee(); });
    connect(PlacerBtn, &QToolButton::clicked, this, [this] { PlacerBtnClick(); });
    connect(JouerBtn, &QToolButton::clicked, this, [this] { JouerBtnClick(); });
    MajVisee();
    resize(320, 300);
}

TOrientationSysteme TSystemeFrm::Orientation() const {
    return {PremiereBandeCbx->currentIndex() == 0 ? 1 : 3, CourteCbx->currentIndex() == 0 ? 2 : 4};
}

bool TSystemeFrm::Visee(TViseeSysteme& v) {
    std::string erreur;
    const double largeur =
        Hote().Billard3D() ? Hote().Billard3D()->Simu->Fisik.largeurJeu() : LargeurTableJeu;
    if (ViseeSysteme(DepartEdit->value(), ArriveeEdit->value(), Orientation(), largeur, v, &erreur))
        return true;
    ViseeLbl->setText(QStringLiteral("impossible : ") + QString::fromStdString(erreur));
    return false;
}

void TSystemeFrm::MajVisee() {
    TViseeSysteme v;
    if (!Visee(v)) return;
    const char sep = SeparateurDecimal();
    ViseeLbl->setText(
        QStringLiteral("première bande = départ − arrivée = %1 : visez le diamant %1 de la %2, "
                       "compté depuis le coin du fond, avec un effet du côté du parcours")
            .arg(QString::fromStdString(Decimales(v.Premiere, 1, sep)), PremiereBandeCbx->currentText()));
}

bool TSystemeFrm::PlacerBtnClick() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    TViseeSysteme v;
    if (!billard || Hote().CoupVerrouille() || !Visee(v)) return false;
    // the point of the line inside the table nearest to the ball
    const double ux = v.Vers.x - v.Depart.x, uy = v.Vers.y - v.Depart.y;
    const TTableJeu table(float(billard->Simu->Fisik.largeurJeu()), billard->RayonBille);
    double s0 = 0, s1 = 0;
    if (!TraverseeBoite(v.Depart.x, v.Depart.y, ux, uy, table, s0, s1)) {
        ViseeLbl->setText(QStringLiteral("impossible : la ligne du système ne traverse pas le billard"));
        return false;
    }
    const TVecteur3f p = billard->BilleJoueur->LitPosition();
    const double s =
        std::clamp(((p.x - v.Depart.x) * ux + (p.y - v.Depart.y) * uy) / (ux * ux + uy * uy), s0, s1);
    // the shot is fired once, when everything is in place
    const bool auto_ = Hote().TirAuto();
    Hote().SetTirAuto(false);
    billard->BilleJoueur->SetPosition({float(v.Depart.x + s * ux), float(v.Depart.y + s * uy), p.z});
    // from where the ball ended (another ball may have pushed it) to the first cushion's diamond
    const TVecteur3f b = billard->BilleJoueur->LitPosition();
    billard->Queue->SetVisee(float(std::atan2(v.Vers.y - b.y, v.Vers.x - b.x) * 180 / std::numbers::pi));
    Hote().SetTirAuto(auto_);
    return true;
}

void TSystemeFrm::JouerBtnClick() {
    if (!PlacerBtnClick()) return;
    Hote().MontreResultat(TResultatMontre::LigneJoueur);
    Hote().Feu();
}

void TSystemeFrm::CoupJoue() {
    const TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return;
    ResultatLbl->setText(
        QStringLiteral("dernier coup : ") +
        QString::fromStdString(TexteComparaison(CompareAuSysteme(*billard->Simu), SeparateurDecimal())));
}
