#include "view3d/GLBillardVelmora.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fichiers/ExportPVR.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "jeu/PositionJeu.h"

namespace {
TVecteur3f EnSimple(const TVecteur& v) { return {float(v.x), float(v.y), float(v.z)}; }
TVecteur EnDouble(const TVecteur3f& v) { return Vecteur(v.x, v.y, v.z); }
TVecteur3f EnVecteur3f(const std::array<float, 3>& v) { return {v[0], v[1], v[2]}; }
std::array<float, 3> EnTableau(const TVecteur3f& v) { return {v.x, v.y, v.z}; }
}  // namespace

TGLBillardVelmora::TGLBillardVelmora(TScene& scene, TVue& vueTable, TVue& vueQueue)
    : TGLBillardQueue(scene, vueTable, vueQueue), Simu(std::make_unique<TBillardVelmora>()) {
    for (TGLBilles* b : {Blanche, Jaune, Rouge})
        b->OnDessineTrajet = [this](TGLBilles& bille, TLignes& ligne) { TraceTrajetComplet(bille, ligne); };
    SetRayonBilles(float(Simu->Fisik.RayonBilles()));
    // the physics takes the models' radius, in single precision
    Simu->Fisik.SetParam(2, RayonBille);
}

TGLBillardVelmora::~TGLBillardVelmora() {
    // the balls outlive the simulation: their handlers must not reach it
    for (TGLBilles* b : {Blanche, Jaune, Rouge}) b->OnDessineTrajet = nullptr;
    Simu.reset();
}

void TGLBillardVelmora::SetRayonBilles(float r) {
    RayonBille = r;
    DiametreBille = 2 * r;
    for (TGLBilles* b : {Blanche, Jaune, Rouge}) b->SetRayon(r);
}

int TGLBillardVelmora::NumeroSimu(const TGLBilles& b) const {
    if (&b == BilleJoueur) return 1;
    if (&b == BilleNonJoueur) return 2;
    return 3;
}

void TGLBillardVelmora::QueueVersSimu() { Simu->SetParamQueue(ParamSimu(Queue->Valeurs())); }

void TGLBillardVelmora::BillesVersSimu() {
    const TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int b = 1; b <= 3; ++b) Simu->Trajets[b][0].Position = EnDouble(billes[b - 1]->LitPosition());
}

void TGLBillardVelmora::VersSimu() {
    QueueVersSimu();
    BillesVersSimu();
}

void TGLBillardVelmora::BillesVersPhoto(int k) {
    if (k < 0 || k > Simu->NbPhotos || k > NbPhotosMax) return;
    const TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int b = 1; b <= 3; ++b) Simu->Trajets[b][k].Position = EnDouble(billes[b - 1]->LitPosition());
}

void TGLBillardVelmora::AnnuleVR0() {
    for (int b = 1; b <= 3; ++b) {
        Simu->Trajets[b][0].Vitesse = VecteurNul;
        Simu->Trajets[b][0].Rotation = VecteurNul;
    }
}

void TGLBillardVelmora::SimuVersQueue() { PrendQueue(QueueDegres(Simu->ParamQueue())); }

void TGLBillardVelmora::PrendQueue(const TQueueDegres& q) {
    // each value through its setter, so that the cue applies its limits and fires its events
    Queue->SetVitesse(q.Vitesse);
    Queue->SetMasse(q.Masse);
    Queue->SetEffet(q.Effet);
    Queue->SetHauteur(q.Hauteur);
    Queue->SetVisee(q.Visee);
    Queue->SetInclinaison(q.Inclinaison);
}

void TGLBillardVelmora::SimuVersBilles() {
    PlaceEnOrdre({BilleJoueur, BilleNonJoueur, Rouge},
                 {EnSimple(Simu->Trajets[1][0].Position), EnSimple(Simu->Trajets[2][0].Position),
                  EnSimple(Simu->Trajets[3][0].Position)});
}

void TGLBillardVelmora::DepuisSimu() {
    SimuVersQueue();
    SimuVersBilles();
}

void TGLBillardVelmora::RetraceVisibles() {
    for (TGLBilles* b : {BilleJoueur, BilleNonJoueur, Rouge})
        if (b->TrajetVisible) b->DemandeTrajet();
}

void TGLBillardVelmora::JoueCoup() {
    VersSimu();
    // a cue shot starts from balls at rest, whatever a hand launch left in photo 0
    AnnuleVR0();
    Simu->Joue();
    RetraceVisibles();
}

void TGLBillardVelmora::JoueALaMain(int k) {
    if (k > 0 && k <= NbPhotosMax)
        for (int b = 1; b <= 3; ++b) Simu->Trajets[b][0] = Simu->Trajets[b][k];
    Simu->CalculTrajets();
    RetraceVisibles();
}

void TGLBillardVelmora::TraceTrajetComplet(TGLBilles& bille, TLignes& ligne) {
    ligne.DebutMaj();
    ligne.EffaceNoeuds();
    const int b = NumeroSimu(bille);
    const int n = std::min<int>(Simu->NbPhotos, NbPhotosMax);
    ligne.Reserve(size_t(n) + 1);
    for (int i = 0; i <= n; ++i) ligne.AjouteNoeud(EnSimple(Simu->Trajets[b][i].Position));
    ligne.SetVisible(true);
    ligne.FinMaj();
}

void TGLBillardVelmora::TraceTrajet(TGLBilles& bille, TLignes& ligne, int n) {
    ligne.DebutMaj();
    ligne.SetCouleur(bille.Couleur());
    ligne.EffaceNoeuds();
    const int b = NumeroSimu(bille);
    const int dernier = std::min<int>(Simu->NbPhotos, NbPhotosMax);
    ligne.AjouteNoeud(EnSimple(Simu->Trajets[b][0].Position));
    // every collision stays, even in a coarse sampling
    for (int i = 1; i <= dernier; ++i)
        if (Simu->TypesChocs[i] != tcAucun || n == 0 || i % n == 0)
            ligne.AjouteNoeud(EnSimple(Simu->Trajets[b][i].Position));
    ligne.FinMaj();
}

void TGLBillardVelmora::AffichePhoto(int k, bool silencieux) {
    if (k < 0 || k > NbPhotosMax) return;
    TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int b = 1; b <= 3; ++b) {
        const TVecteur3f p = EnSimple(Simu->Trajets[b][k].Position);
        if (silencieux)
            billes[b - 1]->PlaceSilencieux(p);
        else
            billes[b - 1]->SetPosition(p);
    }
}

void TGLBillardVelmora::DessineVR(int k) {
    if (k < 0 || k > NbPhotosMax) return;
    TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int b = 1; b <= 3; ++b)
        billes[b - 1]->SetVR(EnSimple(Simu->Trajets[b][k].Vitesse), EnSimple(Simu->Trajets[b][k].Rotation));
}

void TGLBillardVelmora::MontreParcours(int k) {
    const int n = std::min<int>(Simu->NbPhotos, NbPhotosMax);
    k = std::clamp(k, 0, n);
    std::vector<TVecteur3f> parcouru;
    for (TGLBilles* bille : {BilleJoueur, BilleNonJoueur, Rouge}) {
        if (!bille->TrajetVisible) continue;
        const int b = NumeroSimu(*bille);
        parcouru.clear();
        for (int i = 0; i <= k; ++i) parcouru.push_back(EnSimple(Simu->Trajets[b][i].Position));
        bille->SetParcouru(parcouru);
        TLignes& ligne = *bille->Trajet;
        ligne.DebutMaj();
        ligne.EffaceNoeuds();
        for (int i = k; i <= n; ++i) ligne.AjouteNoeud(EnSimple(Simu->Trajets[b][i].Position));
        ligne.SetVisible(true);
        ligne.FinMaj();
    }
}

void TGLBillardVelmora::FinParcours() {
    for (TGLBilles* bille : {BilleJoueur, BilleNonJoueur, Rouge}) bille->SetParcouru({});
    RetraceVisibles();
}

void TGLBillardVelmora::SetVRVisible(bool b) {
    for (TGLBilles* x : {BilleJoueur, BilleNonJoueur, Rouge}) x->SetVRVisible(b);
}

void TGLBillardVelmora::EchelleVR(float f) {
    for (TGLBilles* x : {BilleJoueur, BilleNonJoueur, Rouge}) x->FacteurVR = f;
}

double TGLBillardVelmora::Epaisseur(double x) const {
    const double d = DiametreBille;
    return x > 0 ? 1 - x / d : -1 - x / d;
}

double TGLBillardVelmora::QuantiteVisee() const {
    const TVecteur3f a = Queue->DirectionVisee();
    const TVecteur3f p0 = BilleJoueur->LitPosition();
    TVecteur3f d1 = BilleNonJoueur->LitPosition() - p0;
    TVecteur3f d2 = Rouge->LitPosition() - p0;
    d1.z = 0;
    d2.z = 0;
    // signed distance of each centre from the aim line, and whether the ball is aimed
    const float c1 = Vect(a, d1).z, c2 = Vect(a, d2).z;
    const bool vise1 = Scal(a, d1) > 0 && std::fabs(c1) <= DiametreBille;
    const bool vise2 = Scal(a, d2) > 0 && std::fabs(c2) <= DiametreBille;
    float c;
    if (vise1 && vise2)
        c = Norme(d1) < Norme(d2) ? c1 : c2;
    else if (vise1)
        c = c1;
    else if (vise2)
        c = c2;
    else
        return 0;
    return Epaisseur(c);
}

double TGLBillardVelmora::QuantiteTouchee() const {
    const int n = std::min<int>(Simu->NbPhotos, NbPhotosMax);
    // the first contact of the player's ball with another; a contact of the other two does not count
    int i = 1;
    while (i <= n &&
           !(Simu->TypesChocs[i] == tcBilleBille && (Simu->Contacts[i] == 2 || Simu->Contacts[i] == 3)))
        ++i;
    if (i > n) return 0;
    // direction of travel just before the contact, and where the struck ball lies
    const TVecteur& v0 = Simu->Trajets[1][i - 1].Vitesse;
    if (Norme(v0) <= 0) return 0;
    const TVecteur u = Unitaire(v0);
    const int touchee = Simu->Contacts[i];
    const TVecteur d = DiffVect(Simu->Trajets[touchee][i].Position, Simu->Trajets[1][i].Position);
    const TVecteur c = ProdVect(u, d);
    const double v = c.z > 0 ? Norme(c) : -Norme(c);
    // a contact found a little apart would give more than a whole ball
    return std::clamp(Epaisseur(v), -1.0, 1.0);
}

double TGLBillardVelmora::ConvertitHauteur(double h, double e, double alpha) const {
    return ::ConvertitHauteur(h, e, alpha, RayonBille);
}

TSectionGLBillard TGLBillardVelmora::SectionVue() const {
    // the current camera in its parent's frame, and its target
    const TCamera* cam = Vue->Camera();
    const TVecteur3f p = cam->Position();
    const TVecteur3f c = cam->Cible() ? cam->Cible()->Position() : TVecteur3f{};
    TSectionGLBillard vue;
    vue.Hrelatif = true;
    vue.CamMobile = CamMobileActive;
    for (size_t i = 0; i < 3; ++i) {
        vue.Camera[i] = EnTableau(p)[i];
        vue.Cible[i] = EnTableau(c)[i];
    }
    vue.FisikFile = Simu->Fisik.NomFichierFisik;
    return vue;
}

void TGLBillardVelmora::AppliqueVue(const TSectionGLBillard& vue) {
    ActiveCamMobile(vue.CamMobile);
    TCamera* cam = Vue->Camera();
    TNoeud* cible = cam->Cible();
    const TPlacementCamera present{EnTableau(cam->Position()),
                                   cible ? EnTableau(cible->Position()) : std::array<float, 3>{}};
    const TPlacementCamera lu = PlacementLu(vue, present);
    cam->SetPosition(EnVecteur3f(lu.Position));
    if (cible) cible->SetPosition(EnVecteur3f(lu.Cible));
}

bool TGLBillardVelmora::SauveFichier(const std::string& nom, std::string* erreur) {
    TFichierIni ini;
    if (!ini.ChargeSiExiste(nom, erreur)) return false;
    VersSimu();
    SauvePosition(*Simu, ini);
    EcritSectionGLBillard(ini, SectionVue());
    return ini.Sauve(nom, erreur);
}

bool TGLBillardVelmora::ChargeFichier(const std::string& nom, std::string* erreur) {
    // the game reads the file over what the simulation, the cue and the table hold now
    TPositionOuverte ouverte;
    if (!LitPositionJeu(nom, Simu->ParamQueue(), Queue->Valeurs(), Table, ouverte, erreur)) return false;
    if (erreur) erreur->clear();
    // the models show it (with their events), and the simulation starts from it
    PrendQueue(ouverte.Position.Queue);
    Place({BilleJoueur, BilleNonJoueur, Rouge}, ouverte.Position.Billes);
    VersSimu();
    // the camera and its placement; missing keys keep the present values
    AppliqueVue(ouverte.Vue);
    // the physical parameters the position was made with, when that file is still there
    if (!ouverte.CheminFisik.empty()) ChargeFisik(Simu->Fisik, ouverte.CheminFisik, erreur);
    return true;
}

bool TGLBillardVelmora::ExportePVR(const std::string& nom, char separateur, std::string* erreur) const {
    return ::ExportePVR(*Simu, nom, separateur, erreur);
}
