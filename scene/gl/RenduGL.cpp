#include "scene/gl/RenduGL.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cstdio>

#include "scene/Scene.h"

namespace {
void Couleur(GLenum quoi, const TCouleur& c) {
    const GLfloat v[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, quoi, v);
}
// the fixed-function lighting equation evaluated per pixel, with the same lights and materials;
// "vernis" adds a white specular layer to polished shapes, whose material has none
const char* const SourceSommets = R"(#version 120
varying vec3 position;
varying vec3 normale;
void main() {
    position = vec3(gl_ModelViewMatrix * gl_Vertex);
    normale = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
)";

const char* const SourceFragments = R"(#version 120
varying vec3 position;
varying vec3 normale;
uniform int nbLumieres;
uniform float vernis;
uniform float brillance;
void main() {
    vec3 n = normalize(normale);
    if (!gl_FrontFacing) n = -n;
    vec3 v = normalize(-position);
    vec3 speculaireMat = max(gl_FrontMaterial.specular.rgb, vec3(vernis));
    vec3 c = gl_FrontMaterial.emission.rgb + gl_FrontMaterial.ambient.rgb * gl_LightModel.ambient.rgb;
    for (int i = 0; i < 8; ++i) {
        if (i >= nbLumieres && i != 7) continue;
        vec4 p = gl_LightSource[i].position;
        vec3 l = p.w == 0.0 ? normalize(p.xyz) : normalize(p.xyz - position);
        float att = 1.0 / max(gl_LightSource[i].constantAttenuation, 1e-4);
        float nl = max(dot(n, l), 0.0);
        vec3 terme = gl_FrontMaterial.ambient.rgb * gl_LightSource[i].ambient.rgb
                   + nl * gl_FrontMaterial.diffuse.rgb * gl_LightSource[i].diffuse.rgb;
        if (nl > 0.0)
            terme += pow(max(dot(n, normalize(l + v)), 0.0), brillance) * speculaireMat * gl_LightSource[i].specular.rgb;
        c += att * terme;
    }
    gl_FragColor = vec4(min(c, vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// a shader that does not build is said once on stderr, and the fixed pipeline draws
GLuint Construit(QOpenGLFunctions& f) {
    const auto etage = [&f](GLenum genre, const char* source) -> GLuint {
        const GLuint s = f.glCreateShader(genre);
        f.glShaderSource(s, 1, &source, nullptr);
        f.glCompileShader(s);
        GLint ok = 0;
        f.glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char journal[1024] = {};
            f.glGetShaderInfoLog(s, sizeof journal, nullptr, journal);
            std::fprintf(stderr, "éclairage par pixel indisponible : %s\n", journal);
            f.glDeleteShader(s);
            return 0;
        }
        return s;
    };
    const GLuint vs = etage(GL_VERTEX_SHADER, SourceSommets);
    const GLuint fs = vs ? etage(GL_FRAGMENT_SHADER, SourceFragments) : 0;
    if (!fs) {
        if (vs) f.glDeleteShader(vs);
        return 0;
    }
    const GLuint p = f.glCreateProgram();
    f.glAttachShader(p, vs);
    f.glAttachShader(p, fs);
    f.glLinkProgram(p);
    f.glDeleteShader(vs);
    f.glDeleteShader(fs);
    GLint ok = 0;
    f.glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "éclairage par pixel indisponible : programme non lié\n");
        f.glDeleteProgram(p);
        return 0;
    }
    return p;
}

}  // namespace

void TRenduGL::PrepareProgramme() {
    QOpenGLContext* c = QOpenGLContext::currentContext();
    if (c == contexte_) return;
    // a new context: the old one's program went with it
    contexte_ = c;
    programme_ = 0;
    if (!c || qEnvironmentVariableIsSet("VELMORA_SANS_SHADERS")) return;
    QOpenGLFunctions& f = *c->functions();
    programme_ = Construit(f);
    if (programme_) {
        uNbLumieres_ = f.glGetUniformLocation(programme_, "nbLumieres");
        uVernis_ = f.glGetUniformLocation(programme_, "vernis");
        uBrillance_ = f.glGetUniformLocation(programme_, "brillance");
    }
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
    glLoadMatrixf(vue.MatriceVue().m.data());

    TNoeud& racine = vue.Scene().Racine();
    PoseEclairageAppoint(vue);
    PoseLumieres(racine);
    ++image_;
    PrepareProgramme();
    if (programme_) {
        QOpenGLFunctions& f = *QOpenGLContext::currentContext()->functions();
        f.glUseProgram(programme_);
        f.glUniform1i(uNbLumieres_, nbLumieres_);
        f.glUniform1f(uVernis_, 0.8f);
        f.glUniform1f(uBrillance_, 40.0f);
        f.glUseProgram(0);
    }
    DessineNoeud(racine);
    glDisableClientState(GL_VERTEX_ARRAY);
    // shapes of nodes not drawn this frame (freed or hidden) are built again when needed
    std::erase_if(cache_, [this](const auto& e) { return e.second.image != image_; });
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
    // walk the tree for visible lights, placed in the scene's frame (the view matrix is loaded)
    std::vector<const TNoeud*> pile{&racine};
    while (!pile.empty()) {
        const TNoeud* n = pile.back();
        pile.pop_back();
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
            // balls are polished, lit per pixel for a tight highlight of the lamps; the rest keeps
            // its matte materials under the fixed pipeline, whose cost per pixel is far lower
            const bool parPixel = programme_ && n.Genre() == TGenreNoeud::Sphere;
            if (parPixel) QOpenGLContext::currentContext()->functions()->glUseProgram(programme_);
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
            if (parPixel) QOpenGLContext::currentContext()->functions()->glUseProgram(0);
            if (translucide) {
                glDepthMask(GL_TRUE);
                glDisable(GL_BLEND);
            }
            break;
        }
        default:
            break;
    }
    for (const auto& e : n.Enfants()) DessineNoeud(*e);
    glPopMatrix();
}
