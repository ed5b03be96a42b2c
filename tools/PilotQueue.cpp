#include "tools/PilotQueue.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "scene/gl/VueGL.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/Molette.h"
#include "widgets/NombresAffiches.h"

namespace {

const char* const ProprieteTag = "Tag";

// a caption in a smaller font, for the dials
QLabel* PetitTexte(const QString& texte, QWidget* parent) {
    auto* l = new QLabel(texte, parent);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    return l;
}

bool EstFleche(int touche) {
    return touche == Qt::Key_Left || touche == Qt::Key_Up || touche == Qt::Key_Right ||
           touche == Qt::Key_Down;
}

}  // namespace

TQueueFrm::TQueueFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("paramètres queue"), 1450), VueQueue(hote.SceneTable()) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(2, 2, 2, 2);
    PagesQueue = new QTabWidget(this);
    PagesQueue->setObjectName(QStringLiteral("PagesQueue"));
    PagesQueue->setTabPosition(QTabWidget::East);
    PagesQueue->setDocumentMode(true);
    // the tab bar takes the focus, the page control itself does not
    PagesQueue->setFocusPolicy(Qt::NoFocus);
    pile->addWidget(PagesQueue);
    CreePageGraphique();
    CreePageNumerique();
    CoupLbl = PetitTexte(QString(), this);
    CoupLbl->setObjectName(QStringLiteral("CoupLbl"));
    CoupLbl->setWordWrap(true);
    PoseBulle(CoupLbl,
              QStringLiteral("le coup en termes de joueur|visée sur la bille rencontrée (épaisseur et "
                             "côté) ou bricole et son diamant, effet en procédés et position horaire, "
                             "vitesse de 1 à 10"));
    pile->addWidget(CoupLbl);

    // keys and the wheel are seen here before the controls get them
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    resize(400, 250);
}

void TQueueFrm::CreePageGraphique() {
    QueueGrap = new QWidget;
    QueueGrap->setObjectName(QStringLiteral("QueueGrap"));
    PagesQueue->addTab(QueueGrap, QStringLiteral("(graph)"));
    auto* rangee = new QHBoxLayout(QueueGrap);
    rangee->setContentsMargins(2, 2, 2, 2);
    rangee->setSpacing(6);

    // the cue ball close-up with the impact point
    EHpnl = new QWidget(QueueGrap);
    EHpnl->setObjectName(QStringLiteral("EHpnl"));
    auto* gauche = new QVBoxLayout(EHpnl);
    gauche->setContentsMargins(0, 0, 0, 0);
    gauche->setSpacing(2);
    EHlbl = PetitTexte(QString(), EHpnl);
    EHlbl->setObjectName(QStringLiteral("EHlbl"));
    gauche->addWidget(EHlbl);
    Scn = new TVueGL(VueQueue, EHpnl);
    Scn->setObjectName(QStringLiteral("Scn"));
    Scn->setMinimumSize(120, 120);
    PoseBulle(Scn,
              QStringLiteral("Effet/Hauteur|effet/hauteur, déplacer le point de choc par souris ou clavier "
                             "[E/H]+[flèches]"));
    gauche->addWidget(Scn, 1);
    connect(Scn, &TVueGL::SourisEnfoncee, this, &TQueueFrm::ScnMouseMove);
    connect(Scn, &TVueGL::SourisBouge, this, &TQueueFrm::ScnMouseMove);
    rangee->addWidget(EHpnl, 3);

    // the four dials, each under its caption and value
    RouesPnl = new QWidget(QueueGrap);
    RouesPnl->setObjectName(QStringLiteral("RouesPnl"));
    auto* roues = new QVBoxLayout(RouesPnl);
    roues->setContentsMargins(0, 0, 0, 0);
    roues->setSpacing(1);
    const auto bloc = [&](const QString& titre, TMolette* jog, QLabel*& lbl, const char* nom) {
        auto* ligne = new QHBoxLayout;
        ligne->setContentsMargins(2, 0, 2, 0);
        ligne->addWidget(PetitTexte(titre, RouesPnl));
        ligne->addStretch(1);
        lbl = PetitTexte(QString(), RouesPnl);
        lbl->setObjectName(QString::fromLatin1(nom));
        lbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ligne->addWidget(lbl);
        roues->addLayout(ligne);
        roues->addWidget(jog);
        roues->addSpacing(3);
    };
    vitJog = CreeMolette(tgVitesse, 300, 50, 10, 8, QStringLiteral("vitesse|vitesse de la queue"));
    vitJog->setObjectName(QStringLiteral("vitJog"));
    visJog = CreeMolette(tgVisee, 60, 10, 2, 7,
                         QStringLiteral("visée|modif direction queue par souris ou clavier [A]+[Flèches]"));
    visJog->setObjectName(QStringLiteral("visJog"));
    iJog = CreeMolette(tgInclinaison, 50, 10, 2, 8, QStringLiteral("inclinaison|inclinaison de la queue"));
    iJog->setObjectName(QStringLiteral("iJog"));
    mJog = CreeMolette(tgMasse, 50, 10, 2, 8, QStringLiteral("masse|masse de la queue"));
    mJog->setObjectName(QStringLiteral("mJog"));
    bloc(QStringLiteral("vitesse"), vitJog, vitLbl, "vitLbl");
    bloc(QStringLiteral("visée"), visJog, visLbl, "visLbl");
    bloc(QStringLiteral("inclinaison"), iJog, iLbl, "iLbl");
    bloc(QStringLiteral("masse"), mJog, mLbl, "mLbl");
    PoseBulle(visLbl, QStringLiteral("visée et quantité de bille|visée et quantité de bille théorique"));
    roues->addStretch(1);
    rangee->addWidget(RouesPnl, 2);
}

TMolette* TQueueFrm::CreeMolette(int tag, double ouverture, double pas, double petitPas, int petiteMarque,
                                 const QString& bulle) {
    auto* jog = new TMolette(RouesPnl);
    jog->setProperty(ProprieteTag, tag);
    jog->setEchelle(0, pas, petitPas, ouverture);
    jog->setHauteurGrandeMarque(15);
    jog->setHauteurPetiteMarque(petiteMarque);
    // the cue keeps the value: the dial only asks, and shows what the cue answers
    jog->setAsservie(true);
    jog->setMinimumWidth(100);
    PoseBulle(jog, bulle);
    connect(jog, &TMolette::valeurDemandee, this, [this, tag](double v) { SetValeur(tag, float(v)); });
    return jog;
}

void TQueueFrm::CreePageNumerique() {
    QueueNum = new QWidget;
    QueueNum->setObjectName(QStringLiteral("QueueNum"));
    PagesQueue->addTab(QueueNum, QStringLiteral("(num)"));
    auto* grille = new QGridLayout(QueueNum);
    grille->setContentsMargins(8, 8, 8, 8);
    grille->setHorizontalSpacing(6);
    grille->setVerticalSpacing(4);
    struct Champ {
        QLineEdit*& edit;
        int tag;
        const char* titre;
        const char* unite;
        const char* nom;
    };
    const Champ champs[] = {
        {eEdit, tgEffet, "Effet", "cm", "eEdit"},
        {hEdit, tgHauteur, "Hauteur", "cm", "hEdit"},
        {vitEdit, tgVitesse, "Vitesse", "cm/s", "vitEdit"},
        {visEdit, tgVisee, "Visée", "deg", "visEdit"},
        {iEdit, tgInclinaison, "Inclinaison", "deg", "iEdit"},
        {mEdit, tgMasse, "Masse", "gr", "mEdit"},
    };
    int ligne = 0;
    for (const Champ& c : champs) {
        auto* titre = new QLabel(QString::fromUtf8(c.titre), QueueNum);
        titre->setObjectName(QStringLiteral("Label%1").arg(ligne + 1));
        c.edit = new QLineEdit(QueueNum);
        c.edit->setObjectName(QString::fromLatin1(c.nom));
        c.edit->setProperty(ProprieteTag, c.tag);
        c.edit->setAlignment(Qt::AlignRight);
        c.edit->setMaximumWidth(110);
        titre->setBuddy(c.edit);
        grille->addWidget(titre, ligne, 0);
        grille->addWidget(c.edit, ligne, 1);
        grille->addWidget(new QLabel(QString::fromLatin1(c.unite), QueueNum), ligne, 2);
        ++ligne;
    }
    grille->setColumnStretch(3, 1);
    grille->setRowStretch(ligne, 1);
}

int TQueueFrm::Tag(const QObject* controle) {
    const QVariant tag = controle ? controle->property(ProprieteTag) : QVariant();
    return tag.isValid() ? tag.toInt() : -1;
}

TGLQueue* TQueueFrm::Queue() const { return Hote().Billard3D() ? Hote().Billard3D()->Queue.get() : nullptr; }

void TQueueFrm::BrancheQueue(TGLQueue& queue) {
    queue.OnEffetHauteur = [this](TGLQueue&) { AfficheEH(); };
    queue.OnVisee = [this](TGLQueue&) { AfficheVisee(); };
    queue.OnInclinaison = [this](TGLQueue&) { AfficheInclinaison(); };
    queue.OnVitesse = [this](TGLQueue&) { AfficheVitesse(); };
    queue.OnMasse = [this](TGLQueue&) { AfficheMasse(); };
}

// -- values

float TQueueFrm::Valeur(int tag) const {
    const TGLQueue* q = Queue();
    if (!q) return 0;
    switch (tag) {
        case tgVitesse:
            return q->Vitesse();
        case tgVisee:
            return q->Visee();
        case tgInclinaison:
            return q->Inclinaison();
        case tgMasse:
            return q->Masse();
        case tgEffet:
            return q->Effet();
        case tgHauteur:
            return q->Hauteur();
        default:
            return 0;
    }
}

void TQueueFrm::SetValeur(int tag, float valeur) {
    TGLQueue* q = Queue();
    if (!q) return;
    // the cue checks the value and answers with its change event
    switch (tag) {
        case tgVitesse:
            q->SetVitesse(valeur);
            break;
        case tgVisee:
            q->SetVisee(valeur);
            break;
        case tgInclinaison:
            q->SetInclinaison(valeur);
            break;
        case tgMasse:
            q->SetMasse(valeur);
            break;
        case tgEffet:
            q->SetEffet(valeur);
            break;
        case tgHauteur:
            q->SetHauteur(valeur);
            break;
        default:
            break;
    }
}

// -- display operations

void TQueueFrm::TirSiAuto() {
    if (Hote().TirAuto()) Hote().Feu();
}

void TQueueFrm::AfficheRoue(int tag, TMolette* jog, QLineEdit* edit, QLabel* lbl, const char* unite) {
    const float v = Valeur(tag);
    jog->setValeur(v);
    edit->setText(TexteFixe(v, 5, 2));
    lbl->setText(edit->text() + QString::fromLatin1(unite));
}

void TQueueFrm::MajCoup() {
    const TGLBillardVelmora* billard = Hote().Billard3D();
    CoupLbl->setText(billard ? QString::fromStdString(billard->TexteCoupActuel(SeparateurDecimal()))
                             : QString());
}

void TQueueFrm::AfficheEH() {
    eEdit->setText(TexteFixe(Valeur(tgEffet), 5, 2));
    hEdit->setText(TexteFixe(Valeur(tgHauteur), 5, 2));
    EHlbl->setText(QStringLiteral("E=") + eEdit->text() + QStringLiteral(" H=") + hEdit->text() +
                   QStringLiteral(" (cm)"));
    MajCoup();
    TirSiAuto();
}

void TQueueFrm::AfficheVisee() {
    AfficheRoue(tgVisee, visJog, visEdit, visLbl, " deg");
    MajCoup();
    emit ViseeAffichee();
    TirSiAuto();
}

void TQueueFrm::AfficheInclinaison() {
    AfficheRoue(tgInclinaison, iJog, iEdit, iLbl, " deg");
    TirSiAuto();
}

void TQueueFrm::AfficheVitesse() {
    AfficheRoue(tgVitesse, vitJog, vitEdit, vitLbl, " cm/s");
    MajCoup();
    TirSiAuto();
}

void TQueueFrm::AfficheMasse() {
    // the miscue limit, hence the tips, depends on the cue's mass
    AfficheRoue(tgMasse, mJog, mEdit, mLbl, " gr");
    MajCoup();
    TirSiAuto();
}

// -- fields

bool TQueueFrm::ValideSaisie(QLineEdit* edit) {
    const int tag = Tag(edit);
    QString message;
    const std::optional<float> v = LitSimpleSaisi(edit->text(), &message);
    // the cue ignores an inclination it cannot take: refused here, where it can be said
    if (v && tag == tgInclinaison && !InclinaisonAdmise(*v))
        message = QStringLiteral("L'inclinaison doit être comprise entre 0 et 90 degrés (90 exclu).");
    if (!v || !message.isEmpty()) {
        // the field goes back to the value in force, which is kept
        AfficheChamp(edit);
        QMessageBox::critical(this, windowTitle(), message);
        return false;
    }
    SetValeur(tag, *v);
    // the cue may have raised the value to its floor, or kept it without an event
    AfficheChamp(edit);
    return true;
}

void TQueueFrm::AfficheChamp(QLineEdit* edit) {
    edit->setText(TexteFixe(Valeur(Tag(edit)), 5, 2));
    edit->setModified(false);
}

bool TQueueFrm::eEditKeyPress(QLineEdit* edit, QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ValideSaisie(edit);
            return true;
        case Qt::Key_Escape:
            // back to the value in force
            AfficheChamp(edit);
            return true;
        default:
            break;
    }
    // editing keys and shortcuts pass; of the characters only digits, "-" and the separators do
    const QString texte = e->text();
    if (texte.isEmpty() || (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) return false;
    const char16_t c = texte.at(0).unicode();
    if (c < 0x20 || c == 0x7f) return false;
    // "." and "," both give the locale's separator, which is shown
    if (c == u'.' || c == u',' || texte == QLocale().decimalPoint()) {
        edit->insert(QLocale().decimalPoint());
        return true;
    }
    if (c == u'-' || (c >= u'0' && c <= u'9')) return false;
    return true;
}

void TQueueFrm::eEditExit(QLineEdit* edit) {
    if (edit->isModified()) ValideSaisie(edit);
}

// -- keys, mouse and wheel

void TQueueFrm::ScnMouseMove(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    if (TGLQueue* q = Queue()) {
        const QPoint p = e->position().toPoint();
        q->PointeSouris(p.x(), p.y());
    }
}

bool TQueueFrm::FormKeyDown(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        Hote().AfficheAide(ContexteAide());
        return true;
    }
    // the main window's keys: held keys, arrows with a held key, space, Esc, Home, End, Delete
    Hote().PasseTouche(e);
    const bool prise = e->isAccepted() && (EstFleche(e->key()) || e->key() == Qt::Key_Space);
    e->accept();
    return prise;
}

void TQueueFrm::FormKeyUp(QKeyEvent* e) {
    Hote().PasseTouche(e);
    e->accept();
}

bool TQueueFrm::FormMouseWheel(QWheelEvent* e) {
    const bool prise = FormMouseWheel(e->angleDelta().y(), e->globalPosition().toPoint());
    e->accept();
    return prise;
}

bool TQueueFrm::FormMouseWheel(int delta, const QPoint& posGlobale) {
    if (delta == 0) return true;
    const bool avant = delta > 0;
    // with a held key the wheel is an arrow: forward is Up (Left with E), backward Down (Right)
    if (Hote().RoueFleche(avant)) return true;
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard) return true;
    // the control under the mouse: this window first, it stays above the main window
    if (!isVisible() || !rect().contains(mapFromGlobal(posGlobale))) return false;
    QWidget* sous = childAt(mapFromGlobal(posGlobale));
    // forward brings the camera nearer, as in every 3D program
    const int n = -int(std::lround(delta / 2.0));
    if (sous == Scn) {
        billard->Queue->Zoom(n);
        return true;
    }
    if (auto* jog = qobject_cast<TMolette*>(sous); jog && jog->parentWidget() == RouesPnl) {
        // half a unit a notch, a twentieth in the top strip; then scaled per parameter
        double pas = avant ? 0.5 : -0.5;
        if (jog->mapFromGlobal(posGlobale).y() <= jog->hauteurPetiteMarque()) pas /= 10;
        const int tag = Tag(jog);
        const double echelle = (tag == tgVitesse || tag == tgMasse) ? 10 : 0.1;
        SetValeur(tag, Valeur(tag) + float(pas * echelle));
    }
    return true;
}

bool TQueueFrm::eventFilter(QObject* objet, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(objet);
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // once per key: at the control that has it, not again as it bubbles up to the window
            QWidget* focus = QApplication::focusWidget();
            const bool receveur =
                w == this ? !(focus && isAncestorOf(focus)) : w && w->focusPolicy() != Qt::NoFocus;
            if (!receveur) return false;
            auto* k = static_cast<QKeyEvent*>(e);
            if (e->type() == QEvent::KeyRelease) {
                FormKeyUp(k);
                return false;
            }
            if (FormKeyDown(k)) return true;
            if (auto* edit = qobject_cast<QLineEdit*>(objet); edit && Tag(edit) >= 0)
                return eEditKeyPress(edit, k);
            return false;
        }
        case QEvent::FocusOut: {
            // leaving the field, not the window (nor for the error box of the field itself)
            auto* edit = qobject_cast<QLineEdit*>(objet);
            const Qt::FocusReason raison = static_cast<QFocusEvent*>(e)->reason();
            if (edit && Tag(edit) >= 0 && raison != Qt::ActiveWindowFocusReason &&
                raison != Qt::PopupFocusReason)
                eEditExit(edit);
            return false;
        }
        case QEvent::Wheel:
            // every wheel turn of the window goes through the window's rules
            FormMouseWheel(static_cast<QWheelEvent*>(e));
            return true;
        default:
            return false;
    }
}
