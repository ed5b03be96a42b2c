#include "scene/Scene.h"

TScene::TScene() : racine_(std::make_unique<TFactice>(*this)) {}

TScene::~TScene() {
    // nodes being destroyed must not call back into viewers
    abonnes_.clear();
}

void TScene::Modifie(bool decor) {
    ++revision_;
    if (decor) ++revisionDecor_;
    for (auto& [cle, f] : abonnes_) f();
}

int TScene::Abonne(std::function<void()> f) {
    const int cle = prochaineCle_++;
    abonnes_.emplace(cle, std::move(f));
    return cle;
}

void TScene::Desabonne(int cle) { abonnes_.erase(cle); }
