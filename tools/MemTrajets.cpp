#include "tools/MemTrajets.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "jeu/ContactsBandes.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/NombresAffiches.h"

namespace {

constexpr double DegresParRadian = 180.0 / 3.14159265358979323846;

// a kept shot's look: a tint mixed into each ball's colour, and a dash pattern
struct TStyleTrait {
    TCouleur teinte;
    std::uint16_t motif;
    int facteur;
};
constexpr TStyleTrait StylesTraits[TMemTrajetsFrm::NbStyles] = {
    {{1.00f, 0.55f, 0.10f, 1}, 0x00FF, 2},  // orange, long dashes
    {{0.20f, 0.85f, 1.00f, 1}, 0x0F0F, 1},  // sky blue, short dashes
    {{1.00f, 0.30f, 0.90f, 1}, 0x3333, 2},  // magenta, dots
    {{0.55f, 1.00f, 0.20f, 1}, 0x1CFF, 2},  // green, dash and dot
    {{0.35f, 0.40f, 1.00f, 1}, 0x0FFF, 3},  // blue, wide dashes
    {{1.00f, 0.90f, 0.20f, 1}, 0x5555, 2},  // yellow, fine dots
};

TCouleur Melange(const TCouleur& a, const TCouleur& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 1};
}

// the row's sample: the dash pattern drawn in the tint, as on the table
QIcon IconeStyle(int style) {
    const TStyleTrait& s = StylesTraits[style];
    QPixmap image(36, 10);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor teinte = QColor::fromRgbF(s.teinte.r, s.teinte.g, s.teinte.b);
    for (int x = 0; x < image.width(); ++x)
        if (s.motif & (1u << ((x / s.facteur) % 16))) p.fillRect(x, 3, 1, 4, teinte);
    return QIcon(image);
}

}  // namespace

TMemTrajetsFrm::TMemTrajetsFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Paramètres de mémorisation des trajets"), 1440) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(2, 2, 2, 2);
    pile->setSpacing(2);
    CreePanneau();
    pile->addWidget(Panel1);

    // the kept shots: one header row, then MaxTrajets rows selected whole
    MemGrid = new QTableWidget(MaxTrajets->value(), NbColonnes, this);
    MemGrid->setObjectName(QStringLiteral("MemGrid"));
    MemGrid->setHorizontalHeaderLabels({QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("Visée"),
                                        QStringLiteral("Incl"), QStringLiteral("Vit"),
                                        QStringLiteral("Masse"), QStringLiteral("Coup")});
    // the head of each row shows the style of its lines
    MemGrid->verticalHeader()->setIconSize(QSize(36, 10));
    MemGrid->horizontalHeader()->setDefaultSectionSize(50);
    MemGrid->horizontalHeader()->setStretchLastSection(true);
    MemGrid->horizontalHeader()->setMinimumSectionSize(10);
    MemGrid->verticalHeader()->setMinimumSectionSize(10);
    MemGrid->verticalHeader()->setDefaultSectionSize(16);
    MemGrid->horizontalHeader()->setFixedHeight(18);
    MemGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MemGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    MemGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MemGrid->setTabKeyNavigation(false);
    MemGrid->setCurrentCell(0, 0);
    pile->addWidget(MemGrid, 1);
    lignes_.resize(size_t(MaxTrajets->value()) + 1);
    maxPrecedent_ = MaxTrajets->value();
    for (int r = 1; r < NbLignes(); ++r) AfficheLigne(r);
    MaxTrajetsClick();
    DensiteClick();

    // the space bar fires from here too (a spin box being typed in keeps its blanks)
    auto* feu =
        new QShortcut(QKeySequence(Qt::Key_Space), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(feu, &QShortcut::activated, this, [this] { Hote().Feu(); });
    resize(360, 210);
}

void TMemTrajetsFrm::CreePanneau() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* grille = new QGridLayout(Panel1);
    grille->setContentsMargins(0, 0, 0, 0);
    grille->setHorizontalSpacing(6);
    grille->setVerticalSpacing(2);

    MemOn = new QPushButton(QStringLiteral("mémorisation (off)"), Panel1);
    MemOn->setObjectName(QStringLiteral("MemOn"));
    MemOn->setCheckable(true);
    MemOn->setFocusPolicy(Qt::NoFocus);
    PoseBulle(MemOn, QStringLiteral("|active/désactive la mémorisation à chaque coup"));
    connect(MemOn, &QPushButton::clicked, this, &TMemTrajetsFrm::MemOnClick);
    grille->addWidget(MemOn, 0, 0, 1, 2);

    CreeChoixBilles(*grille);
    CreeCompteurs(*grille);
    Label1 = new QLabel(QStringLiteral("Paramètres queue trajets mémorisés :"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    grille->addWidget(Label1, 2, 0, 1, 4);
    CreeBoutons(*grille);
}

void TMemTrajetsFrm::CreeChoixBilles(QGridLayout& grille) {
    // the balls whose trajectory is kept
    auto* billes = new QHBoxLayout;
    const auto led = [&](TCaseLed*& c, const char* nom, const QString& texte, const QString& bulle) {
        c = new TCaseLed(texte, Panel1);
        c->setObjectName(QString::fromLatin1(nom));
        c->setFocusPolicy(Qt::NoFocus);
        PoseBulle(c, bulle);
        billes->addWidget(c);
    };
    led(Jcheck, "Jcheck", QStringLiteral("Joueur"),
        QStringLiteral("|si activé mémorise le trajet de la bille joueur"));
    led(njCheck, "njCheck", QStringLiteral("Non J."),
        QStringLiteral("|si activé mémorise le trajet de la bille non joueur"));
    led(rgeCheck, "rgeCheck", QStringLiteral("Rge"),
        QStringLiteral("|si activé mémorise le trajet de la rouge"));
    Jcheck->setChecked(true);
    billes->addStretch(1);
    grille.addLayout(billes, 0, 2, 1, 2);
}

void TMemTrajetsFrm::CreeCompteurs(QGridLayout& grille) {
    // thinning and capacity
    DensiteLbl = new QLabel(Panel1);
    DensiteLbl->setObjectName(QStringLiteral("DensiteLbl"));
    PoseBulle(DensiteLbl, QStringLiteral("|photos mémorisées (1/0 = toutes, 1/n = 1 photo toutes les n)"));
    Densite = new QSpinBox(Panel1);
    Densite->setObjectName(QStringLiteral("Densite"));
    Densite->setRange(0, 100);
    Densite->setValue(5);
    connect(Densite, &QSpinBox::valueChanged, this, &TMemTrajetsFrm::DensiteClick);
    MaxTrajetsLbl = new QLabel(Panel1);
    MaxTrajetsLbl->setObjectName(QStringLiteral("MaxTrajetsLbl"));
    PoseBulle(MaxTrajetsLbl, QStringLiteral("|nombre de tirs mémorisés au maximum"));
    MaxTrajets = new QSpinBox(Panel1);
    MaxTrajets->setObjectName(QStringLiteral("MaxTrajets"));
    MaxTrajets->setRange(2, 100);
    MaxTrajets->setValue(3);
    // a number being typed must not delete shots on its way (typing 20 passes by 2)
    MaxTrajets->setKeyboardTracking(false);
    connect(MaxTrajets, &QSpinBox::valueChanged, this, [this](int v) {
        MaxTrajetsChangingEx(v, v > maxPrecedent_ ? 1 : v < maxPrecedent_ ? -1 : 0);
        MaxTrajetsClick();
    });
    grille.addWidget(DensiteLbl, 1, 0);
    grille.addWidget(Densite, 1, 1);
    grille.addWidget(MaxTrajetsLbl, 1, 2);
    grille.addWidget(MaxTrajets, 1, 3);
}

void TMemTrajetsFrm::CreeBoutons(QGridLayout& grille) {
    // what is done with the shots kept
    auto* boutons = new QHBoxLayout;
    const auto bouton = [&](QPushButton*& b, const char* nom, const QString& bulle,
                            void (TMemTrajetsFrm::*clic)()) {
        b = new QPushButton(BulleCourte(bulle), Panel1);
        b->setObjectName(QString::fromLatin1(nom));
        b->setFocusPolicy(Qt::NoFocus);
        PoseBulle(b, bulle);
        connect(b, &QPushButton::clicked, this, clic);
        boutons->addWidget(b);
    };
    bouton(ReplaceBtn, "ReplaceBtn",
           QStringLiteral("replacer|replace billes et queue sur la position courante de la grille"),
           &TMemTrajetsFrm::ReplaceBtnClick);
    bouton(DelBtn, "DelBtn", QStringLiteral("efface le trajet|efface le trajet actuellement sélectionné"),
           &TMemTrajetsFrm::DelBtnClick);
    bouton(DelAllBtn, "DelAllBtn",
           QStringLiteral("efface tous les trajets|efface tous les trajets mémorisés"),
           &TMemTrajetsFrm::DelAllBtnClick);
    grille.addLayout(boutons, 3, 0, 1, 4);
}

// -- the grid

void TMemTrajetsFrm::AfficheLigne(int r) {
    // the sample at the head of the row, while the row has lines on the table
    const TLigneMemo& memo = lignes_[size_t(r)];
    const bool traits = memo.style >= 0 && std::any_of(memo.lignes.begin(), memo.lignes.end(),
                                                       [](const TLignes* l) { return l != nullptr; });
    auto* tete = new QTableWidgetItem(QString::number(r));
    if (traits) tete->setIcon(IconeStyle(memo.style));
    MemGrid->setVerticalHeaderItem(r - 1, tete);
    for (int c = 0; c < NbColonnes; ++c) {
        QTableWidgetItem* item = MemGrid->item(r - 1, c);
        if (!item) {
            item = new QTableWidgetItem;
            MemGrid->setItem(r - 1, c, item);
        }
        item->setText(lignes_[size_t(r)].textes[size_t(c)]);
        item->setForeground(memo.perimee ? QBrush(Qt::gray) : QBrush());
        item->setToolTip(memo.perimee ? QStringLiteral("table modifiée depuis ce coup — relancer")
                                      : QString());
    }
}

void TMemTrajetsFrm::MajValidite(const TEtatPosition& actuel) {
    for (int r = 1; r < NbLignes(); ++r) {
        TLigneMemo& memo = lignes_[size_t(r)];
        const bool perimee = LigneUtilisee(r) && !(memo.fisik == actuel.Fisik);
        if (perimee == memo.perimee) continue;
        memo.perimee = perimee;
        AfficheLigne(r);
    }
}

QString TMemTrajetsFrm::Cellule(int col, int ligne) const {
    if (col < 0 || col >= NbColonnes) return {};
    if (ligne == 0) return MemGrid->horizontalHeaderItem(col)->text();
    if (ligne < 1 || ligne >= NbLignes()) return {};
    const QTableWidgetItem* item = MemGrid->item(ligne - 1, col);
    return item ? item->text() : QString();
}

int TMemTrajetsFrm::LigneCourante() const { return MemGrid->currentRow() + 1; }

void TMemTrajetsFrm::SelectionneLigne(int ligne) {
    if (ligne >= 1 && ligne < NbLignes()) MemGrid->setCurrentCell(ligne - 1, 0);
}

bool TMemTrajetsFrm::LigneUtilisee(int ligne) const {
    return ligne >= 1 && ligne < NbLignes() && !lignes_[size_t(ligne)].textes[0].isEmpty();
}

TLignes* TMemTrajetsFrm::Ligne(int r, int b) const {
    if (r < 1 || r >= NbLignes() || b < 0 || b > 2) return nullptr;
    return lignes_[size_t(r)].lignes[size_t(b)];
}

int TMemTrajetsFrm::Style(int r) const {
    if (r < 1 || r >= NbLignes() || !LigneUtilisee(r)) return -1;
    return lignes_[size_t(r)].style;
}

int TMemTrajetsFrm::StyleLibre() const {
    std::array<int, NbStyles> usages{};
    for (int r = 1; r < NbLignes(); ++r)
        if (LigneUtilisee(r) && lignes_[size_t(r)].style >= 0) ++usages[size_t(lignes_[size_t(r)].style)];
    return int(std::min_element(usages.begin(), usages.end()) - usages.begin());
}

TGLBilles* TMemTrajetsFrm::BilleDeColonne(int b) const {
    TGLBillardVelmora& billard = *Hote().Billard3D();
    if (b == 0) return billard.BilleJoueur;
    if (b == 1) return billard.BilleNonJoueur;
    return billard.Rouge;
}

// -- keeping and deleting shots

bool TMemTrajetsFrm::MemorisationActive() const { return MemOn->isChecked(); }

void TMemTrajetsFrm::Memorise(bool forcee) {
    if ((!forcee && !MemOn->isChecked()) || !Hote().Billard3D()) return;
    TGLBillardVelmora& billard = *Hote().Billard3D();
    if (!ConteneurTrajets) {
        ConteneurTrajets = Hote().SceneTable().Racine().AjouteEnfant<TFactice>();
        ConteneurTrajets->SetVisible(isVisible());
    }
    // the first free row; when all are used, the last one is replaced
    int r = 1;
    while (r < NbLignes() - 1 && LigneUtilisee(r)) ++r;
    // a replaced row takes a new style, unlike the ones still shown
    lignes_[size_t(r)].textes = {};
    lignes_[size_t(r)].style = -1;
    const int style = StyleLibre();
    TLigneMemo& ligne = lignes_[size_t(r)];
    ligne.style = style;

    // the cue and the balls as the simulation had them
    const TBillardVelmora& simu = *billard.Simu;
    ligne.enregistrement = {float(simu.Effet),   float(simu.Hauteur),    float(simu.VitesseQueue),
                            float(simu.AngleOx), float(simu.AngleTapis), float(simu.MasseQueue)};
    for (int b = 0; b < 3; ++b) {
        const TVecteur& p = simu.Trajets[b + 1][0].Position;
        ligne.enregistrement[size_t(6 + 3 * b)] = float(p.x);
        ligne.enregistrement[size_t(7 + 3 * b)] = float(p.y);
        ligne.enregistrement[size_t(8 + 3 * b)] = float(p.z);
    }
    const TEnregistrement& e = ligne.enregistrement;
    ligne.fisik = simu.Fisik;
    ligne.perimee = false;
    ligne.textes = {TexteFixe(double(e[0]), 6, 2),
                    TexteFixe(double(e[1]), 6, 2),
                    TexteFixe(double(e[3]) * DegresParRadian, 6, 2),
                    TexteFixe(double(e[4]) * DegresParRadian, 6, 2),
                    TexteFixe(double(e[2]), 6, 0),
                    TexteFixe(double(e[5]), 6, 0),
                    QString::fromStdString(TexteCoup(QueueDegres(simu.ParamQueue()),
                                                     ContexteDe(simu, billard.BilleNonJoueur->Nom),
                                                     BilleEnTete(simu), SeparateurDecimal()))};

    // the chosen balls' lines, thinned now, in the row's style; the others stay as they were
    const TStyleTrait& s = StylesTraits[style];
    const TCaseLed* cases[3] = {Jcheck, njCheck, rgeCheck};
    for (int b = 0; b < 3; ++b) {
        TLignes*& trait = ligne.lignes[size_t(b)];
        if (!cases[b]->isChecked()) {
            if (!trait) continue;
        } else {
            if (!trait) trait = ConteneurTrajets->AjouteEnfant<TLignes>();
            billard.TraceTrajet(*BilleDeColonne(b), *trait, Densite->value());
        }
        trait->DebutMaj();
        trait->SetCouleur(Melange(BilleDeColonne(b)->Couleur(), s.teinte, 0.55f));
        trait->SetMotif(s.motif, s.facteur);
        trait->SetLargeurLigne(2);
        trait->FinMaj();
    }
    AfficheLigne(r);
}

void TMemTrajetsFrm::EffaceTraits() {
    if (ConteneurTrajets) ConteneurTrajets->SupprimeEnfants();
    for (int r = 1; r < NbLignes(); ++r) {
        lignes_[size_t(r)].lignes = {};
        AfficheLigne(r);
    }
}

void TMemTrajetsFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    if (ConteneurTrajets) ConteneurTrajets->SetVisible(true);
}

void TMemTrajetsFrm::hideEvent(QHideEvent* e) {
    TFenetreOutil::hideEvent(e);
    // the kept lines belong to the window: closed, it leaves the table to the live lines
    if (!e->spontaneous() && ConteneurTrajets) ConteneurTrajets->SetVisible(false);
}

void TMemTrajetsFrm::VideLigne(int r) {
    TLigneMemo& ligne = lignes_[size_t(r)];
    ligne.perimee = false;
    for (TLignes*& trait : ligne.lignes) {
        if (trait && ConteneurTrajets) ConteneurTrajets->SupprimeEnfant(trait);
        trait = nullptr;
    }
    ligne.textes = {};
    ligne.style = -1;
}

void TMemTrajetsFrm::Supprime(int r) {
    if (r < 1 || r >= NbLignes()) return;
    VideLigne(r);
    // the rows below move up with their lines and records; the last one is left empty
    for (int i = r; i + 1 < NbLignes(); ++i) std::swap(lignes_[size_t(i)], lignes_[size_t(i + 1)]);
    for (int i = r; i < NbLignes(); ++i) AfficheLigne(i);
}

void TMemTrajetsFrm::DelBtnClick() { Supprime(LigneCourante()); }

void TMemTrajetsFrm::DelAllBtnClick() {
    if (!ConteneurTrajets) return;
    ConteneurTrajets->SupprimeEnfants();
    for (int r = 1; r < NbLignes(); ++r) {
        lignes_[size_t(r)].lignes = {};
        lignes_[size_t(r)].textes = {};
        lignes_[size_t(r)].style = -1;
        AfficheLigne(r);
    }
}

void TMemTrajetsFrm::ReplaceBtnClick() {
    const int r = LigneCourante();
    if (LigneUtilisee(r)) Replacer(r);
}

void TMemTrajetsFrm::Replacer(int r) {
    if (!LigneUtilisee(r) || !Hote().Billard3D()) return;
    TGLBillardVelmora& billard = *Hote().Billard3D();
    // a copy: shots fired meanwhile may change the rows
    const TEnregistrement e = lignes_[size_t(r)].enregistrement;
    // the cue window answers each setting; auto-fire waits until the whole shot is set up
    const bool auto_ = Hote().TirAuto();
    Hote().SetTirAuto(false);
    TGLQueue& queue = *billard.Queue;
    queue.SetEffet(e[0]);
    queue.SetHauteur(e[1]);
    queue.SetVitesse(e[2]);
    queue.SetVisee(float(e[3] * DegresParRadian));
    queue.SetInclinaison(float(e[4] * DegresParRadian));
    queue.SetMasse(e[5]);
    billard.BilleJoueur->SetPosition({e[6], e[7], e[8]});
    billard.BilleNonJoueur->SetPosition({e[9], e[10], e[11]});
    billard.Rouge->SetPosition({e[12], e[13], e[14]});
    Hote().SetTirAuto(auto_);
    if (auto_) Hote().Feu();
}

// -- switches and counters

void TMemTrajetsFrm::MemOnClick() {
    const bool on = MemOn->isChecked();
    MemOn->setText(on ? QStringLiteral("mémorisation (on)") : QStringLiteral("mémorisation (off)"));
    Hote().SignaleMemoire(on);
}

void TMemTrajetsFrm::MaxTrajetsChangingEx(int NewValue, int Direction) {
    if (Direction == 0 || NewValue < 1) return;
    // the shots beyond the new maximum go, from the bottom so none is skipped
    for (int r = NbLignes() - 1; r > NewValue; --r) Supprime(r);
    lignes_.resize(size_t(NewValue) + 1);
    MemGrid->setRowCount(NewValue);
    for (int r = maxPrecedent_ + 1; r <= NewValue; ++r) AfficheLigne(r);
    maxPrecedent_ = NewValue;
}

void TMemTrajetsFrm::MaxTrajetsClick() {
    MaxTrajetsLbl->setText(QStringLiteral("Max mémo : ") + QString::number(MaxTrajets->value()));
}

void TMemTrajetsFrm::DensiteClick() {
    DensiteLbl->setText(QStringLiteral("densité : 1/") + QString::number(Densite->value()));
}
