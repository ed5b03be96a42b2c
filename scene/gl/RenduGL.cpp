#include "scene/gl/RenduGL.h"

#include <GL/gl.h>

#include "scene/Scene.h"

namespace {
void Couleur(GLenum quoi, const TCouleur& c) {
    const GLfloat v[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, quoi, v);
}
}  // namespace

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

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(vue.MatriceProjection().m.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(vue.MatriceVue().m.data());

    TNoeud& racine = vue.Scene().Racine();
    PoseLumieres(racine);
    ++image_;
    DessineNoeud(racine);
    glDisableClientState(GL_VERTEX_ARRAY);
    // shapes of nodes not drawn this frame (freed or hidden) are built again when needed
    std::erase_if(cache_, [this](const auto& e) { return e.second.image != image_; });
}

void TRenduGL::PoseLumieres(const TNoeud& racine) {
    for (int i = 0; i < nbLumieres_; ++i) glDisable(GLenum(GL_LIGHT0 + i));
    nbLumieres_ = 0;
    // walk the tree for visible lights, placed in the scene's frame (the view matrix is loaded)
    std::vector<const TNoeud*> pile{&racine};
    while (!pile.empty()) {
        const TNoeud* n = pile.back();
        pile.pop_back();
        if (!n->Visible()) continue;
        if (n->Genre() == TGenreNoeud::Lumiere && nbLumieres_ < 8) {
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
        }
        for (const auto& e : n->Enfants()) pile.push_back(e.get());
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
    if (!n.Visible()) return;
    glPushMatrix();
    glMultMatrixf(n.MatriceLocale().m.data());
    switch (n.Genre()) {
        case TGenreNoeud::Lignes: {
            const auto& l = static_cast<const TLignes&>(n);
            if (l.Noeuds().size() >= 2) {
                glDisable(GL_LIGHTING);
                glColor4f(l.Couleur().r, l.Couleur().g, l.Couleur().b, l.Couleur().a);
                glLineWidth(l.LargeurLigne());
                const bool pointille = l.Motif() != 0xFFFF;
                if (pointille) {
                    glEnable(GL_LINE_STIPPLE);
                    glLineStipple(l.FacteurMotif(), l.Motif());
                }
                glVertexPointer(3, GL_FLOAT, sizeof(TVecteur3f), l.Noeuds().data());
                glDrawArrays(GL_LINE_STRIP, 0, GLsizei(l.Noeuds().size()));
                if (pointille) glDisable(GL_LINE_STIPPLE);
                glEnable(GL_LIGHTING);
            }
            break;
        }
        case TGenreNoeud::Plan:
        case TGenreNoeud::Disque:
        case TGenreNoeud::Cylindre:
        case TGenreNoeud::Boite:
        case TGenreNoeud::Sphere: {
            const TMaillage& m = Maillage(n);
            const TMateriau& mat = n.Materiau();
            Couleur(GL_AMBIENT, mat.Ambiante);
            Couleur(GL_DIFFUSE, mat.Diffuse);
            Couleur(GL_EMISSION, mat.Emission);
            Couleur(GL_SPECULAR, mat.Speculaire);
            glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50);
            // closed solids: the faces turned away are not drawn
            if (m.Ferme)
                glEnable(GL_CULL_FACE);
            else
                glDisable(GL_CULL_FACE);
            glEnableClientState(GL_NORMAL_ARRAY);
            glVertexPointer(3, GL_FLOAT, sizeof(TVecteur3f), m.Sommets.data());
            glNormalPointer(GL_FLOAT, sizeof(TVecteur3f), m.Normales.data());
            glDrawElements(GL_TRIANGLES, GLsizei(m.Indices.size()), GL_UNSIGNED_INT, m.Indices.data());
            glDisableClientState(GL_NORMAL_ARRAY);
            break;
        }
        default: break;
    }
    for (const auto& e : n.Enfants()) DessineNoeud(*e);
    glPopMatrix();
}
