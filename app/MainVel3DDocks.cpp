// The tool windows in docks around the table: how a tool window joins the main window, their
// default layout ("Affichage > Disposition par défaut"), the layout kept in the settings file, and
// the table's view that the docks leave, to which the cameras fit the table.
#include <QAction>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "scene/gl/VueGL.h"
#include "tools/DockOutil.h"
#include "view3d/GLBillardVelmora.h"

namespace {
constexpr const char* SectionDisposition = "Disposition";
// the layout's format: a kept layout of another version is not applied
constexpr int VersionDisposition = 1;
}  // namespace

TDockOutil* TMainVel3DFrm::AjouteOutil(TFenetreOutil* outil, const char* nom, TPlaceOutil place,
                                       QAction* item) {
    TDockOutil* dock = DockeOutil(*outil, *this, QString::fromLatin1(nom) + QStringLiteral("Dock"));
    outilsDockes_.push_back({outil, dock, place, item});
    // where a kept layout put it (a window made after the layout was restored), else its own place
    const bool restauree = restoreDockWidget(dock);
    if (!restauree) PlaceParDefaut(outilsDockes_.back());
    if (item) {
        connect(item, &QAction::triggered, this, [this, outil, item] { BasculeOutil(outil, item); });
        connect(outil, &TFenetreOutil::Fermee, this, [item] { item->setChecked(false); });
        // the item tells whether the window is open, however it was opened or closed
        connect(dock, &TDockOutil::OuvertureChangee, this,
                [item, outil] { item->setChecked(outil->Ouverte()); });
        if (restauree) item->setChecked(outil->Ouverte());
    }
    return dock;
}

void TMainVel3DFrm::BasculeOutil(TFenetreOutil* outil, QAction* item) {
    if (!outil) return;
    if (item->isChecked()) {
        outil->show();
        RangeColonneDroite();
        RangeBas(outil);
    }
    // the window may refuse to close (a computation runs); closed, its dock goes too
    else if (outil->close())
        outil->hide();
    item->setChecked(outil->Ouverte());
}

void TMainVel3DFrm::PlaceParDefaut(const TOutilDocke& o) {
    const auto enPlace = [this](const TOutilDocke& x) {
        return !x.dock->isFloating() && dockWidgetArea(x.dock) != Qt::NoDockWidgetArea;
    };
    // the first window of the same group already in place: a tab beside it
    for (const TOutilDocke& x : outilsDockes_) {
        if (&x == &o) break;
        if (x.place == o.place && enPlace(x)) {
            tabifyDockWidget(x.dock, o.dock);
            return;
        }
    }
    switch (o.place) {
        case TPlaceOutil::Droite:
            addDockWidget(Qt::RightDockWidgetArea, o.dock, Qt::Vertical);
            return;
        case TPlaceOutil::SousQueue:
            for (const TOutilDocke& x : outilsDockes_)
                if (x.place == TPlaceOutil::Droite && enPlace(x) &&
                    dockWidgetArea(x.dock) == Qt::RightDockWidgetArea) {
                    splitDockWidget(x.dock, o.dock, Qt::Vertical);
                    return;
                }
            addDockWidget(Qt::RightDockWidgetArea, o.dock, Qt::Vertical);
            return;
        case TPlaceOutil::Bas:
            addDockWidget(Qt::BottomDockWidgetArea, o.dock, Qt::Horizontal);
            return;
    }
}

void TMainVel3DFrm::DispositionParDefaut() {
    // the open windows stay open, the cue window opens; all go back to their places
    std::vector<bool> ouvertes;
    for (const TOutilDocke& o : outilsDockes_)
        ouvertes.push_back(o.outil->Ouverte() || o.place == TPlaceOutil::Droite);
    for (const TOutilDocke& o : outilsDockes_) {
        o.dock->setFloating(false);
        removeDockWidget(o.dock);
    }
    for (size_t i = 0; i < outilsDockes_.size(); ++i) {
        PlaceParDefaut(outilsDockes_[i]);
        outilsDockes_[i].outil->setVisible(ouvertes[i]);
    }
    // in each tab group, the first open window in front
    for (const TPlaceOutil place : {TPlaceOutil::SousQueue, TPlaceOutil::Bas})
        for (size_t i = 0; i < outilsDockes_.size(); ++i)
            if (outilsDockes_[i].place == place && ouvertes[i]) {
                outilsDockes_[i].dock->raise();
                break;
            }
    TaillesParDefaut();
    MajItemsOutils();
}

void TMainVel3DFrm::TaillesParDefaut() {
    // the right column as wide as the cue window wants, within a third of the window; the bottom
    // row low enough for the table to keep most of the height, yet high enough for the window in
    // front when a third of the height allows it
    QList<QDockWidget*> droite;
    const TOutilDocke* devant = nullptr;  // the first open window under the table, in front
    int largeur = 300;
    for (const TOutilDocke& o : outilsDockes_) {
        if (o.place == TPlaceOutil::Droite) {
            droite << o.dock;
            const int barre = o.dock->Defilement()->verticalScrollBar()->sizeHint().width();
            largeur = std::max(largeur, o.outil->sizeHint().width() + barre);
        }
        if (o.place == TPlaceOutil::Bas && !o.dock->isHidden() && !devant) devant = &o;
    }
    largeur = std::min(largeur, std::max(300, width() / 3));
    if (!droite.isEmpty()) resizeDocks(droite, {largeur}, Qt::Horizontal);
    if (devant)
        resizeDocks({devant->dock}, {std::max(std::clamp(height() / 4, 180, 300), HauteurVoulueBas(*devant))},
                    Qt::Vertical);
    RangeColonneDroite();
}

int TMainVel3DFrm::HauteurVoulueBas(const TOutilDocke& o) const {
    // the window whole under the table when a third of the main window allows it
    const int titre = o.dock->sizeHint().height() - o.dock->Defilement()->sizeHint().height();
    return std::min(o.outil->minimumSizeHint().height() + std::max(titre, 0) + 4, height() / 3);
}

void TMainVel3DFrm::RangeBas(const TFenetreOutil* outil) {
    for (const TOutilDocke& o : outilsDockes_)
        if (o.outil == outil && o.place == TPlaceOutil::Bas && !o.dock->isFloating() &&
            dockWidgetArea(o.dock) == Qt::BottomDockWidgetArea && o.dock->height() < HauteurVoulueBas(o))
            resizeDocks({o.dock}, {HauteurVoulueBas(o)}, Qt::Vertical);
}

void TMainVel3DFrm::RangeColonneDroite() {
    // the cue window as high as it needs, the windows under it the rest of the column
    const TOutilDocke* queue = nullptr;
    QDockWidget* dessous = nullptr;
    for (const TOutilDocke& o : outilsDockes_) {
        if (o.dock->isHidden() || o.dock->isFloating() || dockWidgetArea(o.dock) != Qt::RightDockWidgetArea)
            continue;
        if (o.place == TPlaceOutil::Droite && !queue) queue = &o;
        if (o.place == TPlaceOutil::SousQueue && !dessous) dessous = o.dock;
    }
    if (!queue || !dessous) return;
    // the window whole, with the dock's title bar
    const QSize fenetre = queue->outil->sizeHint().expandedTo(queue->outil->minimumSizeHint());
    const int titre = queue->dock->sizeHint().height() - queue->dock->Defilement()->sizeHint().height();
    const int voulue = fenetre.height() + std::max(titre, 0) + 4;
    const int colonne = height() - menuBar()->height() - statusBar()->height();
    if (colonne > 2 * voulue) resizeDocks({queue->dock, dessous}, {voulue, colonne - voulue}, Qt::Vertical);
}

void TMainVel3DFrm::MajItemsOutils() {
    for (const TOutilDocke& o : outilsDockes_)
        if (o.item) o.item->setChecked(o.outil->Ouverte());
}

void TMainVel3DFrm::RestaureDisposition() {
    const std::string etat = IniCtrl.LitTexte(SectionDisposition, "Etat", "");
    bool restauree = false;
    if (!etat.empty()) {
        const auto decode = QByteArray::fromBase64Encoding(QByteArray::fromStdString(etat),
                                                           QByteArray::AbortOnBase64DecodingErrors);
        restauree = decode && restoreState(*decode, VersionDisposition);
        if (!restauree)
            AfficheMessage(QStringLiteral(
                "disposition des fenêtres illisible dans les réglages : disposition par défaut"));
    }
    if (!restauree) DispositionParDefaut();
    MajItemsOutils();
}

bool TMainVel3DFrm::RestaureGeometrie() {
    const std::string geometrie = IniCtrl.LitTexte(SectionDisposition, "Geometrie", "");
    if (geometrie.empty()) return false;
    const auto decode = QByteArray::fromBase64Encoding(QByteArray::fromStdString(geometrie),
                                                       QByteArray::AbortOnBase64DecodingErrors);
    return decode && restoreGeometry(*decode);
}

void TMainVel3DFrm::RetientDisposition() {
    dispositionLue_ = saveState(VersionDisposition);
    geometrieLue_ = saveGeometry();
}

void TMainVel3DFrm::EcritDisposition(TFichierIni& ini) {
    // only what this instance changed: another one may have left its own since
    if (!dejaMontree_) return;
    const QByteArray etat = saveState(VersionDisposition);
    if (etat != dispositionLue_) ini.EcritTexte(SectionDisposition, "Etat", etat.toBase64().toStdString());
    const QByteArray geometrie = saveGeometry();
    if (geometrie != geometrieLue_)
        ini.EcritTexte(SectionDisposition, "Geometrie", geometrie.toBase64().toStdString());
}

QRect TMainVel3DFrm::RectangleVue() const { return QRect(Scn->mapTo(this, QPoint(0, 0)), Scn->size()); }

void TMainVel3DFrm::MajCadrage() {
    if (!Scn) return;
    // the picture's size as the view draws it, the panel's corner kept clear
    VueTable.SetTaille(Scn->width(), Scn->height());
    if (Billard && DisplayInfos)
        Billard->Cadre(Scn->width(), Scn->height(), {DisplayInfos->width() + 5, DisplayInfos->height() + 5});
}
