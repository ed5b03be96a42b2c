#include "scene/gl/ProgrammesGL.h"

#include <GL/gl.h>

#include <QOpenGLFunctions>
#include <algorithm>
#include <cstdio>
#include <string>

#include "scene/TexturesProcedurales.h"

namespace {

// every position and normal in the scene's frame, where the lights are given
const char* const SourceSommets = R"(#version 120
uniform mat4 vueVersScene;
varying vec3 normale;
varying vec3 scene;
varying vec3 objet;
void main() {
    vec4 p = gl_ModelViewMatrix * gl_Vertex;
    scene = (vueVersScene * p).xyz;
    normale = mat3(vueVersScene) * (gl_NormalMatrix * gl_Normal);
    objet = gl_Vertex.xyz;
    gl_Position = gl_ProjectionMatrix * p;
}
)";

// the fixed-function lighting equation evaluated per pixel with the same lights and materials,
// then each finish's own touch; the pool of light of the lamp when it lights alone. The light
// count, the highlight and the fill light are compiled in: software OpenGL runs no dead code.
const char* const SourceCommune = R"(
varying vec3 normale;
varying vec3 scene;
varying vec3 objet;
uniform vec2 salle;
uniform vec2 taille;
uniform vec3 horizon;
uniform sampler2D bruits;
// the lights in the scene's frame, their colours over their attenuation; the eye
uniform vec3 ambianteLampes;
uniform vec3 lampes[TABLEAU_LUMIERES];
uniform vec3 diffuseLampes[TABLEAU_LUMIERES];
uniform vec3 speculaireLampes[TABLEAU_LUMIERES];
uniform vec3 appointDirection;
uniform vec3 appointCouleur;
uniform vec3 oeil;

float Puissance16(float x) {
    x *= x;
    x *= x;
    x *= x;
    return x * x;
}

// The lights at this pixel: e sums each one's diffuse colour times the cosine of its incidence,
// s its specular colour times the highlight; each over its attenuation. The point lights (the
// scene's), then the fill light (OpenGL's last, from a direction) for the finishes that face it;
// the loop is unrolled (the light count is compiled in).
void Eclaire(vec3 n, vec3 v, out vec3 e, out vec3 s) {
    e = vec3(0.0);
    s = vec3(0.0);
    for (int i = 0; i < NB_LUMIERES; ++i) {
        vec3 d = lampes[i] - scene;
        float inverse = inversesqrt(dot(d, d));
        float nl = max(dot(n, d), 0.0) * inverse;
        e += nl * diffuseLampes[i];
#ifdef BRILLANCE
        float h = max(dot(n, normalize(d * inverse + v)), 0.0);
        if (nl > 0.0) s += BRILLANCE(h) * speculaireLampes[i];
#endif
    }
#ifndef SANS_APPOINT
    e += max(dot(n, appointDirection), 0.0) * appointCouleur;
#endif
}

// distance on the floor plane from the object the room surrounds
float HorsObjet() { return length(max(abs(scene.xy) - salle, 0.0)); }

// with the lamp alone, brightest over the middle of the object, softer at its edges, the room
// around it dim
float Bassin() {
#ifdef LAMPE_SEULE
    float r = length(scene.xy / max(salle * 1.15, vec2(1.0)));
    return mix(0.22, 1.15, 1.0 - smoothstep(0.5, 1.6, r));
#else
    return 1.0;
#endif
}

vec3 Normale() {
    vec3 n = normalize(normale);
    return gl_FrontFacing ? n : -n;
}

// emission and ambient light, for a material whose ambient colour is scaled by k
vec3 Base(float k) {
    return gl_FrontMaterial.emission.rgb +
           k * gl_FrontMaterial.ambient.rgb * (gl_LightModel.ambient.rgb + ambianteLampes);
}
)";

// polished: a white varnish over the material, a tight highlight of the lamps (the balls)
const char* const SourcePoli = R"(
void main() {
    vec3 n = Normale();
    vec3 e, s;
    Eclaire(n, normalize(oeil - scene), e, s);
    vec3 c = Base(1.0) + gl_FrontMaterial.diffuse.rgb * e + max(gl_FrontMaterial.specular.rgb, vec3(0.8)) * s;
    gl_FragColor = vec4(min(c * Bassin(), vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// matte: the material as it is, lit per pixel
const char* const SourceMat = R"(
void main() {
    vec3 e, s;
    Eclaire(Normale(), normalize(oeil - scene), e, s);
    vec3 c = Base(1.0) + gl_FrontMaterial.diffuse.rgb * e + gl_FrontMaterial.specular.rgb * s;
    gl_FragColor = vec4(min(c * Bassin(), vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// cloth: fibres along the table, a fine nap and soft blotches, no highlight but a velvet sheen
// at grazing angles; flat faces (a plane, prisms) whose normal needs no renormalising
const char* const SourceDrap = R"(
void main() {
    vec3 n = gl_FrontFacing ? normale : -normale;
    vec3 v = normalize(oeil - scene);
    vec4 t = texture2D(bruits, scene.xy * vec2(0.13, 0.035));
    float m = 1.0 + 0.09 * (t.g - 0.5) + 0.06 * (t.r - 0.5);
    vec3 e, s;
    Eclaire(n, v, e, s);
    float bord = 1.0 - max(dot(n, v), 0.0);
    bord *= bord;
    vec3 c = Base(m) + gl_FrontMaterial.diffuse.rgb * m * (e + 0.30 * bord * bord);
    gl_FragColor = vec4(min(c * Bassin(), vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// wood: grain along the piece (its Y), a satin highlight
const char* const SourceBois = R"(
void main() {
    vec4 t = texture2D(bruits, vec2((objet.x + objet.z) * 0.21, objet.y * 0.0045));
    float m = 0.66 + 0.36 * t.g + 0.10 * (t.r - 0.5);
    vec3 e, s;
    Eclaire(Normale(), normalize(oeil - scene), e, s);
    vec3 c = Base(m) + gl_FrontMaterial.diffuse.rgb * m * e + max(gl_FrontMaterial.specular.rgb, vec3(0.09)) * s;
    gl_FragColor = vec4(min(c * Bassin(), vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// mother-of-pearl: colours that shift with the angle of view over the material, a bright shine
const char* const SourceNacre = R"(
void main() {
    vec3 n = Normale();
    vec3 v = normalize(oeil - scene);
    float grain = texture2D(bruits, objet.xy * 0.9).b;
    vec3 irise = 0.93 + 0.07 * cos(6.2832 * (vec3(0.0, 0.33, 0.67) + 2.0 * max(dot(n, v), 0.0) + 1.5 * grain));
    vec3 e, s;
    Eclaire(n, v, e, s);
    vec3 c = Base(1.0) + gl_FrontMaterial.diffuse.rgb * irise * e + vec3(0.7) * s;
    gl_FragColor = vec4(min(c * Bassin(), vec3(1.0)), gl_FrontMaterial.diffuse.a);
}
)";

// floor: planks in the material's colour, 14 cm wide, 120 cm long, rows staggered, each its own
// shade, thin joints softened with distance; darker under the object, the picture's corners
// darker, fading into the room far away. Computed rather than read: cheaper at grazing angles.
const char* const SourceSol = R"(
void main() {
    float rang = floor(scene.y * (1.0 / 14.0));
    float x = scene.x * (1.0 / 120.0) + fract(rang * 0.618);
    float teinte = fract(sin(rang * 12.99 + floor(x) * 78.23) * 437.585);
    vec2 f = vec2(fract(x) * 120.0, fract(scene.y * (1.0 / 14.0)) * 14.0);
    vec2 w = fwidth(scene.xy) + 0.2;
    vec2 j = smoothstep(vec2(0.0), w, f) * smoothstep(vec2(0.0), w, vec2(120.0, 14.0) - f);
    float m = (0.80 + 0.25 * teinte) * mix(0.6, 1.0, j.x * j.y);
    float dessous = mix(0.35, 1.0, smoothstep(0.0, 70.0, HorsObjet()));
    vec3 c = (gl_FrontMaterial.emission.rgb + gl_FrontMaterial.diffuse.rgb * m) * (dessous * Bassin());
    c = mix(c, horizon, smoothstep(700.0, 1900.0, length(scene.xy)));
    vec2 q = gl_FragCoord.xy / taille - 0.5;
    gl_FragColor = vec4(min(c * (1.0 - 0.55 * dot(q, q)), vec3(1.0)), 1.0);
}
)";

// what each finish compiles in besides its source
struct TFinition {
    TFini fini;
    const char* source;
    const char* brillance;  // the highlight's power of the half-vector cosine, or none
    bool appoint;           // lit by the fill light too
};
const TFinition Finitions[] = {{TFini::Mat, SourceMat, "pow(h, 30.0)", true},
                               {TFini::Poli, SourcePoli, "pow(h, 40.0)", true},
                               {TFini::Drap, SourceDrap, nullptr, false},
                               {TFini::Bois, SourceBois, "Puissance16(h)", true},
                               {TFini::Nacre, SourceNacre, "Puissance16(h) * Puissance16(h)", true},
                               {TFini::Sol, SourceSol, nullptr, false}};

GLuint Etage(QOpenGLFunctions& f, GLenum genre, const std::string& source) {
    const GLuint s = f.glCreateShader(genre);
    const char* texte = source.c_str();
    f.glShaderSource(s, 1, &texte, nullptr);
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
}

GLuint Lie(QOpenGLFunctions& f, const TFinition& finition, int nbLumieres, bool lampeSeule) {
    std::string entete = "#version 120\n#define NB_LUMIERES " + std::to_string(nbLumieres) + "\n";
    if (lampeSeule) entete += "#define LAMPE_SEULE\n";
    entete += "#define TABLEAU_LUMIERES " + std::to_string(std::max(nbLumieres, 1)) + "\n";
    if (finition.brillance) entete += std::string("#define BRILLANCE(h) (") + finition.brillance + ")\n";
    if (!finition.appoint) entete += "#define SANS_APPOINT\n";
    const GLuint vs = Etage(f, GL_VERTEX_SHADER, SourceSommets);
    const GLuint fs = vs ? Etage(f, GL_FRAGMENT_SHADER, entete + SourceCommune + finition.source) : 0;
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

// a texture of the current context, mipmapped so that fine detail never shimmers from afar; the
// nearest level read bilinearly (half the cost of blending two levels, which software OpenGL feels)
GLuint Texture(QOpenGLFunctions& f, const TTextureBruits& t) {
    GLuint id = 0;
    f.glGenTextures(1, &id);
    f.glBindTexture(GL_TEXTURE_2D, id);
    f.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, t.Cote, t.Cote, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.Rgba.data());
    f.glGenerateMipmap(GL_TEXTURE_2D);
    f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
    f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    f.glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

}  // namespace

bool TProgrammesGL::Construit(QOpenGLFunctions& f, TVariante variante) {
    Oublie();
    variante_ = variante;
    for (const TFinition& finition : Finitions) {
        const GLuint p = Lie(f, finition, std::clamp(variante.NbLumieres, 0, 7), variante.LampeSeule);
        if (!p) {
            Libere(f);
            return false;
        }
        TEmplacements& e = emplacements_[size_t(finition.fini)];
        e.vueVersScene = f.glGetUniformLocation(p, "vueVersScene");
        e.salle = f.glGetUniformLocation(p, "salle");
        e.taille = f.glGetUniformLocation(p, "taille");
        e.horizon = f.glGetUniformLocation(p, "horizon");
        e.bruits = f.glGetUniformLocation(p, "bruits");
        e.ambianteLampes = f.glGetUniformLocation(p, "ambianteLampes");
        e.lampes = f.glGetUniformLocation(p, "lampes");
        e.diffuseLampes = f.glGetUniformLocation(p, "diffuseLampes");
        e.speculaireLampes = f.glGetUniformLocation(p, "speculaireLampes");
        e.appointDirection = f.glGetUniformLocation(p, "appointDirection");
        e.appointCouleur = f.glGetUniformLocation(p, "appointCouleur");
        e.oeil = f.glGetUniformLocation(p, "oeil");
        programmes_[size_t(finition.fini)] = p;
    }
    texture_ = Texture(f, TextureBruits(256));
    valides_ = true;
    return true;
}

void TProgrammesGL::Oublie() {
    // the context that held them is gone or going: only the names are dropped
    programmes_.fill(0);
    texture_ = 0;
    variante_ = {};
    valides_ = false;
}

void TProgrammesGL::Libere(QOpenGLFunctions& f) {
    for (unsigned p : programmes_)
        if (p) f.glDeleteProgram(p);
    if (texture_) f.glDeleteTextures(1, &texture_);
    Oublie();
}

void TProgrammesGL::PrepareImage(QOpenGLFunctions& f, const TUniformesImage& u) const {
    if (!valides_) return;
    f.glActiveTexture(GL_TEXTURE0);
    f.glBindTexture(GL_TEXTURE_2D, texture_);
    for (size_t i = 0; i < programmes_.size(); ++i) {
        if (!programmes_[i]) continue;
        const TEmplacements& e = emplacements_[i];
        f.glUseProgram(programmes_[i]);
        f.glUniformMatrix4fv(e.vueVersScene, 1, GL_FALSE, u.VueVersScene.m.data());
        f.glUniform2f(e.salle, u.SalleX, u.SalleY);
        f.glUniform2f(e.taille, u.LargeurPixels, u.HauteurPixels);
        f.glUniform3f(e.horizon, u.Horizon.r, u.Horizon.g, u.Horizon.b);
        f.glUniform1i(e.bruits, 0);
        f.glUniform3f(e.ambianteLampes, u.AmbianteLampes.r, u.AmbianteLampes.g, u.AmbianteLampes.b);
        const auto n = GLsizei(std::clamp(u.NbLumieres, 1, int(u.Lampes.size())));
        f.glUniform3fv(e.lampes, n, &u.Lampes[0].x);
        f.glUniform3fv(e.diffuseLampes, n, &u.DiffuseLampes[0].x);
        f.glUniform3fv(e.speculaireLampes, n, &u.SpeculaireLampes[0].x);
        f.glUniform3f(e.appointDirection, u.AppointDirection.x, u.AppointDirection.y, u.AppointDirection.z);
        f.glUniform3f(e.appointCouleur, u.AppointCouleur.x, u.AppointCouleur.y, u.AppointCouleur.z);
        f.glUniform3f(e.oeil, u.Oeil.x, u.Oeil.y, u.Oeil.z);
    }
    f.glUseProgram(0);
}
