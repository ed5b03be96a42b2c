#include "tools/Difficulte.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "tools/DifficulteCarte.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"
#include "widgets/NombresAffiches.h"

namespace {

const QString FiltreBul = QStringLiteral("fichiers de bulles (*.bul)");
constexpr int IntervalleSuivi = 50;  // ms between two looks at a running calculation

// numbers shown to the user: the locale's separator, no grouping
QLocale Locale() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

QLabel* Etiquette(QWidget* parent, const char* nom, const QString& texte,
                  Qt::Alignment alignement = Qt::AlignLeft) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    l->setAlignment(alignement | Qt::AlignVCenter);
    return l;
}

QToolButton* Bouton(QWidget* parent, const char* nom, const QString& texte, QStyle::StandardPixmap icone,
                    const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    b->setIcon(parent->style()->standardIcon(icone));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    PoseBulle(b, bulle);
    return b;
}

}  // namespace

// The cell editor: digits, "." and "," only; each change of its text reaches the window at once,
// and the cell shows the value kept when the editor closes.
class TEditeurCellule : public QStyledItemDelegate {
public:
    explicit TEditeurCellule(TDifficulteFrm& frm) : QStyledItemDelegate(&frm), frm_(frm) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* e = new QLineEdit(parent);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFrame(false);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.,]*")), e));
        const int colonne = index.column() + 1, ligne = index.row() + 1;
        frm_.enEdition_ = true;
        ancienne_ = index.data().toString();
        connect(e, &QLineEdit::textEdited, &frm_,
                [this, colonne, ligne](const QString& t) { frm_.QGridSetEditText(colonne, ligne, t); });
        return e;
    }

    void setEditorData(QWidget* editeur, const QModelIndex& index) const override {
        // the editor starts with the cell's text, and is not rewritten while the user types
        auto* e = static_cast<QLineEdit*>(editeur);
        if (!e->isModified()) e->setText(index.data().toString());
    }

    void setModelData(QWidget* editeur, QAbstractItemModel*, const QModelIndex& index) const override {
        const QString texte = static_cast<QLineEdit*>(editeur)->text();
        const int colonne = index.column() + 1, ligne = index.row() + 1;
        frm_.enEdition_ = false;
        if (!frm_.QGridSetEditText(colonne, ligne, texte)) {
            // not a number: the value before the edit stays; an emptied cell needs no telling
            frm_.QGridSetEditText(colonne, ligne, ancienne_);
            if (!texte.trimmed().isEmpty())
                QMessageBox::critical(&frm_, frm_.windowTitle(), MessageNombreInvalide(texte));
        }
        frm_.AfficheCellule(colonne, ligne);
    }

    void destroyEditor(QWidget* editeur, const QModelIndex& index) const override {
        frm_.enEdition_ = false;
        QStyledItemDelegate::destroyEditor(editeur, index);
    }

private:
    TDifficulteFrm& frm_;
    mutable QString ancienne_;
};

TDifficulteFrm::TDifficulteFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("évaluation de la difficulté"), 1420) {
    setObjectName(QStringLiteral("DifficulteFrm"));
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(4, 4, 4, 4);

    // the grid on the left, the buttons and figures on the right
    auto* haut = new QHBoxLayout;
    pile->addLayout(haut);
    CreeGrille();
    haut->addWidget(QGrid, 0, Qt::AlignTop);
    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    CreePanneau(panel1);
    haut->addWidget(panel1, 1, Qt::AlignTop);

    // below: the progress of a calculation, then the map of the last one
    AvancementBar = new QProgressBar(this);
    AvancementBar->setObjectName(QStringLiteral("AvancementBar"));
    AvancementBar->setRange(0, 1000);
    AvancementBar->setValue(0);
    AvancementBar->setTextVisible(false);
    AvancementBar->setFixedHeight(6);
    pile->addWidget(AvancementBar);
    Carte = new TDifficulteCarte(this);
    Carte->setObjectName(QStringLiteral("Carte"));
    pile->addWidget(Carte, 1);

    DemandeNomBul = [this] { return DemandeFichierEnregistrer(this, QString(), FiltreBul); };
    suivi_.setInterval(IntervalleSuivi);
    connect(&suivi_, &QTimer::timeout, this, &TDifficulteFrm::Suivi);

    // the texts of the initial grid and its figures
    for (int ligne = 1; ligne <= NbParamsEssai; ++ligne) {
        AfficheCellule(1, ligne);
        AfficheCellule(2, ligne);
    }
    AfficheVolume();
    nEssaisLbl->setText(Locale().toString(qlonglong(NbTotal())));
    AfficheTemps(NbTotal());
    EscBtn->setEnabled(false);
    resize(500, 580);
}

TDifficulteFrm::~TDifficulteFrm() {
    // a calculation still running stops here; its results file is closed as it stands
    suivi_.stop();
    evaluation_.reset();
}

void TDifficulteFrm::CreeGrille() {
    QGrid = new QTableWidget(NbParamsEssai, 2, this);
    QGrid->setObjectName(QStringLiteral("QGrid"));
    QGrid->setHorizontalHeaderLabels({QStringLiteral("essais"), QStringLiteral("incrément")});
    QGrid->setVerticalHeaderLabels({QStringLiteral("Effet"), QStringLiteral("Hauteur"),
                                    QStringLiteral("Angle visée"), QStringLiteral("Vitesse"),
                                    QStringLiteral("Inclinaison"), QStringLiteral("Masse")});
    PoseBulle(QGrid,
              QStringLiteral("|nombre d'essais à réaliser de part et d'autre de la valeur du param queue "
                             "concerné, et incrément du param "));
    QGrid->setItemDelegate(new TEditeurCellule(*this));
    QGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    QGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    QGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < NbParamsEssai; ++r)
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QGrid->setItem(r, c, item);
        }

    // rows one line of text high; columns as wide as their longest heading
    const QFontMetrics fm(QGrid->font());
    const int marge = 2 * QGrid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, QGrid);
    QHeaderView* lignes = QGrid->verticalHeader();
    lignes->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lignes->setMinimumSectionSize(fm.height() + 2);
    lignes->setDefaultSectionSize(fm.height() + 2);
    lignes->setSectionResizeMode(QHeaderView::Fixed);
    lignes->setFixedWidth(fm.horizontalAdvance(QStringLiteral("Angle visée")) + 5 + marge);
    QHeaderView* colonnes = QGrid->horizontalHeader();
    colonnes->setDefaultSectionSize(fm.horizontalAdvance(QStringLiteral("incrément")) + 4 + marge);
    colonnes->setSectionResizeMode(QHeaderView::Interactive);
    colonnes->setSectionsClickable(false);
    colonnes->setHighlightSections(false);
    lignes->setHighlightSections(false);
    // the heading "essais" reacts to clicks on each of its halves
    colonnes->viewport()->installEventFilter(this);
    QGrid->setFixedHeight(colonnes->sizeHint().height() + NbParamsEssai * lignes->defaultSectionSize() +
                          2 * QGrid->frameWidth());
    QGrid->setMinimumWidth(lignes->width() + 2 * colonnes->defaultSectionSize() + 2 * QGrid->frameWidth());
    QGrid->setCurrentCell(0, 0);
}

void TDifficulteFrm::CreePanneau(QWidget* panel1) {
    auto* pile = new QVBoxLayout(panel1);
    pile->setContentsMargins(4, 0, 0, 0);

    // the three buttons
    auto* boutons = new QHBoxLayout;
    SaveResultBtn =
        Bouton(panel1, "SaveResultBtn", QStringLiteral("sauver"), QStyle::SP_DialogSaveButton,
               QStringLiteral("sauver résultats pendant calculs/non|à enfoncer avant de lancer les "
                              "calculs : chaque essai réussi est enregistré dans un fichier de "
                              "bulles (.bul), destiné au programme d'analyse compagnon"));
    SaveResultBtn->setCheckable(true);
    CalculBtn = Bouton(panel1, "CalculBtn", QStringLiteral("démarrer"), QStyle::SP_MediaPlay,
                       QStringLiteral("démarrer|lancer les calculs d'évaluation de difficulté"));
    EscBtn = Bouton(panel1, "EscBtn", QStringLiteral("arrêter"), QStyle::SP_MediaStop,
                    QStringLiteral("arrêter|interrompt les calculs en cours [ECHAP]"));
    for (QToolButton* b : {SaveResultBtn, CalculBtn, EscBtn}) boutons->addWidget(b);
    pile->addLayout(boutons);
    connect(CalculBtn, &QToolButton::clicked, this, [this] { CalculBtnClick(); });
    connect(EscBtn, &QToolButton::clicked, this, [this] { EscBtnClick(); });
    // Escape stops wherever the focus is in the window; only while running, so that it still
    // cancels the editing of a cell
    echap_ =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    echap_->setEnabled(false);
    connect(echap_, &QShortcut::activated, this, [this] { EscBtnClick(); });

    // the figures: section titles in bold, values on the right
    auto* chiffres = new QGridLayout;
    chiffres->setColumnMinimumWidth(0, 10);
    chiffres->setColumnStretch(2, 1);
    chiffres->setVerticalSpacing(2);
    const auto titre = [&](QLabel* l, const QString& bulle, int ligne) {
        QFont gras = l->font();
        gras.setBold(true);
        l->setFont(gras);
        PoseBulle(l, bulle);
        chiffres->addWidget(l, ligne, 0, 1, 3);
    };
    const auto valeur = [&](QLabel* nom, QLabel* l, int ligne) {
        chiffres->addWidget(nom, ligne, 1);
        chiffres->addWidget(l, ligne, 2);
    };
    Label2 = Etiquette(panel1, "Label2", QStringLiteral("Volume à tester :"));
    titre(Label2, QStringLiteral("|volume total qui sera testé"), 0);
    dVTestLbl = Etiquette(panel1, "dVTestLbl", QString(), Qt::AlignRight);
    chiffres->addWidget(dVTestLbl, 1, 1, 1, 2);
    Label1 = Etiquette(panel1, "Label1", QStringLiteral("Restant à tester :"));
    titre(Label1, QStringLiteral("|nombre d'essais et temps restant à tester (progresse en cours de calcul)"),
          2);
    Label6 = Etiquette(panel1, "Label6", QStringLiteral("essais"));
    nEssaisLbl = Etiquette(panel1, "nEssaisLbl", QString(), Qt::AlignRight);
    valeur(Label6, nEssaisLbl, 3);
    Label7 = Etiquette(panel1, "Label7", QStringLiteral("temps"));
    TempsRestantLbl = Etiquette(panel1, "TempsRestantLbl", QString(), Qt::AlignRight);
    valeur(Label7, TempsRestantLbl, 4);
    Label3 = Etiquette(panel1, "Label3", QStringLiteral("Résultats :"));
    titre(Label3, QStringLiteral("|nombre d'essais réussis et volume correspondant"), 5);
    Label4 = Etiquette(panel1, "Label4", QStringLiteral("essais OK"));
    ReussisLbl = Etiquette(panel1, "ReussisLbl", QStringLiteral("0"), Qt::AlignRight);
    valeur(Label4, ReussisLbl, 6);
    Label5 = Etiquette(panel1, "Label5", QStringLiteral("vol"));
    DvReussiLbl = Etiquette(panel1, "DvReussiLbl", QStringLiteral("0"), Qt::AlignRight);
    valeur(Label5, DvReussiLbl, 7);
    pile->addLayout(chiffres);
    pile->addStretch(1);
}

// ---- the grid ----

void TDifficulteFrm::ChangeCellule(int colonne, int ligne, double valeur) {
    // the grid is the calculation's while it runs
    if (enCours_ || ligne < 1 || ligne > NbParamsEssai) return;
    const int p = ligne - 1;
    if (colonne == 1) {
        grille_.NbEssais[p] = TGrilleDifficulte::BorneNbEssais(valeur);
        nEssaisLbl->setText(Locale().toString(qlonglong(NbTotal())));
        AfficheTemps(NbTotal());
    } else if (colonne == 2) {
        grille_.Increment[p] = TGrilleDifficulte::BorneIncrement(valeur);
    } else {
        return;
    }
    // a cell being typed in keeps the user's text until the editor closes
    if (!enEdition_) AfficheCellule(colonne, ligne);
    AfficheVolume();
}

void TDifficulteFrm::AfficheCellule(int colonne, int ligne) {
    QTableWidgetItem* item = QGrid->item(ligne - 1, colonne - 1);
    if (!item) return;
    const int p = ligne - 1;
    item->setText(colonne == 1 ? Locale().toString(grille_.NbEssais[p])
                               : TexteFixe(grille_.Increment[p], 5, 2));
}

bool TDifficulteFrm::QGridSetEditText(int colonne, int ligne, const QString& texte) {
    // "." and "," are both the decimal separator
    const std::optional<double> v = LitNombreSaisi(texte);
    if (!v) return false;
    ChangeCellule(colonne, ligne, *v);
    return true;
}

void TDifficulteFrm::QGridFixedCellClick(int colonne, bool moitieGauche) {
    if (colonne != 1) return;
    const int ligne = std::max(0, QGrid->currentRow()) + 1;
    ChangeCellule(1, ligne, grille_.NbEssais[ligne - 1] + (moitieGauche ? -1 : 1));
}

bool TDifficulteFrm::eventFilter(QObject* objet, QEvent* e) {
    QHeaderView* colonnes = QGrid ? QGrid->horizontalHeader() : nullptr;
    if (colonnes && objet == colonnes->viewport() &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)) {
        auto* souris = static_cast<QMouseEvent*>(e);
        if (souris->button() != Qt::LeftButton || !QGrid->isEnabled()) return true;
        const int x = souris->position().toPoint().x();
        const int colonne = colonnes->logicalIndexAt(x);
        // the middle belongs to the right half
        if (colonne == 0)
            QGridFixedCellClick(1, x - colonnes->sectionViewportPosition(0) < colonnes->sectionSize(0) / 2);
        return true;
    }
    return TFenetreOutil::eventFilter(objet, e);
}

void TDifficulteFrm::AfficheVolume() {
    dVTestLbl->setText(TexteFixe(double(NbTotal()) * VolumeCellule(), 15, 2));
}

QString TDifficulteFrm::TexteDuree(double secondes) {
    // a time of day in the locale's long format, without its time zone; whole days in front
    if (!(secondes >= 0)) secondes = 0;
    const auto total = static_cast<qint64>(std::llround(std::min(secondes, 9.0e15)));
    const qint64 jours = total / 86400;
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    QString texte = QLocale().toString(QTime(0, 0).addSecs(int(total % 86400)), format.trimmed());
    if (jours > 0) texte = QStringLiteral("%1 j ").arg(jours) + texte;
    return texte;
}

void TDifficulteFrm::AfficheTemps(std::int64_t n) {
    TempsRestantLbl->setText(TexteDuree(double(n) * DureeMille / 1000));
}

// ---- the window ----

void TDifficulteFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    if (e->spontaneous() || enCours_) return;
    // the estimate uses this machine's pace: the last calculation's, or a few trials timed now
    if (!dureeMesuree_) EtalonneDureeMille();
    nEssaisLbl->setText(Locale().toString(qlonglong(NbTotal())));
    AfficheTemps(NbTotal());
}

std::unique_ptr<TEvaluationDifficulte> TDifficulteFrm::NouvelleEvaluation() const {
    const TGLBillardVelmora& billard = *Hote().Billard3D();
    // every trial starts from the balls at rest where the 3D view shows them; the shot on
    // display keeps its own photos
    auto depart = std::make_unique<TBillardVelmora>();
    depart->Fisik = billard.Simu->Fisik;
    depart->ModeDeJeu = billard.Simu->ModeDeJeu;
    const TGLBilles* billes[NbBilles] = {billard.BilleJoueur, billard.BilleNonJoueur, billard.Rouge};
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur3f p = billes[b - 1]->LitPosition();
        depart->Trajets[b][0] = {Vecteur(p.x, p.y, p.z), VecteurNul, VecteurNul};
    }
    return std::make_unique<TEvaluationDifficulte>(*depart, billard.Queue->Valeurs(), grille_);
}

void TDifficulteFrm::EtalonneDureeMille() {
    if (!Hote().Billard3D()) return;
    // a few trials: a fraction of a second even on a slow machine
    const double d = NouvelleEvaluation()->MesureDureeMille(12, NbThreads);
    if (d > 0) {
        DureeMille = d;
        dureeMesuree_ = true;
    }
}

void TDifficulteFrm::closeEvent(QCloseEvent* e) {
    if (enCours_) {
        e->ignore();
        QMessageBox boite(QMessageBox::NoIcon, windowTitle(),
                          QStringLiteral("Calculs en cours, fermeture impossible"), QMessageBox::Ok, this);
        boite.exec();
        return;
    }
    TFenetreOutil::closeEvent(e);
}

void TDifficulteFrm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        EscBtnClick();
        e->accept();
        return;
    }
    TFenetreOutil::keyPressEvent(e);
}

// ---- the calculation ----

void TDifficulteFrm::CalculBtnClick() {
    if (enCours_ || !Hote().Billard3D()) return;

    // the results file is named first, or nothing is calculated
    QString nom;
    if (SaveResultBtn->isChecked()) {
        const QString choisi = DemandeNomBul ? DemandeNomBul() : QString();
        if (choisi.isEmpty()) {
            QMessageBox::critical(
                this, windowTitle(),
                QStringLiteral("Vous devez donner un nom de fichier si le bouton de sauvegarde "
                               "est enfoncé"));
            return;
        }
        nom = QString::fromStdString(NomBul(choisi.toStdString()));
    }

    evaluation_ = NouvelleEvaluation();
    etatCalcul_ = Hote().Billard3D()->EtatPosition();

    // the labels start again, the shot and the grid are locked
    NbReussis = 0;
    ReussisLbl->setText(QStringLiteral("0"));
    DvReussiLbl->setText(QStringLiteral("0"));
    AvancementBar->setValue(0);
    Carte->Efface(QStringLiteral("calcul en cours…"));
    nomResultats_ = nom;
    enCours_ = true;
    Verrouille(true);
    setCursor(Qt::BusyCursor);

    TOptionsDifficulte options;
    options.NbThreads = NbThreads;
    options.NomBul = nom.toStdString();
    options.DureeMilleInitiale = DureeMille;
    evaluation_->Demarre(options);
    suivi_.start();
    Suivi();
}

void TDifficulteFrm::EscBtnClick() {
    if (enCours_ && evaluation_) evaluation_->Arrete();
}

void TDifficulteFrm::MajValidite(const TEtatPosition& actuel) {
    if (enCours_ || !evaluation_) return;
    const bool perimee = !etatCalcul_.Meme(actuel);
    Carte->SetPerimee(perimee);
    for (QLabel* l : {ReussisLbl, DvReussiLbl}) l->setEnabled(!perimee);
}

void TDifficulteFrm::Suivi() {
    if (!enCours_ || !evaluation_) return;
    if (evaluation_->Termine()) {
        Fin(evaluation_->Attends());
        return;
    }
    // trials left and their time, at the pace measured so far
    const TProgressionDifficulte p = evaluation_->Progression();
    DureeMille = p.DureeMille;
    nEssaisLbl->setText(Locale().toString(qlonglong(p.EssaisRestants())));
    AfficheTemps(p.EssaisRestants());
    NbReussis = p.Reussis;
    ReussisLbl->setText(Locale().toString(qlonglong(NbReussis)));
    AvancementBar->setValue(int(p.Fraction() * 1000));
}

void TDifficulteFrm::Fin(const TResultatDifficulte& r) {
    suivi_.stop();
    resultat_ = r;
    enCours_ = false;

    // the figures of the whole grid, at the pace measured
    if (r.NbEssais > 0) {
        DureeMille = r.DureeMille;
        dureeMesuree_ = true;
    }
    nEssaisLbl->setText(Locale().toString(qlonglong(NbTotal())));
    AfficheTemps(NbTotal());
    NbReussis = r.NbReussis;
    ReussisLbl->setText(Locale().toString(qlonglong(NbReussis)));
    DvReussiLbl->setText(TexteFixe(double(NbReussis) * VolumeCellule(), 6, 3));
    AvancementBar->setValue(int(evaluation_->Progression().Fraction() * 1000));
    unsetCursor();
    Verrouille(false);

    // the map needs every cell
    if (r.Complet)
        Carte->Montre(evaluation_->Grille(), evaluation_->Queue(), evaluation_->Reussites());
    else if (r.Erreur.empty())
        Carte->Efface(QStringLiteral("calcul interrompu : la carte des réussites demande un calcul complet"));
    else
        Carte->Efface(QStringLiteral("calcul arrêté : les résultats n'ont pas pu être enregistrés"));
    emit CalculTermine();

    if (!r.Erreur.empty())
        QMessageBox::critical(this, windowTitle(),
                              QStringLiteral("Impossible d'écrire %1 :\n%2")
                                  .arg(nomResultats_, QString::fromStdString(r.Erreur)));
}

void TDifficulteFrm::Verrouille(bool enCours) {
    QGrid->setEnabled(!enCours);
    SaveResultBtn->setEnabled(!enCours);
    CalculBtn->setEnabled(!enCours);
    EscBtn->setEnabled(enCours);
    echap_->setEnabled(enCours);
    Hote().VerrouilleCoup(this, enCours);
}
