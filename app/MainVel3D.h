// The main window: the 3D view of the table under a thin top strip, the status bar with the
// three ball positions and the message panel, the display panel (fire button, auto-fire switch,
// results), the menus, the settings file and the recent positions. It owns the 3D billiard
// (`Billard`), which owns the simulation; the tool windows reach both through it.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <set>

#include "app/ListeRecents.h"
#include "app/ReglagesVel3D.h"
#include "fichiers/CopieCoup.h"
#include "fichiers/FichierIni.h"
#include "scene/Cadenceur.h"
#include "scene/Scene.h"
#include "scene/Vue.h"
#include "tools/HoteOutils.h"
#include "view3d/GLBillardVelmora.h"

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class TAideVel3D;
class TCaseLed;
class TGLBillardVelmora;
class TGLBilles;
class TMemTrajetsFrm;
class TPanneauIcone;
class TQueueFrm;
class TServeurCoup;
class TVueGL;
class TVueNumFrm;
class TCalibrageFrm;
class TDifficulteFrm;
class TDockOutil;
class TEnregistrementFrm;
class TFenetreOutil;
class TSolutionsFrm;
class TSystemeFrm;
class TEntrainementFrm;
class TPartieFrm;
class TProgresFrm;
class TBaseHistorique;

// where the default layout puts a tool window's dock
enum class TPlaceOutil {
    Droite,     // the right column, at its top (the cue window)
    SousQueue,  // the right column under the cue window, tabbed together
    Bas         // under the table, tabbed together
};

// what the program entry hands to the main window
struct TDemarrageVel3D {
    TEmplacementReglages Reglages;  // the settings file
    QString FichierAide;            // help collection; empty or missing: the help reports it
    QString CheminServeurCoup;      // socket receiving shots; empty: none
    QString FichierLigneCommande;   // first command-line parameter, or empty
    QString DossierProgramme;       // initial folder of the file dialogs
    QString Historique;             // history database; empty: the user's data folder
};

class TMainVel3DFrm : public QMainWindow, public THoteOutils {
    Q_OBJECT

public:
    static constexpr int ContexteAide = 1300;
    static constexpr int ContexteRaccourcis = 1200;

    explicit TMainVel3DFrm(const TDemarrageVel3D& demarrage, QWidget* parent = nullptr);
    ~TMainVel3DFrm() override;

    // the tool windows, created after this one and before it is shown
    void BrancheOutils(TQueueFrm* queue, TMemTrajetsFrm* memo, TVueNumFrm* vueNum, TCalibrageFrm* calibrage,
                       TDifficulteFrm* difficulte);

    // -- what the tool windows ask of it
    TGLBillardVelmora* Billard3D() const override { return Billard.get(); }
    TScene& SceneTable() override { return gls; }
    void Feu() override { FeuBtnClick(); }
    bool TirAuto() const override;
    void SetTirAuto(bool actif) override;
    void MontreResultat(TResultatMontre quoi) override;
    bool VecteursAffiches() const override;
    // while locked (a difficulty evaluation runs on the current shot), nothing changes the cue,
    // the balls or the rule, and nothing is fired
    void VerrouilleCoup(const QObject* detenteur, bool verrou) override;
    bool CoupVerrouille() const override { return coupVerrouille_; }
    void ChoisitBilleJoueur(bool jaune) override;
    void ChoisitModeJeu(TModeDeJeu mode) override;
    bool ChargeTable(const QString& fichier, QString* erreur = nullptr) override;
    // writes the cue and the balls to a position file; false (after telling the user) on failure
    bool SauvePosition(const QString& nom) override;
    void AfficheAide(int contexte) override;
    void PasseTouche(QKeyEvent* e) override;
    bool RoueFleche(bool avant) override;
    void SignaleMemoire(bool active) override;
    void SignalePositionModifiee() override { MajResultats(); }

    // -- operations offered to the other windows
    void FeuBtnClick();
    // the shot fired by the player (fire button, space bar, a shot handed over): CoupJoue, then
    // CoupDuJoueur
    void FeuDuJoueur();
    void SetTauxRalenti(double x);
    double TauxRalenti() const { return tauxRalenti_; }
    void MajQteVisee();
    void DemarreAnimation();
    void AfficheMessage(const QString& texte);
    // opens a position file and plays it; false (after telling the user) when it cannot be read
    bool OuvrePosition(const QString& nom);
    // a held key and an arrow (Qt::Key_Left ... Qt::Key_Down); false when no key is held
    bool ToucheFleche(int fleche);
    // the key handlers, also fed by the cue window
    void FormKeyDown(QKeyEvent* e);
    void FormKeyUp(QKeyEvent* e);
    // a shot handed over by another program
    void WMCopyData(const TCopieCoup& coup);
    bool Anime() const { return anime_; }
    // clock time at the start of the running animation
    double DebutAnimationCourant() const { return DebutAnimation; }

    // -- the 3D billiard, from the first show on
    std::unique_ptr<TGLBillardVelmora> Billard;
    TScene gls;
    TVue VueTable{gls};
    TCadenceur GLCadencer;

    // status bar: panels 0, 1, 2 the white, yellow and red ball; 3 hints and messages
    QString TextePanneau(int i) const;
    void SetTextePanneau(int i, const QString& texte);

    // -- the tool windows
    TQueueFrm* QueueFrm = nullptr;
    TMemTrajetsFrm* MemTrajetsFrm = nullptr;
    TVueNumFrm* VueNumFrm = nullptr;
    TCalibrageFrm* CalibrageFrm = nullptr;
    TDifficulteFrm* DifficulteFrm = nullptr;
    // the recorded-shot window, created at its first use (MainVel3DEnregistrement.cpp)
    TEnregistrementFrm* EnregistrementFrm = nullptr;
    TEnregistrementFrm& FenetreEnregistrement();
    // opens a recorded shot (CSV) in its window; false after telling the user
    bool OuvreEnregistrement(const QString& nom);
    void OuvreEnregistrementMnuClick();
    void EnregistrementMnuClick();
    TSolutionsFrm* SolutionsFrm = nullptr;
    // the solutions window and its item of the "&Outils" menu (shortcut F7)
    void BrancheSolutions(TSolutionsFrm* solutions);
    // the corner-five system's panel and its item of the "&Outils" menu
    TSystemeFrm* SystemeFrm = nullptr;
    void BrancheSysteme(TSystemeFrm* systeme);

    // Every result shown belongs to the position and table it was computed for: the verdict of the
    // last shot while the balls show one of its photos, the tool windows' results while the balls,
    // the table and the rule are theirs. Called when any of these may have changed.
    void MajResultats();
    // the diamonds of the last shot's cushion contacts on the rails (menu "&Affichage")
    void DiamantsMnuClick();

    // training, matches and progress, on the history database (OuvreHistorique: the user's data
    // folder when no file is named; never null, closed when refused)
    std::shared_ptr<TBaseHistorique> OuvreHistorique(const QString& fichier = QString());
    void BrancheEntrainement(std::shared_ptr<TBaseHistorique> base);
    TEntrainementFrm* EntrainementFrm = nullptr;
    TPartieFrm* PartieFrm = nullptr;
    TProgresFrm* ProgresFrm = nullptr;

    // -- the tool windows' docks (MainVel3DDocks.cpp)
    // The one way a tool window (a TFenetreOutil) joins the main window: it goes into a dock
    // named nom + "Dock" in the settings' layout (keep nom stable), placed where a kept layout
    // had it or else at its default place; its checkable "&Outils" item (may be null) shows and
    // closes it and follows it. A new tool window needs nothing more, e.g.
    //     AjouteOutil(new TMonOutilFrm(*this, this), "MonOutilFrm", TPlaceOutil::Bas, MonOutilMnu);
    TDockOutil* AjouteOutil(TFenetreOutil* outil, const char* nom, TPlaceOutil place, QAction* item);
    // item checked: shows the window, its tab in front; unchecked: closes it (it may refuse);
    // the item then tells whether the window is open
    void BasculeOutil(TFenetreOutil* outil, QAction* item);
    // "Affichage > Disposition par défaut": every dock back at its place, the cue window open on
    // the right, the others tabbed on the right or under the table; nothing over the table
    void DispositionParDefaut();
    // the main window's place and size kept in the settings; false when none (the caller maximises)
    bool RestaureGeometrie();
    // the table's view in the main window's coordinates
    QRect RectangleVue() const;

    // -- menu commands
    void ouvrirMnuClick();
    void SaveToFileMnuClick();
    void BilleJoueurMnuClick();
    void Mnu3bandesClick(QAction* choix);
    void LastCoupBeginMnuClick();
    void LastCoupEndMnuClick();
    void PosDepartMnuClick();
    void CamFixeMobileMnuClick();
    void TrajetsMnuClick();
    void TrajetBillejoueurMnuClick(QAction* item);
    void VRMnuClick();
    void QueuevisibleMnuClick();
    // the table's lamp alone: its pool of light on the cloth, the room dim
    void LumiereSalleMnuClick();
    void ResettrajetsVRMnuClick();
    void VueParamQueueMnuClick();
    void DifficulteMnuClick();
    void VueMemoMnuClick();
    void VueNumMnuClick();
    void CalibreBdMnuClick();
    void SommaireChmMnuClick();
    void IndexChmMnuClick();
    void AproposMnuClick();
    void TirAutoChkChange();

    // -- recent files and settings
    const TListeRecents& mruList() const { return mruList_; }
    // adds a file to the recent list and saves the list
    void RetientFichier(const QString& nom);
    void mruListClick(const QString& nom);
    const TEmplacementReglages& Reglages() const { return demarrage_.Reglages; }
    const TServeurCoup* ServeurCoup() const { return serveurCoup_; }

    // -- mouse on the 3D view and animation
    void ScnMouseDown(QMouseEvent* e);
    void ScnMouseMove(QMouseEvent* e);
    void ScnMouseUp(QMouseEvent* e);
    void FormMouseWheel(QWheelEvent* e);
    void GLCadencerProgress(double ecoule, double maintenant);

    // help: shows the missing-file box when there is no help
    void AideManquante();
    // the "a propos" box, modal; returns when it is closed
    void AfficheApropos();

signals:
    // a shot was fired and computed (fire button, automatic fire, handed-over shot)
    void CoupJoue();
    // ... and it was the player's own (not a preview of auto-fire, a route or a replay shown):
    // an attempt for the drills and the match
    void CoupDuJoueur();
    // the animation shows time t of the shot (s from the cue impact); -1 when it ends
    void ImageAnimee(double t);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // the controls and the menu items are the window's own: the tool windows ask through
    // THoteOutils, the tests find them by their object names
    QWidget* BandeauPnl = nullptr;
    TVueGL* Scn = nullptr;
    QFrame* DisplayInfos = nullptr;
    QToolButton* FeuBtn = nullptr;
    TCaseLed* TirAutoChk = nullptr;
    QLabel* QviseeLbl = nullptr;
    QLabel* QToucheeLbl = nullptr;
    QLabel* IsPointLbl = nullptr;
    // the thicknesses in a player's words, under their values
    QLabel* QviseeMotsLbl = nullptr;
    QLabel* QToucheeMotsLbl = nullptr;
    // status bar: panels 0, 1, 2 the white, yellow and red ball; 3 hints and messages
    TPanneauIcone* InfosBilles[3] = {};
    QLabel* InfosMessage = nullptr;

    // -- menu
    QMenu* Fichiers1 = nullptr;
    QMenu* LoadFrmFileMnu = nullptr;
    QAction* ouvrirMnu = nullptr;
    QAction* SaveToFileMnu = nullptr;
    QMenu* Jeu1 = nullptr;
    QAction* BilleJoueurMnu = nullptr;
    QMenu* Modedejeu1 = nullptr;
    QActionGroup* ModesDeJeu = nullptr;
    QAction* Mnu3bandes = nullptr;
    QAction* Mnu1bande = nullptr;
    QAction* MnuLibre = nullptr;
    QAction* LastCoupBeginMnu = nullptr;
    QAction* LastCoupEndMnu = nullptr;
    QAction* PosDepartMnu = nullptr;
    QMenu* OptionsJeu = nullptr;
    QAction* CamFixeMobileMnu = nullptr;
    QAction* TrajetsMnu = nullptr;
    QMenu* Lignes1 = nullptr;
    QAction* TrajetBillejoueurMnu = nullptr;
    QAction* TrajetBillenonjoueurMnu = nullptr;
    QAction* TrajetRougeMnu = nullptr;
    QAction* VRMnu = nullptr;
    QAction* AnimationMnu = nullptr;
    QAction* QueuevisibleMnu = nullptr;
    QAction* ResettrajetsVRMnu = nullptr;
    QAction* DiamantsMnu = nullptr;
    QAction* DiamantsToutesMnu = nullptr;
    QAction* DispositionMnu = nullptr;
    QAction* LumiereSalleMnu = nullptr;
    QMenu* FenetresMnu = nullptr;
    QAction* VueParamQueueMnu = nullptr;
    QAction* DifficulteMnu = nullptr;
    QAction* VueMemoMnu = nullptr;
    QAction* VueNumMnu = nullptr;
    QAction* CalibreBdMnu = nullptr;
    QAction* OuvreEnregistrementMnu = nullptr;
    QAction* EnregistrementMnu = nullptr;
    QAction* SolutionsMnu = nullptr;
    QAction* SystemeMnu = nullptr;
    QAction* OuvrirEntrainementMnu = nullptr;
    QAction* EntrainementMnu = nullptr;
    QAction* PartieMnu = nullptr;
    QAction* ProgresMnu = nullptr;
    QMenu* AideMnu = nullptr;
    QAction* SommaireChmMnu = nullptr;
    QAction* IndexChmMnu = nullptr;
    QAction* Raccourcisclavier1 = nullptr;
    QAction* AproposMnu = nullptr;

    // construction, split by concern (MainVel3DMenus.cpp, MainVel3DInfos.cpp); the menus one
    // by one, in the order of the menu bar
    void CreeMenus();
    void CreeMenuFichiers();
    void CreeMenuJeu();
    void CreeMenuAffichage();
    void CreeMenuOutils();
    void CreeMenuAide();
    void CreeMenusEnregistrement();
    void CreeMenuDiamants();
    // the corner panel's words of the aimed and of the struck thickness
    void MajMotsVisee();
    void MajMotsTouchee();
    void CreeVue();
    void CreeInfos();
    void MajMenuRecents();
    // the camera item names the camera shown
    void MajMenuCamera();
    void PlaceDisplayInfos();
    // first show: the 3D billiard and the layout of the tool windows
    void FormShow();
    // a tool window in its dock, its default place and its menu item
    struct TOutilDocke {
        TFenetreOutil* outil;
        TDockOutil* dock;
        TPlaceOutil place;
        QAction* item;
    };
    void PlaceParDefaut(const TOutilDocke& o);
    void TaillesParDefaut();
    void RangeColonneDroite();
    // the height a window under the table needs to be seen whole, within a third of the main window
    int HauteurVoulueBas(const TOutilDocke& o) const;
    // a window just shown under the table: its row raised to that height when lower
    void RangeBas(const TFenetreOutil* outil);
    void MajItemsOutils();
    // the layout kept in the settings, or the default one (an unreadable one is said)
    void RestaureDisposition();
    // what the layout is now, to write it only when this instance changes it
    void RetientDisposition();
    void EcritDisposition(TFichierIni& ini);
    // the cameras fit the table to the view the docks leave
    void MajCadrage();
    void LitFisik();
    // Merges this instance's changes into the settings file as it is now (another instance may
    // have written it since the start) and writes it; a file that could not be read at the start
    // is never written (false, with that reason). False with the reason.
    bool EnregistreReglages(QString* erreur);
    // hints to the message panel (BrancheBulles) or not (after AfficheMessage)
    void BrancheBulles() { bullesBranchees_ = true; }
    void MontreBulle(const QString& texte);
    // the ball of the player, of the other cue ball and the red, in the physics' order
    TGLBilles* BilleDeRang(int rang) const;
    void BilleDeplacee(TGLBilles* bille);
    void FinAnimation(int i);
    bool AideDisponible() const;
    // the help window, created on the first request; false after telling the help is missing
    bool OuvreAide();

    TDemarrageVel3D demarrage_;
    TFichierIni IniCtrl;
    TListeRecents mruList_;
    // the settings as read at the start or last written, and what this instance added since:
    // only differences from them are written
    bool reglagesIllisibles_ = false;
    std::string fisikEcrit_;
    double tauxEcrit_ = 1.0;
    bool lumiereSalleEcrite_ = false;
    std::vector<std::string> recentsAjoutes_;
    std::vector<TOutilDocke> outilsDockes_;
    QByteArray dispositionLue_;
    QByteArray geometrieLue_;
    TServeurCoup* serveurCoup_ = nullptr;
    TAideVel3D* aide_ = nullptr;
    QString nomFichierAide_;

    // the position the last shot fired from here started from
    TEtatPosition etatCoup_;
    bool coupJoue_ = false;

    double DebutAnimation = 0;
    double tauxRalenti_ = 1.0;
    bool anime_ = false;
    bool SourisEnfoncee = false;
    bool bullesBranchees_ = true;
    bool dejaMontree_ = false;
    bool coupVerrouille_ = false;
    std::set<const QObject*> verrous_;  // the computations holding the shot
    int tagBilleJoueur_ = 0;
};
