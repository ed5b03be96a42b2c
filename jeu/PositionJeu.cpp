#include "jeu/PositionJeu.h"

#include "fichiers/FichierFisik.h"

TPlacementCamera PlacementLu(const TSectionGLBillard& vue, const TPlacementCamera& present) {
    TPlacementCamera p = present;
    for (size_t i = 0; i < 3; ++i) {
        if (vue.Camera[i]) p.Position[i] = *vue.Camera[i];
        if (vue.Cible[i]) p.Cible[i] = *vue.Cible[i];
    }
    return p;
}

std::array<TVecteur, 3> PositionsSimu(const std::array<TCentreBille, 3>& billes) {
    std::array<TVecteur, 3> p{};
    for (size_t i = 0; i < 3; ++i) p[i] = Vecteur(billes[i].x, billes[i].y, billes[i].z);
    return p;
}

std::array<TCentreBille, 3> CentresDepuisSimu(const std::array<TVecteur, 3>& positions) {
    std::array<TCentreBille, 3> c{};
    for (size_t i = 0; i < 3; ++i)
        c[i] = {float(positions[i].x), float(positions[i].y), float(positions[i].z)};
    return c;
}

TPositionJeu PositionPrise(const TParamQueue& queue, const std::array<TVecteur, 3>& positions,
                           const TSectionGLBillard& vue, const TQueueDegres& avant, const TTableJeu& table) {
    TParamQueue q = queue;
    // older files measured the tip height in the horizontal frame
    if (!vue.Hrelatif) q.Hauteur = ConvertitHauteur(q.Hauteur, q.Effet, q.AngleTapis, table.Rayon);
    TPositionJeu p;
    p.Queue = QueuePrise(q, avant);
    p.Billes = table.PlaceEnOrdre(CentresDepuisSimu(positions));
    return p;
}

bool LitPositionJeu(const std::string& nomFichier, const TParamQueue& queueSimu, const TQueueDegres& queue,
                    const TTableJeu& table, TPositionOuverte& ouverte, std::string* erreur) {
    TFichierIni ini;
    if (!ChargeIniPosition(nomFichier, ini, erreur)) return false;
    TParamQueue lue = queueSimu;
    std::array<TVecteur, 3> positions{};
    LitSectionsPosition(ini, lue, positions);
    ouverte.Vue = LitSectionGLBillard(ini);
    ouverte.Position = PositionPrise(lue, positions, ouverte.Vue, queue, table);
    ouverte.CheminFisik = CheminFisik(ouverte.Vue.FisikFile, nomFichier);
    return true;
}

bool LitPositionJeu(const std::string& nomFichier, TPositionOuverte& ouverte, std::string* erreur) {
    // the simulation's cue fields before the first shot: no speed, the factory mass
    return LitPositionJeu(nomFichier, TParamQueue{}, QueueDepart(), TTableJeu(), ouverte, erreur);
}

TSectionGLBillard VueOuverte(const TPositionOuverte& ouverte) {
    TSectionGLBillard vue = ouverte.Vue;
    const TPlacementCamera camera = PlacementLu(vue, vue.CamMobile ? CamMobileDepart : CamFixeDepart);
    for (size_t i = 0; i < 3; ++i) {
        vue.Camera[i] = camera.Position[i];
        vue.Cible[i] = camera.Cible[i];
    }
    vue.FisikFile.clear();
    if (!ouverte.CheminFisik.empty()) {
        TPARAMPHYS fisik;
        if (ChargeFisik(fisik, ouverte.CheminFisik)) vue.FisikFile = ouverte.CheminFisik;
    }
    return vue;
}

bool SauvePositionJeu(const std::string& nomFichier, const TPositionJeu& position,
                      const TSectionGLBillard& vue, std::string* erreur) {
    TFichierIni ini;
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;
    EcritSectionsPosition(ini, ParamSimu(position.Queue), PositionsSimu(position.Billes));
    TSectionGLBillard v = vue;
    v.Hrelatif = true;
    EcritSectionGLBillard(ini, v);
    return ini.Sauve(nomFichier, erreur);
}
