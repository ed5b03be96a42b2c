// velmora-vue3d: the 3D table on its own, before the main window exists. The table view (mobile
// or ceiling camera) and the cue view; balls picked and dragged with the left button, the mobile
// camera panned (left drag on the cloth), orbited (right drag) and zoomed (wheel); A held with a
// left drag aims the cue; F2 switches cameras, Space plays and animates the shot, Home puts the
// balls back. With --capture FILE.png it draws one picture offscreen and exits.
#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <cstdio>

#include "scene/Cadenceur.h"
#include "scene/gl/RenduImage.h"
#include "scene/gl/VueGL.h"
#include "view3d/GLBillardVelmora.h"

namespace {

TEtatTouches Etat(const QMouseEvent* e) {
    TEtatTouches t = 0;
    if (e->buttons() & Qt::LeftButton) t |= ssGauche;
    if (e->buttons() & Qt::RightButton) t |= ssDroit;
    if (e->buttons() & Qt::MiddleButton) t |= ssMilieu;
    if (e->modifiers() & Qt::ShiftModifier) t |= ssMaj;
    if (e->modifiers() & Qt::ControlModifier) t |= ssCtrl;
    if (e->modifiers() & Qt::AltModifier) t |= ssAlt;
    return t;
}

class TVisionneuse : public QWidget {
  public:
    TVisionneuse()
        : vueTable_(scene_),
          vueQueue_(scene_),
          billard_(scene_, vueTable_, vueQueue_),
          table_(new TVueGL(vueTable_)),
          queue_(new TVueGL(vueQueue_)),
          infos_(new QLabel) {
        setWindowTitle("Velmora 3D - vue de la table");
        auto* colonne = new QVBoxLayout;
        queue_->setFixedSize(320, 240);
        colonne->addWidget(queue_);
        auto* aide = new QLabel(
            "Table : clic gauche sur une bille pour la déplacer,\n"
            "glisser gauche = déplacer la vue, droit = tourner,\n"
            "molette = zoom, [A]+glisser = viser, F2 = caméra,\n"
            "[ESPACE] = jouer, [HOME] = position de départ.\n"
            "Queue : clic sur la bille = point d'impact.");
        colonne->addWidget(aide);
        colonne->addWidget(infos_);
        colonne->addStretch();
        auto* l = new QHBoxLayout(this);
        l->addWidget(table_, 1);
        l->addLayout(colonne);
        resize(1400, 820);
        setFocusPolicy(Qt::StrongFocus);

        billard_.PositionDepart(true);
        for (TGLBilles* b : {billard_.Blanche, billard_.Jaune, billard_.Rouge}) b->SetTrajetVisible(true);
        billard_.OnBilleDeplacee = [this](TGLBilles&) { MajInfos(); };
        billard_.Queue->OnVisee = [this](TGLQueue&) { MajInfos(); };
        billard_.Queue->OnEffetHauteur = [this](TGLQueue&) { MajInfos(); };
        cadenceur_.OnProgression = [this](double, double maintenant) { Progression(maintenant); };
        table_->BrancheCadenceur(cadenceur_);
        MajInfos();

        connect(table_, &TVueGL::SourisEnfoncee, this, [this](QMouseEvent* e) {
            enfoncee_ = true;
            const int x = int(e->position().x()), y = int(e->position().y());
            if (!billard_.PrendBille(x, y)) billard_.SourisCamera(x, y, 0);
        });
        connect(table_, &TVueGL::SourisBouge, this, [this](QMouseEvent* e) {
            if (!enfoncee_) return;
            const int x = int(e->position().x()), y = int(e->position().y());
            const bool gauche = e->buttons() & Qt::LeftButton;
            if (billard_.BilleChoisie) {
                if (gauche) {
                    billard_.GlisseBille(x, y);
                    if (!billard_.BilleJoueur->TrajetVide()) EffaceTrajets();
                }
            } else if (toucheA_ && gauche) {
                billard_.ViseSouris(x, y);
            } else {
                billard_.SourisCamera(x, y, Etat(e));
            }
        });
        connect(table_, &TVueGL::SourisRelachee, this, [this](QMouseEvent*) { enfoncee_ = false; });
        connect(table_, &TVueGL::Molette, this,
                [this](QWheelEvent* e) { billard_.Zoom(-e->angleDelta().y()); });
        connect(queue_, &TVueGL::SourisEnfoncee, this, [this](QMouseEvent* e) {
            billard_.Queue->PointeSouris(int(e->position().x()), int(e->position().y()));
        });
        connect(queue_, &TVueGL::SourisBouge, this, [this](QMouseEvent* e) {
            if (e->buttons() & Qt::LeftButton)
                billard_.Queue->PointeSouris(int(e->position().x()), int(e->position().y()));
        });
        connect(queue_, &TVueGL::Molette, this, [this](QWheelEvent* e) {
            billard_.Queue->Zoom(-int(std::lround(e->angleDelta().y() / 2.0)));
        });
    }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
            case Qt::Key_A:
                toucheA_ = true;
                break;
            case Qt::Key_F2:
                billard_.ActiveCamMobile(!billard_.CamMobileActive);
                break;
            case Qt::Key_Space:
                Joue();
                break;
            case Qt::Key_Escape:
                anime_ = false;
                break;
            case Qt::Key_Home:
                billard_.PositionDepart(true);
                EffaceTrajets();
                break;
            default:
                QWidget::keyPressEvent(e);
                return;
        }
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_A && !e->isAutoRepeat()) toucheA_ = false;
    }

  private:
    void EffaceTrajets() {
        for (TGLBilles* b : {billard_.Blanche, billard_.Jaune, billard_.Rouge}) b->EffaceTrajet();
    }

    void Joue() {
        if (anime_) return;
        billard_.JoueCoup();
        // animate the photos on the frame clock, one at most per frame
        billard_.Queue->Detache();
        cadenceur_.Tag = 0;
        anime_ = true;
        debut_ = cadenceur_.Temps();
        cadenceur_.SetActif(true);
    }

    void Progression(double maintenant) {
        const TBillardVelmora& s = *billard_.Simu;
        int i = cadenceur_.Tag;
        while (s.TypesChocs[size_t(i)] == tcBilleTapis && i < s.NbPhotos) ++i;
        if (i > s.NbPhotos) i = s.NbPhotos;
        if (s.Temps[size_t(i)] <= maintenant - debut_) {
            billard_.AffichePhoto(i, true);
            cadenceur_.Tag = i + 1;
        }
        if (i == s.NbPhotos || !anime_) {
            cadenceur_.SetActif(false);
            anime_ = false;
            billard_.AffichePhoto(i, false);
            billard_.Queue->Rattache();
        }
    }

    void MajInfos() {
        const auto& q = *billard_.Queue;
        QString t;
        for (TGLBilles* b : {billard_.Blanche, billard_.Jaune, billard_.Rouge})
            t += QString("%1 : %2 ; %3\n")
                     .arg(QString::fromStdString(b->Nom))
                     .arg(double(b->Coord(0)), 0, 'f', 2)
                     .arg(double(b->Coord(1)), 0, 'f', 2);
        t += QString("visée %1°, effet %2, hauteur %3\nquantité visée %4")
                 .arg(double(q.Visee()), 0, 'f', 2)
                 .arg(double(q.Effet()), 0, 'f', 2)
                 .arg(double(q.Hauteur()), 0, 'f', 2)
                 .arg(billard_.QuantiteVisee(), 0, 'f', 3);
        infos_->setText(t);
    }

    TScene scene_;
    TVue vueTable_;
    TVue vueQueue_;
    TGLBillardVelmora billard_;
    TCadenceur cadenceur_;
    TVueGL* table_;
    TVueGL* queue_;
    QLabel* infos_;
    bool enfoncee_ = false;
    bool toucheA_ = false;
    bool anime_ = false;
    double debut_ = 0;
};

// one picture offscreen: the opening position from the chosen camera
int Capture(const QString& fichier, const QString& camera, int w, int h, const QString& position) {
    TScene scene;
    TVue vueTable(scene), vueQueue(scene);
    TGLBillardVelmora billard(scene, vueTable, vueQueue);
    billard.PositionDepart(true);
    if (!position.isEmpty()) {
        std::string err;
        if (!billard.ChargeFichier(position.toStdString(), &err)) {
            std::fprintf(stderr, "velmora-vue3d: %s\n", err.c_str());
            return 1;
        }
    }
    if (camera == "trajets") {
        for (TGLBilles* b : {billard.Blanche, billard.Jaune, billard.Rouge}) b->SetTrajetVisible(true);
        billard.JoueCoup();
    }
    if (camera != "mobile" && camera != "queue") billard.ActiveCamMobile(false);
    TRenduImage rendu;
    if (!rendu.Valide()) {
        std::fprintf(stderr, "velmora-vue3d: %s\n", qPrintable(rendu.Erreur));
        return 1;
    }
    TVue& vue = camera == "queue" ? vueQueue : vueTable;
    if (!rendu.Dessine(vue, w, h) || !rendu.Image().save(fichier)) {
        std::fprintf(stderr, "velmora-vue3d: l'image %s n'a pu être écrite\n", qPrintable(fichier));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TVueGL::Format());
    QApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription("Vue 3D de la table de Velmora 3D");
    p.addHelpOption();
    p.addOption({"capture", "dessine une image PNG hors écran et quitte", "fichier"});
    p.addOption(
        {"camera", "plafond, mobile, queue ou trajets (plafond avec le coup joué)", "camera", "plafond"});
    p.addOption({"taille", "largeur x hauteur de l'image", "LxH", "1280x800"});
    p.addOption({"position", "fichier de position .vel à charger", "fichier"});
    p.process(app);
    if (p.isSet("capture")) {
        const QStringList t = p.value("taille").split('x');
        const int w = t.size() == 2 ? t[0].toInt() : 0, h = t.size() == 2 ? t[1].toInt() : 0;
        if (w <= 0 || h <= 0 || w > 8192 || h > 8192) {
            std::fprintf(stderr, "velmora-vue3d: taille invalide \"%s\"\n", qPrintable(p.value("taille")));
            return 2;
        }
        return Capture(p.value("capture"), p.value("camera"), w, h, p.value("position"));
    }
    TVisionneuse v;
    v.show();
    return app.exec();
}
