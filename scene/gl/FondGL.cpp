#include "scene/gl/FondGL.h"

#include <GL/gl.h>

void TFondGL::Construit(const TCouleur& fond) {
    fond_ = fond;
    int k = 0;
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            const float x = 2 * float(i) / (N - 1) - 1, y = 2 * float(j) / (N - 1) - 1;
            sommets_[size_t(3 * k)] = x;
            sommets_[size_t(3 * k + 1)] = y;
            sommets_[size_t(3 * k + 2)] = 0.99999f;
            // darker up high, a soft vignette in the corners
            const float hauteur = 0.80f - 0.45f * (y + 1) / 2;
            const float vignette = 1 - 0.28f * (x * x + y * y) / 2;
            const float f = hauteur * vignette;
            couleurs_[size_t(4 * k)] = fond.r * f;
            couleurs_[size_t(4 * k + 1)] = fond.g * f;
            couleurs_[size_t(4 * k + 2)] = fond.b * f;
            couleurs_[size_t(4 * k + 3)] = 1;
            ++k;
        }
    k = 0;
    for (int j = 0; j + 1 < N; ++j)
        for (int i = 0; i + 1 < N; ++i) {
            const auto a = static_cast<unsigned short>(j * N + i);
            const auto b = static_cast<unsigned short>(a + 1), c = static_cast<unsigned short>(a + N),
                       d = static_cast<unsigned short>(c + 1);
            for (unsigned short v : {a, b, d, a, d, c}) indices_[size_t(k++)] = v;
        }
}

void TFondGL::Dessine(const TCouleur& fond) {
    if (fond.r != fond_.r || fond.g != fond_.g || fond.b != fond_.b) Construit(fond);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sommets_.data());
    glColorPointer(4, GL_FLOAT, 0, couleurs_.data());
    glDrawElements(GL_TRIANGLES, GLsizei(indices_.size()), GL_UNSIGNED_SHORT, indices_.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
