#include "view3d/GLBillardVelmora.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fichiers/ExportPVR.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "jeu/ContactsBandes.h"
#include "jeu/EchelleVitesse.h"
#include "jeu/Epaisseurs.h"
#include "jeu/FichiersPosition.h"
#include "jeu/PositionJeu.h"
#include "view3d/EtiquettesDiamants.h"

namespace {
TVecteur3f EnSimple(const TVecteur& v) { return {float(v.x), float(v.y), float(v.z)}; }
TVecteur EnDouble(const TVecteur3f& v) { return Vecteur(v.x, v.y, v.z); }
TVecteur3f EnVecteur3f(const std::array<float, 3>& v) { return {v[0], v[1], v[2]}; }
std::array<float, 3> EnTableau(const TVecteur3f& v) { return {v.x, v.y, v.z}; }
}  // namespace

TGLBillardVelmora::TGLBillardVelmora(TScene& scene, TVue& vueTable, TVue& vueQueue)
    : TGLBillardQueue(scene, vueTable, vueQueue),
      Simu(std::make_unique<TBillardVelmora>()),
      Diamants(std::make_unique<TEtiquettesDiamants>(scene)) {
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
    MajDiamants();
}

void TGLBillardVelmora::MajDiamants() {
    if (!DiamantsVisibles || Simu->NbPhotos <= 0) {
        Diamants->Efface();
        return;
    }
    // the digits read from the camera in use: its picture's up, laid on the cloth
    const TCamera* camera = CamMobileActive ? CamMobile : CamFixe;
    TVecteur3f haut = camera->HautImage();
    if (std::fabs(haut.x) + std::fabs(haut.y) < 1e-3f) haut = camera->Visee();
    haut.z = 0;
    const float n = Norme(haut);
    haut = n > 0 ? haut * (1 / n) : TVecteur3f{0, 1, 0};
    const TVecteur3f droite{haut.y, -haut.x, 0};
    Diamants->Montre(ContactsBandes(*Simu, DiamantsToutesBilles),
                     {BilleJoueur->Couleur(), BilleNonJoueur->Couleur(), Rouge->Couleur()},
                     Simu->Fisik.largeurJeu(), droite, haut, SeparateurDiamants);
}

bool TEtatPosition::Meme(const TEtatPosition& autre) const {
    for (size_t i = 0; i < Billes.size(); ++i)
        if (std::fabs(Billes[i].x - autre.Billes[i].x) > 0.01f ||
            std::fabs(Billes[i].y - autre.Billes[i].y) > 0.01f ||
            std::fabs(Billes[i].z - autre.Billes[i].z) > 0.01f)
            return false;
    return JoueurJaune == autre.JoueurJaune && Fisik == autre.Fisik && Mode == autre.Mode;
}

int TGLBillardVelmora::PhotoMontree() const {
    if (affichageEnCours_) return photoAffichee_;
    const TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int k : {photoAffichee_, 0}) {
        if (k < 0 || k > std::min<int>(Simu->NbPhotos, NbPhotosMax)) continue;
        bool memes = true;
        for (int b = 1; b <= 3 && memes; ++b) {
            const TVecteur3f p = billes[b - 1]->LitPosition();
            const TVecteur3f photo = EnSimple(Simu->Trajets[b][k].Position);
            memes = std::fabs(p.x - photo.x) <= 0.01f && std::fabs(p.y - photo.y) <= 0.01f &&
                    std::fabs(p.z - photo.z) <= 0.01f;
        }
        if (memes) return k;
    }
    return -1;
}

TEtatPosition TGLBillardVelmora::EtatPosition() const {
    TEtatPosition e;
    e.Billes = ContexteCoup().Billes;
    e.JoueurJaune = BilleJoueur == Jaune;
    e.Fisik = Simu->Fisik;
    e.Mode = Simu->ModeDeJeu;
    return e;
}

void TGLBillardVelmora::JoueCoup() {
    photoAffichee_ = -1;
    VersSimu();
    // a cue shot starts from balls at rest, whatever a hand launch left in photo 0
    AnnuleVR0();
    Simu->Joue();
    RetraceVisibles();
}

void TGLBillardVelmora::JoueALaMain(int k) {
    photoAffichee_ = -1;
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
    photoAffichee_ = k;
    // the move events of the first balls see them at photo k already
    affichageEnCours_ = true;
    TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int b = 1; b <= 3; ++b) {
        const TVecteur3f p = EnSimple(Simu->Trajets[b][k].Position);
        if (silencieux)
            billes[b - 1]->PlaceSilencieux(p);
        else
            billes[b - 1]->SetPosition(p);
    }
    affichageEnCours_ = false;
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

double TGLBillardVelmora::Epaisseur(double x) const { return ::Epaisseur(x, DiametreBille); }

TBilleEpaisseur TGLBillardVelmora::BilleVisee() const {
    const TVecteur3f a = Queue->DirectionVisee();
    return ::BilleVisee(a.x, a.y, ContexteCoup().Billes, DiametreBille);
}

TContexteCoup TGLBillardVelmora::ContexteCoup() const {
    TContexteCoup c;
    const TGLBilles* billes[3] = {BilleJoueur, BilleNonJoueur, Rouge};
    for (int i = 0; i < 3; ++i) {
        const TVecteur3f p = billes[i]->LitPosition();
        c.Billes[size_t(i)] = {p.x, p.y, p.z};
    }
    c.NomBille2 = BilleNonJoueur->Nom;
    c.Largeur = Simu->Fisik.largeurJeu();
    c.Rayon = RayonBille;
    c.DeportMax = DeportSansFausseQueue(Simu->Fisik, Queue->Masse());
    return c;
}

std::string TGLBillardVelmora::TexteCoupActuel(char separateur) const {
    const TContexteCoup c = ContexteCoup();
    const TQueueDegres& q = Queue->Valeurs();
    std::string texte = TexteVisee(q.Visee, c, 0, separateur);
    if (!texte.empty()) texte += " · ";
    return texte + TexteProcede(Procede(q.Effet, q.Hauteur, c.DeportMax), separateur) + " · vitesse " +
           TexteVitesse(q.Vitesse);
}

double TGLBillardVelmora::QuantiteVisee() const { return BilleVisee().Epaisseur; }

TBilleEpaisseur TGLBillardVelmora::BilleTouchee() const { return ::BilleTouchee(*Simu, DiametreBille); }

double TGLBillardVelmora::QuantiteTouchee() const { return BilleTouchee().Epaisseur; }

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
