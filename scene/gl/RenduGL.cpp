#include "scene/gl/RenduGL.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cmath>

#include "scene/Scene.h"

namespace {
void Couleur(GLenum quoi, const TCouleur& c) {
    const GLfloat v[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, quoi, v);
}
}  // namespace

void TRenduGL::PrepareProgrammes(const TVue& vue) {
    QOpenGLContext* c = QOpenGLContext::currentContext();
    const TProgrammesGL::TVariante variante{nbLumieres_, vue.Salle.LampeSeule};
    if (c == contexte_ && programmes_.Variante() == variante) return;
    // a new context (the old one's programs went with it), or lights added or removed, or the
    // room's lamps switched: that is compiled into the programs
    if (c == contexte_) programmes_.Libere(*c->functions());
    contexte_ = c;
    programmes_.Oublie();
    if (!c || qEnvironmentVariableIsSet("VELMORA_SANS_SHADERS")) return;
    if (!programmes_.Construit(*c->functions(), variante)) programmes_.Abandonne(variante);
}

void TRenduGL::Dessine(const TVue& vue, int largeurPixels, int hauteurPixels) {
    glViewport(0, 0, largeurPixels, hauteurPixels);
    glClearColor(vue.Fond.r, vue.Fond.g, vue.Fond.b, vue.Fond.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!vue.Camera()) return;

    // fixed state of every frame
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_MULTISAMPLE);
    glEnableClientState(GL_VERTEX_ARRAY);

    // lines keep their look whatever the window's size: widths are for a 600-pixel-high view
    echelleLignes_ = std::max(1.0f, float(hauteurPixels) / 600.0f);
    // multisampling smooths the lines already, at no further cost; without it they are blended
    GLint echantillons = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &echantillons);
    lignesLissees_ = echantillons == 0;
    if (lignesLissees_) {
        glEnable(GL_LINE_SMOOTH);
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    } else {
        glDisable(GL_LINE_SMOOTH);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(vue.MatriceProjection().m.data());
    glMatrixMode(GL_MODELVIEW);
    const TMatrice4f matriceVue = vue.MatriceVue();
    glLoadMatrixf(matriceVue.m.data());

    TNoeud& racine = vue.Scene().Racine();
    PoseEclairageAppoint(vue);
    PoseLumieres(racine);
    ++image_;
    PrepareProgrammes(vue);
    if (programmes_.Valides()) PrepareUniformes(vue, matriceVue, largeurPixels, hauteurPixels);
    programmeCourant_ = 0;
    const TVecteur3f oeil = vue.PositionCamera();
    oeilAuDessus_ = std::fabs(oeil.x) < vue.Salle.DemiLargeur && std::fabs(oeil.y) < vue.Salle.DemiLongueur &&
                    oeil.z > vue.Salle.Dessus;
    DessineNoeud(racine);
    if (programmeCourant_) QOpenGLContext::currentContext()->functions()->glUseProgram(0);
    programmeCourant_ = 0;
    // the room behind, where nothing was drawn; darker when only the table's lamp lights
    TCouleur fond = vue.Fond;
    if (vue.Salle.LampeSeule) fond = {fond.r * 0.4f, fond.g * 0.4f, fond.b * 0.4f, fond.a};
    if (FondVisible(vue)) fond_.Dessine(fond);
    glDisableClientState(GL_VERTEX_ARRAY);
    // shapes of nodes not drawn this frame (freed or hidden) are built again when needed
    std::erase_if(cache_, [this](const auto& e) { return e.second.image != image_; });
}

void TRenduGL::PrepareUniformes(const TVue& vue, const TMatrice4f& matriceVue, int largeurPixels,
                                int hauteurPixels) {
    TUniformesImage u;
    u.VueVersScene = matriceVue.InverseRigide();
    u.SalleX = vue.Salle.DemiLargeur;
    u.SalleY = vue.Salle.DemiLongueur;
    u.AmbianteLampes = ambianteLampes_;
    u.NbLumieres = nbLumieres_;
    u.Lampes = lampes_;
    u.DiffuseLampes = diffuseLampes_;
    u.SpeculaireLampes = speculaireLampes_;
    u.AppointDirection = appointDirection_;
    u.AppointCouleur = {0.5f, 0.5f, 0.5f};
    u.Oeil = vue.PositionCamera();
    u.LargeurPixels = float(largeurPixels);
    u.HauteurPixels = float(hauteurPixels);
    // the floor fades into the background's horizon
    u.Horizon = {vue.Fond.r * 0.75f, vue.Fond.g * 0.75f, vue.Fond.b * 0.75f, 1};
    if (vue.Salle.LampeSeule) u.Horizon = {u.Horizon.r * 0.4f, u.Horizon.g * 0.4f, u.Horizon.b * 0.4f, 1};
    programmes_.PrepareImage(*QOpenGLContext::currentContext()->functions(), u);
}

bool TRenduGL::FondVisible(const TVue& vue) {
    // seen through every corner of the picture, the floor fills it all
    if (!(vue.Salle.EtendueSol > 0)) return true;
    const TVecteur3f oeil = vue.PositionCamera();
    if (oeil.z <= vue.Salle.Sol) return true;
    for (const float x : {0.0f, float(vue.Largeur())})
        for (const float y : {0.0f, float(vue.Hauteur())}) {
            const TVecteur3f d = vue.VecteurEcran(x, y);
            if (d.z > -1e-6f) return true;
            const TVecteur3f p = oeil + d * ((vue.Salle.Sol - oeil.z) / d.z);
            if (std::fabs(p.x) > vue.Salle.EtendueSol || std::fabs(p.y) > vue.Salle.EtendueSol) return true;
        }
    return false;
}

void TRenduGL::PoseEclairageAppoint(const TVue& vue) {
    // a level light from the viewer's side, the last one OpenGL has: the upright faces the lamps
    // above do not reach (the rails' sides) keep their colour instead of turning black, while
    // the cloth and the rails' tops, lit from above, stay as the lamps make them
    TVecteur3f d{1, 0, 0};
    if (const TCamera* cam = vue.Camera()) {
        const TVecteur3f c = cam->PositionAbsolue();
        const TVecteur3f cible = cam->Cible() ? cam->Cible()->PositionAbsolue() : TVecteur3f{};
        const TVecteur3f h{c.x - cible.x, c.y - cible.y, 0};
        if (Norme(h) > 1e-3f) d = h * (1 / Norme(h));
    }
    appointDirection_ = {d.x, d.y, 0};
    const GLfloat direction[4] = {d.x, d.y, 0, 0};
    const GLfloat faible[4] = {0.5f, 0.5f, 0.5f, 1};
    const GLfloat rien[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT7, GL_POSITION, direction);
    glLightfv(GL_LIGHT7, GL_AMBIENT, rien);
    glLightfv(GL_LIGHT7, GL_DIFFUSE, faible);
    glLightfv(GL_LIGHT7, GL_SPECULAR, rien);
    glLightf(GL_LIGHT7, GL_CONSTANT_ATTENUATION, 1);
    glLightf(GL_LIGHT7, GL_LINEAR_ATTENUATION, 0);
    glLightf(GL_LIGHT7, GL_QUADRATIC_ATTENUATION, 0);
    glEnable(GL_LIGHT7);
}

void TRenduGL::PoseLumieres(const TNoeud& racine) {
    for (int i = 0; i < nbLumieres_; ++i) glDisable(GLenum(GL_LIGHT0 + i));
    nbLumieres_ = 0;
    ambianteLampes_ = {0, 0, 0, 1};
    // walk the tree for visible lights, placed in the scene's frame (the view matrix is loaded)
    pile_.clear();
    pile_.push_back(&racine);
    while (!pile_.empty()) {
        const TNoeud* n = pile_.back();
        pile_.pop_back();
        if (!n->Visible()) continue;
        if (n->Genre() == TGenreNoeud::Lumiere && nbLumieres_ < 7) {
            const auto& l = static_cast<const TLumiere&>(*n);
            const GLenum id = GLenum(GL_LIGHT0 + nbLumieres_++);
            const TVecteur3f p = l.PositionAbsolue();
            const GLfloat pos[4] = {p.x, p.y, p.z, 1};
            const GLfloat amb[4] = {l.Ambiante.r, l.Ambiante.g, l.Ambiante.b, l.Ambiante.a};
            const GLfloat dif[4] = {l.Diffuse.r, l.Diffuse.g, l.Diffuse.b, l.Diffuse.a};
            const GLfloat spe[4] = {l.Speculaire.r, l.Speculaire.g, l.Speculaire.b, l.Speculaire.a};
            glLightfv(id, GL_POSITION, pos);
            glLightfv(id, GL_AMBIENT, amb);
            glLightfv(id, GL_DIFFUSE, dif);
            glLightfv(id, GL_SPECULAR, spe);
            glLightf(id, GL_CONSTANT_ATTENUATION, l.AttenuationConstante());
            glLightf(id, GL_LINEAR_ATTENUATION, 0);
            glLightf(id, GL_QUADRATIC_ATTENUATION, 0);
            glEnable(id);
            // the same light for the programs, in the scene's frame, over its attenuation
            const float k = 1 / std::max(l.AttenuationConstante(), 1e-4f);
            ambianteLampes_ = {ambianteLampes_.r + k * l.Ambiante.r, ambianteLampes_.g + k * l.Ambiante.g,
                               ambianteLampes_.b + k * l.Ambiante.b, 1};
            const auto i = size_t(nbLumieres_ - 1);
            lampes_[i] = p;
            diffuseLampes_[i] = {k * l.Diffuse.r, k * l.Diffuse.g, k * l.Diffuse.b};
            speculaireLampes_[i] = {k * l.Speculaire.r, k * l.Speculaire.g, k * l.Speculaire.b};
        }
        for (const auto& e : n->Enfants()) pile_.push_back(e.get());
    }
}

const TMaillage& TRenduGL::Maillage(const TNoeud& n) {
    TEntree& e = cache_[&n];
    e.image = image_;
    if (e.identifiant != n.Identifiant() || e.revision != n.RevisionForme() || e.maillage.Sommets.empty()) {
        e.identifiant = n.Identifiant();
        e.revision = n.RevisionForme();
        e.maillage = MaillageDe(n);
    }
    return e.maillage;
}

void TRenduGL::DessineNoeud(const TNoeud& n) {
    // software OpenGL shades what is hidden too: nothing is drawn that cannot be seen
    if (!n.Visible() || (oeilAuDessus_ && n.SousObjet())) return;
    glPushMatrix();
    glMultMatrixf(n.MatriceLocale().m.data());
    switch (n.Genre()) {
        case TGenreNoeud::Lignes:
            DessineLignes(static_cast<const TLignes&>(n));
            break;
        case TGenreNoeud::Plan:
        case TGenreNoeud::Disque:
        case TGenreNoeud::Cylindre:
        case TGenreNoeud::Boite:
        case TGenreNoeud::Sphere:
            DessineSolide(n);
            break;
        default:
            break;
    }
    for (const auto& e : n.Enfants()) DessineNoeud(*e);
    glPopMatrix();
}

void TRenduGL::DessineLignes(const TLignes& l) {
    if (l.Noeuds().size() < 2) return;
    if (programmeCourant_) {
        QOpenGLContext::currentContext()->functions()->glUseProgram(0);
        programmeCourant_ = 0;
    }
    glDisable(GL_LIGHTING);
    glColor4f(l.Couleur().r, l.Couleur().g, l.Couleur().b, l.Couleur().a);
    if (lignesLissees_) glEnable(GL_BLEND);
    glLineWidth(l.LargeurLigne() * echelleLignes_);
    const bool pointille = l.Motif() != 0xFFFF;
    if (pointille) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(l.FacteurMotif(), l.Motif());
    }
    glVertexPointer(3, GL_FLOAT, sizeof(TVecteur3f), l.Noeuds().data());
    glDrawArrays(l.Segments() ? GL_LINES : GL_LINE_STRIP, 0, GLsizei(l.Noeuds().size()));
    if (pointille) glDisable(GL_LINE_STIPPLE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

void TRenduGL::DessineSolide(const TNoeud& n) {
    const TMaillage& m = Maillage(n);
    const TMateriau& mat = n.Materiau();
    Couleur(GL_AMBIENT, mat.Ambiante);
    Couleur(GL_DIFFUSE, mat.Diffuse);
    Couleur(GL_EMISSION, mat.Emission);
    Couleur(GL_SPECULAR, mat.Speculaire);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50);
    // the finish's program; Auto polishes the spheres and leaves the rest to the fixed pipeline
    TFini fini = n.Fini();
    if (fini == TFini::Auto) fini = n.Genre() == TGenreNoeud::Sphere ? TFini::Poli : TFini::Auto;
    const unsigned programme = programmes_.Programme(fini);
    if (programme != programmeCourant_) {
        QOpenGLContext::currentContext()->functions()->glUseProgram(programme);
        programmeCourant_ = programme;
    }
    // closed solids: the faces turned away are not drawn
    if (m.Ferme)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    // a see-through shape (a soft shadow) blends over what is behind it and hides nothing
    const bool translucide = mat.Diffuse.a < 1;
    if (translucide) {
        glEnable(GL_BLEND);
        glDepthMask(GL_FALSE);
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(TVecteur3f), m.Sommets.data());
    glNormalPointer(GL_FLOAT, sizeof(TVecteur3f), m.Normales.data());
    glDrawElements(GL_TRIANGLES, GLsizei(m.Indices.size()), GL_UNSIGNED_INT, m.Indices.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    if (translucide) {
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
}
