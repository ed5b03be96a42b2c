#include "tools/Calibrage.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>
#include <string>

#include "fichiers/FichierFisik.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/DossierFichiers.h"
#include "widgets/Molette.h"
#include "widgets/NombresAffiches.h"

namespace {

// one row of the grid: its label and the constant it writes
struct TLigneParam {
    const char* libelle;
    double TConstantesPhys::*propriete;
};

// row 12, the cushion height, which the bounding keeps between the radius and the diameter
constexpr int LigneHautBdes = 12;

const std::array<TLigneParam, TCalibrageFrm::NbParams> LignesParams = {{
    {"Frot Bille Tapis (Glissemt)", &TConstantesPhys::FrotBiTapGlisse},
    {"Frot Bille Tapis (Pivotemt)", &TConstantesPhys::FrotBiTapPivot},
    {"Frot Bille Tapis (Roulemt)", &TConstantesPhys::FrotBiTapRoule},
    {"Frot Bille Tapis (Choc)", &TConstantesPhys::FrotBiTapChoc},
    {"Frot Bille Bille (choc)", &TConstantesPhys::FrotBiBi},
    {"Frot Bille Bande (choc)", &TConstantesPhys::FrotBiBde},
    {"Elast Bille Tapis", &TConstantesPhys::ElastBiTap},
    {"Elast Bille Bille", &TConstantesPhys::ElastBiBi},
    {"Elast Bille Bande", &TConstantesPhys::ElastBiBde},
    {"Perte Ec (choc Queue-Bille)", &TConstantesPhys::PerteEcQB},
    {"pesanteur (cm/s2)", &TConstantesPhys::G},
    {"Hauteur Bdes (cm)", &TConstantesPhys::HautBdes},
    {"Masse Billes (gr)", &TConstantesPhys::MasseBilles},
    {"Vit. saut mini (cm/s)", &TConstantesPhys::VzRebondNul},
}};

// the wheel's scale for a value: decimals, step, small step (step / 5), aperture
struct TEchelle {
    float jusqua;
    int decimales;
    double pas;
    double ouverture;
};
constexpr std::array<TEchelle, 6> Echelles = {{
    {0.01f, 3, 0.01, 0.03},
    {0.1f, 2, 0.1, 0.3},
    {1.f, 1, 1, 3},
    {10.f, 1, 10, 30},
    {100.f, 0, 20, 60},
    {INFINITY, 0, 30, 90},
}};

const QColor FondInitiales(240, 202, 166);
const QString FiltreFsk = QStringLiteral("fichiers de paramètres (*.fsk)");

// fixed notation, precision 8 and 3 decimals, with the locale's separator
QString TexteValeur(float v) { return TexteFixe(double(v), 8, 3); }

// The current-value editor: digits, "." and "," only (no backspace, no minus sign). It is filled
// with the cell's text once; the typed text is applied as it changes, so nothing is left to
// commit when it closes.
class TEditeurValeur : public QStyledItemDelegate {
public:
    explicit TEditeurValeur(TCalibrageFrm& fenetre) : QStyledItemDelegate(&fenetre), fenetre_(fenetre) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->installEventFilter(const_cast<TEditeurValeur*>(this));
        const int ligne = index.row() + 1;
        connect(edit, &QLineEdit::textEdited, &fenetre_,
                [this, ligne](const QString& texte) { fenetre_.FisikGridSetEditText(2, ligne, texte); });
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // the editor starts with the cell's text; later changes of the cell do not overwrite typing
        if (editor->property("rempli").toBool()) return;
        editor->setProperty("rempli", true);
        static_cast<QLineEdit*>(editor)->setText(index.data().toString());
    }

    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(objet)) {
            auto* touche = static_cast<QKeyEvent*>(e);
            if (touche->key() == Qt::Key_Backspace) return true;
            const QString t = touche->text();
            // printable characters other than digits and separators are refused
            if (!t.isEmpty() && t.at(0).isPrint() && !t.at(0).isDigit() && t != QStringLiteral(",") &&
                t != QStringLiteral("."))
                return true;
        }
        return QStyledItemDelegate::eventFilter(objet, e);
    }

private:
    TCalibrageFrm& fenetre_;
};

}  // namespace

TCalibrageFrm::TCalibrageFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Réglage du billard"), 1430) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(2, 2, 2, 2);
    pile->setSpacing(2);
    // the file the initial values come from, across the top
    FisikLbl = new QLabel(QStringLiteral("valeurs par défaut"), this);
    FisikLbl->setObjectName(QStringLiteral("FisikLbl"));
    FisikLbl->setFrameShape(QFrame::Panel);
    FisikLbl->setFrameShadow(QFrame::Raised);
    FisikLbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FisikLbl->setMargin(3);
    PoseBulle(
        FisikLbl,
        QStringLiteral("fichier de paramètres en cours|nom du fichier où sont rangés les params initiaux"));
    pile->addWidget(FisikLbl);
    auto* corps = new QHBoxLayout;
    pile->addLayout(corps, 1);
    CreeGrille();
    corps->addWidget(FisikGrid, 1);
    CreePanneau();
    corps->addWidget(Panel1);

    DemandeFichier = [this](bool enregistrer) {
        return enregistrer ? DemandeFichierEnregistrer(this, QString(), FiltreFsk)
                           : DemandeFichierOuvrir(this, QString(), FiltreFsk);
    };
    resize(minimumSizeHint().width() + 20, 360);
}

void TCalibrageFrm::CreeGrille() {
    FisikGrid = new QTableWidget(NbParams, 3, this);
    FisikGrid->setObjectName(QStringLiteral("FisikGrid"));
    PoseBulle(FisikGrid,
              QStringLiteral("|vous pouvez utiliser l'option 'tir automatique' pour jouer à chaque modif"));
    FisikGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Paramètre"), QStringLiteral("Val initiale"), QStringLiteral("Val actuelle")});
    FisikGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    FisikGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    FisikGrid->horizontalHeader()->setStretchLastSection(true);
    FisikGrid->verticalHeader()->hide();
    FisikGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FisikGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    FisikGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    FisikGrid->setItemDelegateForColumn(2, new TEditeurValeur(*this));
    // sizes from the texts: a row holds "Non Joueur", column 0 the longest label and two blanks
    const QFontMetrics fm = FisikGrid->fontMetrics();
    FisikGrid->verticalHeader()->setMinimumSectionSize(1);
    FisikGrid->verticalHeader()->setDefaultSectionSize(
        fm.boundingRect(QStringLiteral("Non Joueur")).height() + 2);
    FisikGrid->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("Perte Ec (choc Queue-Bille)  ")));
    FisikGrid->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("Val initiale  ")));
    // wide enough for the three columns: no horizontal scrolling at the first show
    const int entete =
        FisikGrid->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Val actuelle"));
    FisikGrid->setMinimumWidth(FisikGrid->columnWidth(0) + FisikGrid->columnWidth(1) + entete + 24 +
                               2 * FisikGrid->frameWidth());
    // labels and initial values are fixed; the current values are edited in place
    for (int ligne = 1; ligne <= NbParams; ++ligne) {
        auto* libelle = new QTableWidgetItem(QString::fromUtf8(LignesParams[size_t(ligne - 1)].libelle));
        libelle->setFlags(Qt::ItemIsEnabled);
        libelle->setBackground(palette().button());
        FisikGrid->setItem(ligne - 1, 0, libelle);
        auto* initiale = new QTableWidgetItem;
        initiale->setFlags(Qt::ItemIsEnabled);
        initiale->setBackground(FondInitiales);
        FisikGrid->setItem(ligne - 1, 1, initiale);
        auto* actuelle = new QTableWidgetItem;
        actuelle->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        FisikGrid->setItem(ligne - 1, 2, actuelle);
    }
    FisikGrid->setCurrentCell(0, 2);
    connect(FisikGrid, &QTableWidget::currentCellChanged, this,
            [this](int ligne, int col, int, int) { FisikGridSelectCell(col, ligne + 1); });
}

void TCalibrageFrm::CreePanneau() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* pile = new QVBoxLayout(Panel1);
    pile->setContentsMargins(2, 0, 0, 0);
    pile->addWidget(new QLabel(QStringLiteral("Roue"), Panel1));
    Roue = new TMolette(Panel1);
    Roue->setObjectName(QStringLiteral("Roue"));
    PoseBulle(Roue,
              QStringLiteral("modif valeur courante|drag sur partie haute de la molette pour réglage fin"));
    Roue->setEchelle(3, 0.1, 0.02, 0.3);
    Roue->setHauteurGrandeMarque(15);
    Roue->setHauteurPetiteMarque(8);
    Roue->setCouleurRepere(Qt::red);
    Roue->setAsservie(true);
    Roue->setValeur(0.05);
    Roue->setMinimumWidth(150);
    pile->addWidget(Roue);
    connect(Roue, &TMolette::valeurDemandee, this, &TCalibrageFrm::RoueValeurDemandee);

    const auto bouton = [&](QPushButton*& b, const char* nom, const QString& bulle,
                            void (TCalibrageFrm::*clic)()) {
        b = new QPushButton(BulleCourte(bulle), Panel1);
        b->setObjectName(QString::fromLatin1(nom));
        PoseBulle(b, bulle);
        connect(b, &QPushButton::clicked, this, clic);
        pile->addWidget(b);
    };
    bouton(RetabCurrentBtn, "RetabCurrentBtn",
           QStringLiteral("restaurer param courant|rétablir valeur initiale pour param en cours"),
           &TCalibrageFrm::RetabCurrentBtnClick);
    bouton(RetabAllBtn, "RetabAllBtn",
           QStringLiteral("restaurer tous params|rétablir valeurs initiales pour tous les paramètres"),
           &TCalibrageFrm::RetabAllBtnClick);
    bouton(ValeursUsineBtn, "ValeursUsineBtn",
           QStringLiteral(
               "restaurer params par défaut|rétablir les valeurs par défaut pour tous les paramètres"),
           &TCalibrageFrm::ValeursUsineBtnClick);
    pile->addSpacing(8);
    bouton(LoadBtn, "LoadBtn", QStringLiteral("charger un billard|charger un fichier de paramètres"),
           &TCalibrageFrm::LoadBtnClick);
    bouton(SaveBtn, "SaveBtn", QStringLiteral("sauver le billard|sauver dans un fichier de paramètres"),
           &TCalibrageFrm::SaveBtnClick);
    pile->addStretch(1);
    Panel1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

// -- the grid and the simulation

float TCalibrageFrm::LitParam(int ligne) const {
    return float(simu_->Fisik.Constantes().*(LignesParams[size_t(ligne - 1)].propriete));
}

void TCalibrageFrm::EcritCellule(int col, int ligne, float valeur) {
    if (QTableWidgetItem* item = FisikGrid->item(ligne - 1, col)) item->setText(TexteValeur(valeur));
}

void TCalibrageFrm::ChargeGrille(TBillardVelmora& simu) {
    simu_ = &simu;
    // both columns take the simulation's values, in single precision
    for (int ligne = 1; ligne <= NbParams; ++ligne) {
        const float v = LitParam(ligne);
        initiales_[size_t(ligne)] = v;
        actuelles_[size_t(ligne)] = v;
        EcritCellule(1, ligne, v);
        EcritCellule(2, ligne, v);
    }
    AfficheFichier();
    FisikGridSelectCell(FisikGrid->currentColumn(), LigneCourante());
}

void TCalibrageFrm::ChargeGrille() {
    if (Hote().Billard3D()) ChargeGrille(*Hote().Billard3D()->Simu);
}

void TCalibrageFrm::AfficheFichier() {
    const std::string nom = simu_ ? simu_->Fisik.NomFichierFisik : std::string();
    FisikLbl->setText(
        nom.empty() ? QStringLiteral(
                          "aucun fichier chargé (val par défaut ou dernière modif non sauvée de la cession)")
                    : QString::fromStdString(nom));
}

void TCalibrageFrm::ChangeParam(int ligne, bool tirer, float valeur) {
    if (!EnLigne(ligne)) return;
    // no constant of the grid may be zero or negative
    if (!(valeur >= Plancher)) valeur = Plancher;
    // nor beyond what the physics can compute with: the constants' own bounding routine decides,
    // and the grid shows what it kept (the cushion height as typed: it follows the radius)
    TPARAMPHYS sansSimu;
    TPARAMPHYS& fisik = simu_ ? simu_->Fisik : sansSimu;
    double TConstantesPhys::*const propriete = LignesParams[size_t(ligne - 1)].propriete;
    fisik.Change(propriete, valeur);
    if (ligne != LigneHautBdes) valeur = float(fisik.Constantes().*propriete);
    actuelles_[size_t(ligne)] = valeur;
    EcritCellule(2, ligne, valeur);
    Hote().SignalePositionModifiee();
    if (tirer && Hote().TirAuto()) Hote().Feu();
}

QString TCalibrageFrm::Cellule(int col, int ligne) const {
    if (col < 0 || col > 2) return {};
    if (ligne == 0) return FisikGrid->horizontalHeaderItem(col)->text();
    const QTableWidgetItem* item = EnLigne(ligne) ? FisikGrid->item(ligne - 1, col) : nullptr;
    return item ? item->text() : QString();
}

int TCalibrageFrm::LigneCourante() const { return FisikGrid->currentRow() + 1; }

void TCalibrageFrm::SelectionneLigne(int ligne) {
    if (EnLigne(ligne)) FisikGrid->setCurrentCell(ligne - 1, 2);
}

// -- editing

void TCalibrageFrm::FisikGridSetEditText(int ACol, int ARow, const QString& texte) {
    if (ACol != 2 || !EnLigne(ARow)) return;
    // a number still being typed ("", ",", "2,") is read as far as it goes
    QString t = texte.trimmed();
    const auto separateurs = t.count(QLatin1Char('.')) + t.count(QLatin1Char(','));
    if (separateurs == 1 && (t.endsWith(QLatin1Char('.')) || t.endsWith(QLatin1Char(',')))) t.chop(1);
    if (t.isEmpty()) return;
    // "." and "," both stand for the decimal separator
    const std::optional<double> v = LitNombreSaisi(t);
    if (!v || !std::isfinite(float(*v))) {
        QMessageBox::critical(this, windowTitle(), MessageNombreInvalide(texte));
        return;
    }
    ChangeParam(ARow, true, float(*v));
}

void TCalibrageFrm::FisikGridSelectCell(int, int ARow) {
    if (!EnLigne(ARow)) return;
    Roue->setValeur(actuelles_[size_t(ARow)]);
    // the scale follows the size of the value now on the wheel
    const float v = float(Roue->valeur());
    for (const TEchelle& e : Echelles)
        if (v < e.jusqua) {
            Roue->setEchelle(e.decimales, e.pas, e.pas / 5, e.ouverture);
            break;
        }
}

void TCalibrageFrm::RoueValeurDemandee(double valeur) {
    const int ligne = LigneCourante();
    if (!EnLigne(ligne)) return;
    ChangeParam(ligne, true, float(valeur));
    // the wheel shows what was stored, after the floor
    Roue->setValeur(actuelles_[size_t(ligne)]);
}

// -- buttons

void TCalibrageFrm::RetabCurrentBtnClick() {
    const int ligne = LigneCourante();
    if (EnLigne(ligne)) ChangeParam(ligne, true, initiales_[size_t(ligne)]);
}

void TCalibrageFrm::RetabAllBtnClick() {
    // one shot at most: only the last write may fire
    for (int ligne = 2; ligne <= NbParams; ++ligne) ChangeParam(ligne, false, initiales_[size_t(ligne)]);
    ChangeParam(1, true, initiales_[1]);
}

void TCalibrageFrm::ValeursUsineBtnClick() {
    if (!simu_ || !Hote().Billard3D()) return;
    simu_->Fisik.ValeursUsine();
    // the balls keep the radius of the 3D models
    simu_->Fisik.SetParam(2, Hote().Billard3D()->RayonBille);
    ChargeGrille(*simu_);
    Hote().SignalePositionModifiee();
}

QString TCalibrageFrm::NomFsk(const QString& nom) {
    const QFileInfo f(nom);
    QString base = nom;
    if (!f.suffix().isEmpty())
        base.chop(f.suffix().size() + 1);
    else if (base.endsWith(QLatin1Char('.')))
        base.chop(1);
    return base + QStringLiteral(".fsk");
}

void TCalibrageFrm::LoadBtnClick() {
    const QString nom = DemandeFichier ? DemandeFichier(false) : QString();
    if (!nom.isEmpty()) ChargeFichier(NomFsk(nom));
}

void TCalibrageFrm::SaveBtnClick() {
    const QString nom = DemandeFichier ? DemandeFichier(true) : QString();
    if (!nom.isEmpty()) SauveFichier(NomFsk(nom));
}

bool TCalibrageFrm::ChargeFichier(const QString& nom) {
    if (!simu_ || !Hote().Billard3D()) return false;
    std::string erreur;
    // a file that cannot be read changes nothing
    if (!ChargeFisik(simu_->Fisik, nom.toStdString(), &erreur)) {
        QMessageBox::critical(
            this, windowTitle(),
            QStringLiteral("Impossible de charger %1 :\n%2").arg(nom, QString::fromStdString(erreur)));
        return false;
    }
    simu_->Fisik.SetParam(2, Hote().Billard3D()->RayonBille);
    ChargeGrille(*simu_);
    Hote().SignalePositionModifiee();
    return true;
}

bool TCalibrageFrm::SauveFichier(const QString& nom) {
    if (!simu_) return false;
    std::string erreur;
    if (!SauveFisik(simu_->Fisik, nom.toStdString(), &erreur)) {
        QMessageBox::critical(
            this, windowTitle(),
            QStringLiteral("Impossible d'écrire %1 :\n%2").arg(nom, QString::fromStdString(erreur)));
        return false;
    }
    // the saved values become the initial values
    ChargeGrille(*simu_);
    return true;
}
