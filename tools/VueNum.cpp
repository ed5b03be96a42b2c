#include "tools/VueNum.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "jeu/ContactsBandes.h"
#include "tools/VueNumGraphe.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"
#include "widgets/IconesVel3D.h"
#include "widgets/NombresAffiches.h"

namespace {

const QColor FondNomBille(240, 202, 166);

// a value of the grid: fixed, 3 decimals, in the user's locale
QString TexteValeur(double v) { return TexteFixe(v, 8, 3); }

QColor EnQColor(const TCouleur& c) {
    return QColor::fromRgbF(std::clamp(c.r, 0.f, 1.f), std::clamp(c.g, 0.f, 1.f), std::clamp(c.b, 0.f, 1.f));
}

// The cell editor: starts with the cell's text, takes digits, "-", "." and "," only, and hands
// the text to the window when the edit is committed (Enter, Tab, a click elsewhere).
class TEditeurCellule : public QStyledItemDelegate {
public:
    explicit TEditeurCellule(TVueNumFrm& fenetre) : QStyledItemDelegate(&fenetre), fenetre_(fenetre) {}

    void setModelData(QWidget* editeur, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* e = qobject_cast<QLineEdit*>(editeur);
        if (!e) return;
        QString erreur;
        if (fenetre_.PVRGridSetEditText(index.column(), index.row() + 1, e->text(), &erreur)) return;
        // said once the editor has closed: a box now would take the focus from the closing editor
        TVueNumFrm* f = &fenetre_;
        QMetaObject::invokeMethod(
            f, [f, erreur] { QMessageBox::critical(f, f->windowTitle(), erreur); }, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            const QString texte = k->text();
            if (!texte.isEmpty() && !(k->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
                const char16_t c = texte.at(0).unicode();
                const bool accepte =
                    c < 0x20 || c == 0x7f || c == u',' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9');
                if (!accepte) return true;
            }
        }
        return QStyledItemDelegate::eventFilter(objet, e);
    }

private:
    TVueNumFrm& fenetre_;
};

}  // namespace

TVueNumFrm::TVueNumFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Aucun trajet"), 1410) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(3, 3, 3, 3);
    pile->setSpacing(3);
    CreePanneauHaut();
    pile->addWidget(Panel1);
    auto* entete = new QHBoxLayout;
    EnteteLbl = new QLabel(this);
    EnteteLbl->setObjectName(QStringLiteral("EnteteLbl"));
    EnteteLbl->setWordWrap(true);
    EnteteLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PoseBulle(EnteteLbl,
              QStringLiteral("|le coup en termes de joueur et les diamants où les billes touchent les "
                             "bandes (vues du joueur derrière la courte du bas)"));
    entete->addWidget(EnteteLbl, 1);
    ToutesBillesChk = new QCheckBox(QStringLiteral("toutes les billes"), this);
    ToutesBillesChk->setObjectName(QStringLiteral("ToutesBillesChk"));
    PoseBulle(ToutesBillesChk,
              QStringLiteral("|les bandes touchées par les trois billes, pas seulement la bille joueur"));
    connect(ToutesBillesChk, &QCheckBox::toggled, this, [this] { MajEntete(); });
    entete->addWidget(ToutesBillesChk, 0, Qt::AlignTop);
    pile->addLayout(entete);
    CreeGrille();
    pile->addWidget(PVRGrid);
    auto* courbes = new QWidget(this);
    CreeGraphe(courbes);
    pile->addWidget(courbes, 1);
    CreePanneauBas();
    pile->addWidget(Panel2);
    EcritEntetes();
    resize(std::max(PVRGrid->minimumWidth(), Panel1->sizeHint().width()) + 6, 520);
}

void TVueNumFrm::CreePanneauHaut() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* rangee = new QHBoxLayout(Panel1);
    rangee->setContentsMargins(2, 0, 0, 0);
    Label1 = new QLabel(QStringLiteral("photo "), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    rangee->addWidget(Label1);
    PosLbl = new QLabel(Panel1);
    PosLbl->setObjectName(QStringLiteral("PosLbl"));
    PosLbl->setMinimumWidth(PosLbl->fontMetrics().horizontalAdvance(QStringLiteral("1200 à t= 00,000 ")));
    rangee->addWidget(PosLbl);
    Curseur = new QScrollBar(Qt::Horizontal, Panel1);
    Curseur->setObjectName(QStringLiteral("Curseur"));
    Curseur->setRange(0, 0);
    Curseur->setSingleStep(1);
    Curseur->setPageStep(10);
    Curseur->setFocusPolicy(Qt::NoFocus);
    PoseBulle(Curseur, QStringLiteral("|déplacez le curseur pour positionner sur la photo voulue"));
    connect(Curseur, &QScrollBar::valueChanged, this, [this] { CurseurChange(); });
    rangee->addWidget(Curseur, 1);
    FeuBtn = new QToolButton(Panel1);
    FeuBtn->setObjectName(QStringLiteral("FeuBtn"));
    FeuBtn->setIcon(QIcon(ImageFeu(20, devicePixelRatioF())));
    FeuBtn->setIconSize(QSize(20, 20));
    FeuBtn->setAutoRaise(true);
    PoseBulle(FeuBtn,
              QStringLiteral("joue \"à la main\"|joue le coup avec les PVR photo courante (comme à la main, "
                             "sans passer par la queue)"));
    connect(FeuBtn, &QToolButton::clicked, this, [this] { FeuBtnClick(); });
    rangee->addWidget(FeuBtn);
}

void TVueNumFrm::CreeGrille() {
    // row 0 of the grid is the header of the table widget; rows 1..9 are its rows 0..8
    PVRGrid = new QTableWidget(NbLignes - 1, NbColonnes, this);
    PVRGrid->setObjectName(QStringLiteral("PVRGrid"));
    PoseBulle(PVRGrid,
              QStringLiteral("|click 'coord x' pour alterner sph/cart, ou dessous pour recopier postions "
                             "actuelles vers photo courante"));
    PVRGrid->verticalHeader()->hide();
    PVRGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    PVRGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    PVRGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PVRGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PVRGrid->setItemDelegate(new TEditeurCellule(*this));
    QHeaderView* entete = PVRGrid->horizontalHeader();
    entete->setSectionsClickable(true);
    entete->setHighlightSections(false);
    entete->setSectionResizeMode(QHeaderView::Interactive);
    // a wider window widens the last column rather than leaving a blank
    entete->setStretchLastSection(true);
    connect(entete, &QHeaderView::sectionClicked, this, [this](int c) { PVRGridFixedCellClick(c, 0); });
    connect(PVRGrid, &QTableWidget::cellClicked, this, [this](int r, int c) {
        if (c < 2) PVRGridFixedCellClick(c, r + 1);
    });

    // the cells: two fixed columns, then the values
    for (int c = 0; c < NbColonnes; ++c) {
        PVRGrid->setHorizontalHeaderItem(c, new QTableWidgetItem);
        for (int r = 1; r < NbLignes; ++r) {
            auto* item = new QTableWidgetItem;
            if (c < 2) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().button());
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
            PVRGrid->setItem(r - 1, c, item);
        }
    }
    for (int r : {1, 4, 7}) PVRGrid->item(r - 1, 0)->setBackground(FondNomBille);
    const char* const noms[] = {"B. Joueur", "Non Joueur", "Rouge"};
    const char* const pvr[] = {" P ", " V ", " R "};
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 3; ++i) {
            const int r = 1 + 3 * b + i;
            if (i == 0) EcritCellule(0, r, QString::fromLatin1(noms[b]));
            EcritCellule(1, r, QString::fromLatin1(pvr[i]));
        }

    // sizes from the font: a row fits "Non Joueur", the columns their longest caption
    const QFontMetrics fm(PVRGrid->font());
    const int marge = 2 * PVRGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 4;
    const int hauteurLigne = fm.height() + 2 + 2;
    PVRGrid->verticalHeader()->setMinimumSectionSize(1);
    PVRGrid->verticalHeader()->setDefaultSectionSize(hauteurLigne);
    PVRGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int largeurValeur = fm.horizontalAdvance(QStringLiteral(" -0000,000 ")) + marge;
    entete->setDefaultSectionSize(largeurValeur);
    PVRGrid->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral(" Non Joueur ")) + marge);
    PVRGrid->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral(" P  ")) + marge);
    for (int c = 2; c < NbColonnes; ++c) PVRGrid->setColumnWidth(c, largeurValeur);
    int largeur = 2 * PVRGrid->frameWidth();
    for (int c = 0; c < NbColonnes; ++c) largeur += PVRGrid->columnWidth(c);
    PVRGrid->setMinimumWidth(largeur);
    PVRGrid->setFixedHeight(2 * PVRGrid->frameWidth() + entete->sizeHint().height() +
                            (NbLignes - 1) * hauteurLigne);
}

void TVueNumFrm::CreeGraphe(QWidget* conteneur) {
    auto* pile = new QVBoxLayout(conteneur);
    pile->setContentsMargins(0, 0, 0, 0);
    pile->setSpacing(0);
    // speed or spin, one at a time
    auto* choix = new QHBoxLayout;
    choix->setContentsMargins(0, 0, 0, 0);
    choix->addStretch(1);
    auto* groupe = new QButtonGroup(conteneur);
    const auto bouton = [&](const QString& texte, const QString& bulle) {
        auto* b = new QToolButton(conteneur);
        b->setText(texte);
        b->setCheckable(true);
        b->setAutoRaise(true);
        PoseBulle(b, bulle);
        groupe->addButton(b);
        choix->addWidget(b);
        return b;
    };
    GrapheVitesseBtn =
        bouton(QStringLiteral("vitesse"), QStringLiteral("vitesse|courbes des vitesses des billes"));
    GrapheRotationBtn =
        bouton(QStringLiteral("rotation"), QStringLiteral("rotation|courbes des rotations des billes"));
    GrapheVitesseBtn->setObjectName(QStringLiteral("GrapheVitesseBtn"));
    GrapheRotationBtn->setObjectName(QStringLiteral("GrapheRotationBtn"));
    GrapheVitesseBtn->setChecked(true);
    pile->addLayout(choix);
    Graphe = new TVueNumGraphe(conteneur);
    Graphe->setObjectName(QStringLiteral("Graphe"));
    PoseBulle(Graphe,
              QStringLiteral("|vitesse ou rotation de chaque bille au fil du coup ; repères : chocs "
                             "bille/bille (orange), bande (bleu), tapis (beige) ; cliquez pour aller à "
                             "la photo"));
    pile->addWidget(Graphe, 1);
    connect(Graphe, &TVueNumGraphe::PhotoChoisie, Curseur, &QScrollBar::setValue);
    connect(GrapheVitesseBtn, &QToolButton::toggled, this, [this](bool vitesse) {
        Graphe->SetGrandeur(vitesse ? TVueNumGraphe::gVitesse : TVueNumGraphe::gRotation);
    });
}

void TVueNumFrm::CreePanneauBas() {
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* rangee = new QHBoxLayout(Panel2);
    rangee->setContentsMargins(2, 0, 0, 0);
    rangee->setSpacing(4);
    const QString bulleChoc =
        QStringLiteral("|indique si un choc a eu lieu entre la photo précédente et celle courante");
    Label2 = new QLabel(QStringLiteral("Choc :"), Panel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    PoseBulle(Label2, bulleChoc);
    rangee->addWidget(Label2);
    ChocLbl = new QLabel(Panel2);
    ChocLbl->setObjectName(QStringLiteral("ChocLbl"));
    ChocLbl->setMinimumWidth(ChocLbl->fontMetrics().horizontalAdvance(QStringLiteral("Bille/Bande ")));
    PoseBulle(ChocLbl, bulleChoc);
    rangee->addWidget(ChocLbl);
    rangee->addStretch(1);

    const auto bouton = [&](QStyle::StandardPixmap image, const QString& texte, const QString& bulle) {
        auto* b = new QToolButton(Panel2);
        b->setIcon(style()->standardIcon(image));
        b->setText(texte);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        PoseBulle(b, bulle);
        rangee->addWidget(b);
        return b;
    };
    LoadVel2Btn = bouton(QStyle::SP_DialogOpenButton, QStringLiteral("ouvrir"),
                         QStringLiteral("ouvrir|ouvrir un fichier de lancé manuel"));
    LoadVel2Btn->setObjectName(QStringLiteral("LoadVel2Btn"));
    SaveVel2Btn = bouton(QStyle::SP_DialogSaveButton, QStringLiteral("sauver"),
                         QStringLiteral("sauver|sauver un lancé manuel (photo 0)"));
    SaveVel2Btn->setObjectName(QStringLiteral("SaveVel2Btn"));
    ExportBtn =
        bouton(QStyle::SP_FileDialogDetailedView, QStringLiteral("exporter"),
               QStringLiteral("exporter|exporter l'ensemble des P,V,R (toutes photos) dans un fichier texte "
                              "délimité"));
    ExportBtn->setObjectName(QStringLiteral("ExportBtn"));
    connect(LoadVel2Btn, &QToolButton::clicked, this, [this] { LoadVel2BtnClick(); });
    connect(SaveVel2Btn, &QToolButton::clicked, this, [this] { SaveVel2BtnClick(); });
    connect(ExportBtn, &QToolButton::clicked, this, [this] { ExportBtnClick(); });
    rangee->addSpacing(6);

    // the V/R drawing scale: a label and two arrows
    zoomLbl = new QLabel(QStringLiteral("/5"), Panel2);
    zoomLbl->setObjectName(QStringLiteral("zoomLbl"));
    zoomLbl->setMinimumWidth(zoomLbl->fontMetrics().horizontalAdvance(QStringLiteral(":21")));
    zoomLbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PoseBulle(zoomLbl, QStringLiteral("|ratio zoom sur dessin vecteurs V,R"));
    rangee->addWidget(zoomLbl);
    ZoomUpDown = new QWidget(Panel2);
    ZoomUpDown->setObjectName(QStringLiteral("ZoomUpDown"));
    PoseBulle(ZoomUpDown, QStringLiteral("|ratio zoom sur dessin vecteurs V, R"));
    auto* fleches = new QVBoxLayout(ZoomUpDown);
    fleches->setContentsMargins(0, 0, 0, 0);
    fleches->setSpacing(0);
    for (const int sens : {1, -1}) {
        auto* b = new QToolButton(ZoomUpDown);
        b->setArrowType(sens > 0 ? Qt::UpArrow : Qt::DownArrow);
        b->setFixedSize(18, 11);
        b->setAutoRepeat(true);
        PoseBulle(b, QStringLiteral("|ratio zoom sur dessin vecteurs V, R"));
        connect(b, &QToolButton::clicked, this, [this, sens] { SetZoomPosition(zoomPosition_ + sens); });
        fleches->addWidget(b);
    }
    rangee->addWidget(ZoomUpDown);
}

// -- the grid's texts

QString TVueNumFrm::Cellule(int colonne, int ligne) const {
    if (colonne < 0 || colonne >= NbColonnes || ligne < 0 || ligne >= NbLignes) return {};
    const QTableWidgetItem* item =
        ligne == 0 ? PVRGrid->horizontalHeaderItem(colonne) : PVRGrid->item(ligne - 1, colonne);
    return item ? item->text() : QString();
}

void TVueNumFrm::EcritCellule(int colonne, int ligne, const QString& texte) {
    QTableWidgetItem* item =
        ligne == 0 ? PVRGrid->horizontalHeaderItem(colonne) : PVRGrid->item(ligne - 1, colonne);
    if (!item) return;
    item->setText(texte);
    // headers centred, other cells on the left
    item->setTextAlignment(ligne == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

void TVueNumFrm::EcritEntetes() {
    EcritCellule(0, 0, Spherique ? QStringLiteral("coord. sph.") : QStringLiteral("coord. cart."));
    EcritCellule(1, 0, QString());
    const char* const spheriques[] = {"Angle/Ox", "Angle/Oz", "Norme"};
    const char* const cartesiens[] = {" X ", " Y ", " Z "};
    for (int c = 2; c < NbColonnes; ++c)
        EcritCellule(c, 0, QString::fromLatin1(Spherique ? spheriques[c - 2] : cartesiens[c - 2]));
}

void TVueNumFrm::AfficheLigne(int r) {
    const TVecteur* v = Vecteur(r);
    if (!v) {
        for (int c = 2; c < NbColonnes; ++c) EcritCellule(c, r, QString());
        return;
    }
    if (!Spherique) {
        EcritCellule(2, r, TexteValeur(v->x));
        EcritCellule(3, r, TexteValeur(v->y));
        EcritCellule(4, r, TexteValeur(v->z));
        return;
    }
    // angle from x in the table plane, angle from the vertical, length
    const double degres = 180 / std::numbers::pi;
    EcritCellule(2, r, TexteValeur(std::atan2(v->y, v->x) * degres));
    EcritCellule(3, r, TexteValeur(std::atan2(std::hypot(v->x, v->y), v->z) * degres));
    EcritCellule(4, r, TexteValeur(Norme(*v)));
}

void TVueNumFrm::RemplitGrille(int k) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || k < 0 || k > billard->Simu->NbPhotos || k > NbPhotosMax) {
        // beyond the last photo: nothing to show or edit
        vecteurs_.fill(nullptr);
        for (int r = 1; r < NbLignes; ++r) AfficheLigne(r);
        for (int r : {2, 5, 8}) EcritCellule(0, r, QString());
        ChocLbl->clear();
        return;
    }
    TBillardVelmora& simu = *billard->Simu;
    for (int b = 1; b <= NbBilles; ++b) {
        TPVR& pvr = simu.Trajets[b][k];
        const int r = 1 + 3 * (b - 1);
        vecteurs_[std::size_t(r)] = &pvr.Position;
        vecteurs_[std::size_t(r + 1)] = &pvr.Vitesse;
        vecteurs_[std::size_t(r + 2)] = &pvr.Rotation;
        EcritCellule(0, r + 1, QString::fromUtf8(TexteMouvement(simu.Mouvements[b][k])));
    }
    for (int r = 1; r < NbLignes; ++r) AfficheLigne(r);
    ChocLbl->setText(QString::fromUtf8(TexteTypeChoc(simu.TypesChocs[std::size_t(k)])));
}

// -- the photo of the cursor

void TVueNumFrm::MajEntete() {
    const TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || billard->Simu->NbPhotos < 1) {
        EnteteLbl->clear();
        return;
    }
    const TBillardVelmora& simu = *billard->Simu;
    const char sep = SeparateurDecimal();
    const std::string nom2 = billard->BilleNonJoueur->Nom;
    QString texte = QStringLiteral("coup : ") +
                    QString::fromStdString(TexteCoup(QueueDegres(simu.ParamQueue()), ContexteDe(simu, nom2),
                                                     BilleEnTete(simu), sep));
    const std::string bille1 = TexteContactsBille1(simu, nom2, sep);
    texte += QStringLiteral("\nbille joueur : ") +
             (bille1.empty() ? QStringLiteral("aucun contact") : QString::fromStdString(bille1));
    if (ToutesBillesChk->isChecked()) {
        const std::vector<TContactBande> contacts = ContactsBandes(simu, true);
        const char* noms[] = {"", "non joueur", "rouge"};
        for (int b = 2; b <= 3; ++b) {
            const std::string parcours = TexteParcours(contacts, b, sep);
            texte += QStringLiteral("\n%1 : ").arg(QString::fromLatin1(noms[b - 1])) +
                     (parcours.empty() ? QStringLiteral("aucune bande") : QString::fromStdString(parcours));
        }
    }
    EnteteLbl->setText(texte);
}

void TVueNumFrm::RafraichitVue(int k) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return;
    const TBillardVelmora& simu = *billard->Simu;
    {
        // the cursor goes to photo k below, once
        const QSignalBlocker silence(Curseur);
        if (simu.NbPhotos < 1) {
            TrajetPresent = false;
            Curseur->setMaximum(0);
            setWindowTitle(QStringLiteral("Aucun trajet"));
            // photo 0 shows the balls as they stand
            billard->BillesVersSimu();
        } else {
            TrajetPresent = true;
            Curseur->setMaximum(std::min(simu.NbPhotos, NbPhotosMax));
            setWindowTitle(QString::number(simu.NbPhotos) + QStringLiteral(" mesures pour le trajet"));
        }
    }
    MajEntete();
    Graphe->SetTrajets(billard->Simu.get());
    Graphe->SetCouleurs({EnQColor(billard->BilleJoueur->Couleur()),
                         EnQColor(billard->BilleNonJoueur->Couleur()), EnQColor(billard->Rouge->Couleur())});
    Graphe->update();
    k = std::clamp(k, 0, Curseur->maximum());
    if (Curseur->value() != k)
        Curseur->setValue(k);
    else
        CurseurChange();
}

void TVueNumFrm::CurseurChange() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    const int k = Curseur->value();
    const double t = billard && k <= NbPhotosMax ? billard->Simu->Temps[std::size_t(k)] : 0;
    PosLbl->setText(QString::number(k) + QStringLiteral(" à t= ") + TexteFixe(t, 10, 3));
    RemplitGrille(k);
    Graphe->SetPhoto(k);
    if (billard && TrajetPresent) MontrePhoto(k);
}

void TVueNumFrm::MontrePhoto(int k) {
    TGLBillardVelmora& billard = *Hote().Billard3D();
    // the balls' move events run: the status bar follows
    billard.AffichePhoto(k, false);
    if (Hote().VecteursAffiches()) billard.DessineVR(k);
}

// -- the V/R scale

double TVueNumFrm::EchelleVR() const {
    return zoomPosition_ < 0 ? 1.0 / (1 - zoomPosition_) : zoomPosition_ + 1.0;
}

void TVueNumFrm::SetZoomPosition(int p) {
    const int position = std::clamp(p, -20, 10);
    if (position == zoomPosition_) return;
    zoomPosition_ = position;
    ZoomUpDownClick();
}

void TVueNumFrm::ZoomUpDownClick() {
    zoomLbl->setText(zoomPosition_ < 0 ? QStringLiteral(":") + QString::number(1 - zoomPosition_)
                                       : QStringLiteral("x") + QString::number(zoomPosition_ + 1));
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return;
    billard->EchelleVR(float(EchelleVR()));
    if (TrajetPresent && Hote().VecteursAffiches()) billard->DessineVR(Curseur->value());
}

// -- clicks and edits in the grid

void TVueNumFrm::PVRGridFixedCellClick(int colonne, int ligne) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (ligne == 0) {
        // any header cell switches between angles and coordinates
        Spherique = !Spherique;
        EcritEntetes();
        if (billard) RemplitGrille(Curseur->value());
    } else if (colonne < 2 && ligne < NbLignes) {
        // the balls as they stand in the 3D view become the current photo's positions
        if (billard) billard->BillesVersPhoto(Curseur->value());
        CurseurChange();
        Graphe->update();
    }
    PVRGrid->viewport()->update();
}

bool TVueNumFrm::PVRGridSetEditText(int colonne, int ligne, const QString& texte, QString* erreur) {
    TVecteur* v = Vecteur(ligne);
    if (!v || colonne < 2 || colonne >= NbColonnes) return true;
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return true;
    QString message;
    const std::optional<float> nombre = LitSimpleSaisi(texte, &message);
    if (!nombre) {
        if (erreur) *erreur = message;
        return false;
    }

    if (Spherique) {
        // the row's three cells with the new one: angle from x, angle from the vertical, length
        float valeurs[3] = {};
        for (int c = 2; c < NbColonnes; ++c) {
            if (c == colonne) {
                valeurs[c - 2] = *nombre;
                continue;
            }
            const std::optional<float> autre = LitSimpleSaisi(Cellule(c, ligne), &message);
            if (!autre) {
                if (erreur) *erreur = message;
                return false;
            }
            valeurs[c - 2] = *autre;
        }
        EcritCellule(colonne, ligne, TexteValeur(*nombre));
        // (0, 0, N) turned about y by the angle from the vertical, then about z by the angle from x
        const float radian = float(std::numbers::pi / 180);
        const float phi = valeurs[0] * radian, theta = valeurs[1] * radian, n = valeurs[2];
        v->x = double(n * std::sin(theta) * std::cos(phi));
        v->y = double(n * std::sin(theta) * std::sin(phi));
        v->z = double(n * std::cos(theta));
    } else {
        (colonne == 2 ? v->x : colonne == 3 ? v->y : v->z) = double(*nombre);
        EcritCellule(colonne, ligne, TexteValeur(*nombre));
    }

    // a ball centre never lies below the cloth: the row then shows what was kept
    if ((ligne == 1 || ligne == 4 || ligne == 7) && v->z < double(billard->RayonBille)) {
        v->z = double(billard->RayonBille);
        AfficheLigne(ligne);
    }
    MontrePhoto(Curseur->value());
    Graphe->update();
    return true;
}

// -- hand launch and files

void TVueNumFrm::JoueALaMain(int k) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return;
    // the result must be seen: trajectory lines unless an animation shows it
    Hote().MontreResultat(TResultatMontre::Lignes);
    billard->JoueALaMain(k);
    RafraichitVue();
    Hote().MontreResultat(TResultatMontre::Animation);
}

void TVueNumFrm::FeuBtnClick() { JoueALaMain(Curseur->value()); }

void TVueNumFrm::Erreur(const QString& texte) { QMessageBox::critical(this, windowTitle(), texte); }

bool TVueNumFrm::ChargeVel2(const QString& nom) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return false;
    std::string raison;
    if (!ChargeLancer(*billard->Simu, nom.toStdString(), &raison)) {
        Erreur(QStringLiteral("Impossible d'ouvrir %1 :\n%2").arg(nom, QString::fromStdString(raison)));
        return false;
    }
    // the launch just read is played as it is, whatever photo the cursor was on
    JoueALaMain(0);
    return true;
}

bool TVueNumFrm::SauveVel2(const QString& nom) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return false;
    std::string raison;
    if (!SauveLancer(*billard->Simu, nom.toStdString(), &raison)) {
        Erreur(QStringLiteral("Impossible d'écrire %1 :\n%2").arg(nom, QString::fromStdString(raison)));
        return false;
    }
    return true;
}

bool TVueNumFrm::Exporte(const QString& nom) {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return false;
    std::string raison;
    if (!billard->ExportePVR(nom.toStdString(), SeparateurDecimal(), &raison)) {
        Erreur(QStringLiteral("Impossible d'écrire %1 :\n%2").arg(nom, QString::fromStdString(raison)));
        return false;
    }
    return true;
}

void TVueNumFrm::LoadVel2BtnClick() {
    const QString nom =
        DemandeFichierOuvrir(this, QString(), QStringLiteral("fichiers de lancers manuels (*.vel2)"));
    if (nom.isEmpty()) return;
    ChargeVel2(nom);
}

void TVueNumFrm::SaveVel2BtnClick() {
    const QString nom =
        DemandeFichierEnregistrer(this, QString(), QStringLiteral("fichiers de lancers manuels (*.vel2)"));
    if (nom.isEmpty()) return;
    // whatever the extension typed, the file is a ".vel2"
    const QFileInfo f(nom);
    SauveVel2(f.dir().filePath(f.completeBaseName() + QStringLiteral(".vel2")));
}

void TVueNumFrm::ExportBtnClick() {
    const QString nom =
        DemandeFichierEnregistrer(this, QString(), QStringLiteral("fichiers d'export tous PVR (*.pvr)"));
    if (nom.isEmpty()) return;
    Exporte(nom);
}

void TVueNumFrm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
        Hote().AfficheAide(ContexteAide());
        return;
    }
    TFenetreOutil::keyPressEvent(e);
}

void TVueNumFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    if (!e->spontaneous()) RafraichitVue();
}
