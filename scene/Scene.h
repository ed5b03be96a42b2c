// A scene: the root of the node tree, and the viewers' subscription to its changes.
#pragma once

#include <functional>
#include <map>

#include "scene/Camera.h"
#include "scene/Noeud.h"

class TScene {
public:
    TScene();
    ~TScene();
    TScene(const TScene&) = delete;
    TScene& operator=(const TScene&) = delete;

    TFactice& Racine() { return *racine_; }

    // increases on every change of a node; viewers redraw when it moved
    unsigned long Revision() const { return revision_; }
    // increases on every change outside the animated nodes (TNoeud::Anime): the standing
    // picture a viewer may keep is then out of date
    unsigned long RevisionDecor() const { return revisionDecor_; }
    void Modifie(bool decor = true);
    // called after every change (viewers schedule a redraw); returns a key for Desabonne
    int Abonne(std::function<void()> f);
    void Desabonne(int cle);

private:
    std::unique_ptr<TFactice> racine_;
    unsigned long revision_ = 0;
    unsigned long revisionDecor_ = 0;
    std::map<int, std::function<void()>> abonnes_;
    int prochaineCle_ = 1;
};
