// The status bar (three ball panels and the message panel) and the display panel of the view.
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QToolButton>

#include "app/MainVel3D.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/IconesBilles.h"
#include "widgets/IconesVel3D.h"
#include "widgets/PanneauIcone.h"

void TMainVel3DFrm::CreeInfos() {
    // status bar: the white, yellow and red ball, then hints and messages
    QStatusBar* barre = statusBar();
    barre->setObjectName(QStringLiteral("Infos"));
    const qreal ratio = devicePixelRatioF();
    for (int i = 0; i < 3; ++i) {
        InfosBilles[i] = new TPanneauIcone(IconeBille(i, 16, ratio), QString(), barre);
        InfosBilles[i]->setObjectName(QStringLiteral("InfosBille%1").arg(i));
        // 130 pixels, or what a position needs in a larger font
        InfosBilles[i]->setFixedWidth(
            std::max(130, fontMetrics().horizontalAdvance(QStringLiteral("(-000,00 -000,00 0,00)")) + 26));
        barre->addWidget(InfosBilles[i]);
    }
    InfosMessage = new QLabel(barre);
    InfosMessage->setObjectName(QStringLiteral("InfosMessage"));
    InfosMessage->setMinimumWidth(50);
    barre->addWidget(InfosMessage, 1);

    // the display panel in the upper right corner of the view
    DisplayInfos = new QFrame(centralWidget());
    DisplayInfos->setObjectName(QStringLiteral("DisplayInfos"));
    DisplayInfos->setFrameStyle(QFrame::Panel | QFrame::Raised);
    DisplayInfos->setLineWidth(2);
    DisplayInfos->setAutoFillBackground(true);
    DisplayInfos->setFixedSize(168, 118);

    FeuBtn = new QToolButton(DisplayInfos);
    FeuBtn->setObjectName(QStringLiteral("FeuBtn"));
    FeuBtn->setIcon(QIcon(ImageFeu(32, ratio)));
    FeuBtn->setIconSize(QSize(32, 32));
    FeuBtn->setGeometry(6, 6, 40, 40);
    FeuBtn->setFocusPolicy(Qt::NoFocus);
    PoseBulle(FeuBtn, QStringLiteral("PAN !|joue le coup, raccourci clavier : [ESPACE]"));
    connect(FeuBtn, &QToolButton::clicked, this, [this] { FeuDuJoueur(); });

    TirAutoChk = new TCaseLed(QStringLiteral("tir auto"), DisplayInfos);
    TirAutoChk->setObjectName(QStringLiteral("TirAutoChk"));
    TirAutoChk->setGeometry(52, 14, 72, 24);
    TirAutoChk->setFocusPolicy(Qt::NoFocus);
    TirAutoChk->setChecked(false);
    PoseBulle(TirAutoChk, QStringLiteral("tir automatique/manuel|click pour alterner tir auto (chaque "
                                         "changement queue)  ou manuel"));
    connect(TirAutoChk, &TCaseLed::toggled, this, [this] { TirAutoChkChange(); });

    // the results, one per line, each thickness followed by its ball fraction
    QFont petite = font();
    petite.setPointSizeF(std::max(6.0, petite.pointSizeF() * 0.85));
    QLabel** labels[] = {&QviseeLbl, &QviseeMotsLbl, &QToucheeLbl, &QToucheeMotsLbl, &IsPointLbl};
    const char* noms[] = {"QviseeLbl", "QviseeMotsLbl", "QToucheeLbl", "QToucheeMotsLbl", "IsPointLbl"};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(DisplayInfos);
        l->setObjectName(QString::fromLatin1(noms[i]));
        l->setFont(petite);
        l->setGeometry(6, 48 + 13 * i, 156, 13);
        *labels[i] = l;
    }
    for (QLabel* l : {QviseeMotsLbl, QToucheeMotsLbl}) l->setIndent(8);
    IsPointLbl->setStyleSheet(QStringLiteral("font-weight: bold"));
    PlaceDisplayInfos();
}

QString TMainVel3DFrm::TextePanneau(int i) const {
    if (i >= 0 && i < 3) return InfosBilles[i]->texte();
    if (i == 3) return InfosMessage->text();
    return {};
}

void TMainVel3DFrm::SetTextePanneau(int i, const QString& texte) {
    if (i >= 0 && i < 3)
        InfosBilles[i]->setTexte(texte);
    else if (i == 3)
        InfosMessage->setText(texte);
}

void TMainVel3DFrm::BilleDeplacee(TGLBilles* bille) {
    if (!bille) return;
    // thousands separators, two decimals, in the user's locale
    const QLocale l;
    const TVecteur3f p = bille->LitPosition();
    SetTextePanneau(bille->Indice,
                    QStringLiteral("(%1 %2 %3)")
                        .arg(l.toString(p.x, 'f', 2), l.toString(p.y, 'f', 2), l.toString(p.z, 'f', 2)));
    MajQteVisee();
    MajResultats();
}
