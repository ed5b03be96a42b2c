#include "tools/DifficulteCarte.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "fichiers/EcritureAtomique.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"

namespace {

// from no success (dark) to every trial a success (bright), evenly perceived
const QColor Palette[] = {QColor(0x44, 0x01, 0x54), QColor(0x3b, 0x52, 0x8b), QColor(0x21, 0x91, 0x8c),
                          QColor(0x5e, 0xc9, 0x62), QColor(0xfd, 0xe7, 0x25)};
const QColor SansEssai(0xc8, 0xc8, 0xc8);
constexpr int LargeurLegende = 14;

QColor CouleurTaux(double taux) {
    if (taux < 0) return SansEssai;
    const double x = std::clamp(taux, 0.0, 1.0) * 4;
    const int i = std::min(3, int(x));
    const double f = x - i;
    const QColor& a = Palette[i];
    const QColor& b = Palette[i + 1];
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                            float(a.greenF() + (b.greenF() - a.greenF()) * f),
                            float(a.blueF() + (b.blueF() - a.blueF()) * f));
}

QLocale Locale() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

// a value of a row: whole numbers when the cue value and the step are whole
QString TexteValeur(const TGrilleDifficulte& g, const TQueueDegres& q, int param, int k) {
    const double inc = g.Increment[param], centre = q.Valeur(param);
    const bool entiers =
        std::abs(inc - std::round(inc)) < 1e-6 && std::abs(centre - std::round(centre)) < 1e-6;
    return Locale().toString(centre + k * inc, 'f', entiers ? 0 : 2);
}

QString TextePourcent(double taux) { return Locale().toString(taux * 100, 'f', 0) + QStringLiteral(" %"); }

}  // namespace

// ---- the drawing ----

TDessinCarte::TDessinCarte(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TDessinCarte::SetCarte(const TCarteReussites* carte, const TGrilleDifficulte* grille,
                            const TQueueDegres* queue) {
    carte_ = carte;
    grille_ = grille;
    queue_ = queue;
    update();
}

QRect TDessinCarte::ZoneCellules(const QRect& zone) const {
    const QFontMetrics fm(font());
    const int ligne = fm.height();
    const int gauche = fm.horizontalAdvance(QStringLiteral("-0000,00")) + ligne + 8;
    const int droite = LargeurLegende + fm.horizontalAdvance(QStringLiteral("100 %")) + 16;
    return zone.adjusted(gauche, ligne + 8, -droite, -(2 * ligne + 10));
}

bool TDessinCarte::CelluleEn(const QPoint& point, int& ix, int& iy) const {
    if (!carte_) return false;
    const QRect c = ZoneCellules(rect());
    if (c.width() <= 0 || c.height() <= 0 || !c.contains(point)) return false;
    ix = std::clamp(int(double(point.x() - c.left()) * carte_->NbX / c.width()), 0, carte_->NbX - 1);
    // the vertical axis grows upwards
    iy = std::clamp(carte_->NbY - 1 - int(double(point.y() - c.top()) * carte_->NbY / c.height()), 0,
                    carte_->NbY - 1);
    return true;
}

void TDessinCarte::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (Perimee) p.setOpacity(0.35);
    Dessine(p, rect());
}

bool TDessinCarte::event(QEvent* e) {
    // the figures of the cell under the mouse
    if (e->type() == QEvent::ToolTip && carte_) {
        auto* aide = static_cast<QHelpEvent*>(e);
        int ix = 0, iy = 0;
        if (!CelluleEn(aide->pos(), ix, iy)) {
            QToolTip::hideText();
            return true;
        }
        const auto valeur = [&](int param, int k) {
            return TDifficulteCarte::NomParam(param) + QLatin1Char(' ') +
                   TexteValeur(*grille_, *queue_, param, k) + QLatin1Char(' ') +
                   TDifficulteCarte::UniteParam(param);
        };
        QString texte = valeur(carte_->ParamX, carte_->DecalageX(ix)) + QStringLiteral(", ") +
                        valeur(carte_->ParamY, carte_->DecalageY(iy)) + QLatin1Char('\n');
        const std::int64_t essais = carte_->EssaisEn(ix, iy);
        if (essais == 0)
            texte += QStringLiteral("aucun essai (vitesse ou masse inférieure à 0,1)");
        else
            texte += QStringLiteral("%1 réussis sur %2 essais (%3)")
                         .arg(carte_->ReussisEn(ix, iy))
                         .arg(essais)
                         .arg(TextePourcent(carte_->Taux(ix, iy)));
        QToolTip::showText(aide->globalPos(), texte, this);
        return true;
    }
    return QWidget::event(e);
}

void TDessinCarte::Dessine(QPainter& p, const QRect& zone) const {
    p.fillRect(zone, palette().color(QPalette::Base));
    if (!carte_ || !grille_ || !queue_) return;
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const QRect cellules = ZoneCellules(zone);
    if (cellules.width() < carte_->NbX || cellules.height() < 4) return;
    DessineTitre(p, zone);
    DessineCellules(p, cellules);
    DessineGraduations(p, zone, cellules);
    DessineTitresAxes(p, zone, cellules);
    DessineLegende(p, zone, cellules);
}

QPointF TDessinCarte::CentreCellule(const QRect& cellules, int ix, int iy) const {
    const double lx = double(cellules.width()) / carte_->NbX, ly = double(cellules.height()) / carte_->NbY;
    return {cellules.left() + (ix + 0.5) * lx, cellules.bottom() + 1 - (iy + 0.5) * ly};
}

void TDessinCarte::DessineTitre(QPainter& p, const QRect& zone) const {
    // the two axes and the totals
    const TCarteReussites& c = *carte_;
    const int ligne = QFontMetrics(font()).height();
    p.drawText(QRect(zone.left(), zone.top() + 2, zone.width(), ligne), Qt::AlignCenter,
               QStringLiteral("taux de réussite : %1 × %2   (%3 réussis sur %4 essais)")
                   .arg(TDifficulteCarte::NomParam(c.ParamX), TDifficulteCarte::NomParam(c.ParamY))
                   .arg(c.TotalReussis())
                   .arg(c.TotalEssais()));
}

void TDessinCarte::DessineCellules(QPainter& p, const QRect& cellules) const {
    const TCarteReussites& c = *carte_;
    // the cells, one pixel each, stretched without smoothing
    QImage image(c.NbX, c.NbY, QImage::Format_RGB32);
    for (int iy = 0; iy < c.NbY; ++iy)
        for (int ix = 0; ix < c.NbX; ++ix)
            image.setPixelColor(ix, c.NbY - 1 - iy, CouleurTaux(c.Taux(ix, iy)));
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(cellules, image);
    p.restore();
    p.drawRect(cellules.adjusted(0, 0, -1, -1));

    // the current cue: its cell framed (at least a few pixels), white inside black
    const double lx = double(cellules.width()) / c.NbX, ly = double(cellules.height()) / c.NbY;
    const double w = std::max(lx, 7.0), h = std::max(ly, 7.0);
    const QPointF centre = CentreCellule(cellules, c.NbX / 2, c.NbY / 2);
    const QRectF marque(centre.x() - w / 2, centre.y() - h / 2, w, h);
    const QPen texte = p.pen();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(marque);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawRect(marque);
    p.setPen(texte);
}

void TDessinCarte::DessineGraduations(QPainter& p, const QRect& zone, const QRect& cellules) const {
    const TCarteReussites& c = *carte_;
    const QFontMetrics fm(font());
    const int ligne = fm.height();
    const double lx = double(cellules.width()) / c.NbX, ly = double(cellules.height()) / c.NbY;
    // the cue's value always, others as far apart as their labels need
    const auto pas = [](double place, int besoin) {
        return std::max(1, int(std::ceil(besoin / std::max(place, 0.01))));
    };
    const int largeurEtiquette =
        fm.horizontalAdvance(TexteValeur(*grille_, *queue_, c.ParamX, c.NbX / 2)) + 10;
    const int px = pas(lx, largeurEtiquette), py = pas(ly, ligne + 2);
    for (int k = -(c.NbX / 2); k <= c.NbX / 2; ++k) {
        if (k % px != 0) continue;
        const int x = int(std::lround(CentreCellule(cellules, k + c.NbX / 2, 0).x()));
        p.drawLine(x, cellules.bottom() + 1, x, cellules.bottom() + 4);
        p.drawText(QRect(x - 60, cellules.bottom() + 5, 120, ligne), Qt::AlignHCenter | Qt::AlignTop,
                   TexteValeur(*grille_, *queue_, c.ParamX, k));
    }
    for (int k = -(c.NbY / 2); k <= c.NbY / 2; ++k) {
        if (k % py != 0) continue;
        const int y = int(std::lround(CentreCellule(cellules, 0, k + c.NbY / 2).y()));
        p.drawLine(cellules.left() - 4, y, cellules.left() - 1, y);
        p.drawText(QRect(zone.left(), y - ligne / 2, cellules.left() - zone.left() - 6, ligne),
                   Qt::AlignRight | Qt::AlignVCenter, TexteValeur(*grille_, *queue_, c.ParamY, k));
    }
}

void TDessinCarte::DessineTitresAxes(QPainter& p, const QRect& zone, const QRect& cellules) const {
    // each axis with its unit
    const int ligne = QFontMetrics(font()).height();
    const auto titre = [](int param) {
        return TDifficulteCarte::NomParam(param) + QStringLiteral(" (") +
               TDifficulteCarte::UniteParam(param) + QLatin1Char(')');
    };
    p.drawText(QRect(cellules.left(), cellules.bottom() + ligne + 6, cellules.width(), ligne),
               Qt::AlignCenter, titre(carte_->ParamX));
    p.save();
    p.translate(zone.left() + 2, cellules.center().y());
    p.rotate(-90);
    p.drawText(QRect(-cellules.height() / 2, 0, cellules.height(), ligne), Qt::AlignCenter,
               titre(carte_->ParamY));
    p.restore();
}

void TDessinCarte::DessineLegende(QPainter& p, const QRect& zone, const QRect& cellules) const {
    const int ligne = QFontMetrics(font()).height();
    // the colour scale from 0 to 100 %
    const QRect barre(cellules.right() + 10, cellules.top(), LargeurLegende, cellules.height());
    QLinearGradient degrade(barre.bottomLeft(), barre.topLeft());
    for (int i = 0; i <= 4; ++i) degrade.setColorAt(i / 4.0, Palette[i]);
    p.fillRect(barre, degrade);
    p.drawRect(barre.adjusted(0, 0, -1, -1));
    const int xTexte = barre.right() + 4;
    for (double t : {0.0, 0.5, 1.0}) {
        const int y = int(std::lround(barre.bottom() - t * (barre.height() - 1)));
        p.drawText(QRect(xTexte, y - ligne / 2, zone.right() - xTexte, ligne),
                   Qt::AlignLeft | Qt::AlignVCenter, TextePourcent(t));
    }
    // and the grey of the cells without trials, when there are some
    const std::vector<std::int64_t>& essais = carte_->Essais;
    if (std::find(essais.begin(), essais.end(), 0) != essais.end()) {
        const QRect gris(cellules.left(), zone.bottom() - ligne + 2, ligne - 4, ligne - 4);
        p.fillRect(gris, SansEssai);
        p.drawRect(gris);
        p.drawText(QRect(gris.right() + 4, zone.bottom() - ligne, 300, ligne),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("aucun essai"));
    }
}

// ---- the panel: axes, picture, export ----

QString TDifficulteCarte::NomParam(int p) {
    static const char* const noms[] = {"Effet", "Hauteur", "Angle visée", "Vitesse", "Inclinaison", "Masse"};
    return QString::fromUtf8(noms[std::clamp(p, 0, NbParamsEssai - 1)]);
}

QString TDifficulteCarte::UniteParam(int p) {
    static const char* const unites[] = {"cm", "cm", "°", "cm/s", "°", "g"};
    return QString::fromUtf8(unites[std::clamp(p, 0, NbParamsEssai - 1)]);
}

TDifficulteCarte::TDifficulteCarte(QWidget* parent) : QWidget(parent) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(0, 0, 0, 0);
    auto* axes = new QHBoxLayout;
    AxeXCbx = new QComboBox(this);
    AxeYCbx = new QComboBox(this);
    for (QComboBox* b : {AxeXCbx, AxeYCbx})
        for (int p = 0; p < NbParamsEssai; ++p) b->addItem(NomParam(p));
    AxeXCbx->setObjectName(QStringLiteral("AxeXCbx"));
    AxeYCbx->setObjectName(QStringLiteral("AxeYCbx"));
    AxeXCbx->setCurrentIndex(peEffet);
    AxeYCbx->setCurrentIndex(peHauteur);
    PoseBulle(AxeXCbx, QStringLiteral("axe horizontal|paramètre de la queue en abscisse de la carte"));
    PoseBulle(AxeYCbx, QStringLiteral("axe vertical|paramètre de la queue en ordonnée de la carte"));
    ExporteBtn = new QToolButton(this);
    ExporteBtn->setObjectName(QStringLiteral("ExporteBtn"));
    ExporteBtn->setText(QStringLiteral("exporter"));
    ExporteBtn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ExporteBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PoseBulle(ExporteBtn, QStringLiteral("exporter l'image|enregistre la carte des réussites en image PNG"));
    axes->addWidget(new QLabel(QStringLiteral("horizontal :"), this));
    axes->addWidget(AxeXCbx);
    axes->addWidget(new QLabel(QStringLiteral("vertical :"), this));
    axes->addWidget(AxeYCbx);
    axes->addStretch(1);
    axes->addWidget(ExporteBtn);
    pile->addLayout(axes);

    Dessin = new TDessinCarte(this);
    Dessin->setObjectName(QStringLiteral("Dessin"));
    pile->addWidget(Dessin, 1);
    RaisonLbl = new QLabel(this);
    RaisonLbl->setObjectName(QStringLiteral("RaisonLbl"));
    RaisonLbl->setAlignment(Qt::AlignCenter);
    RaisonLbl->setWordWrap(true);
    pile->addWidget(RaisonLbl, 1);

    DemandeNomPng = [this] {
        return DemandeFichierEnregistrer(this, QStringLiteral("exporter la carte"),
                                         QStringLiteral("images PNG (*.png)"));
    };
    connect(AxeXCbx, &QComboBox::activated, this, [this] { AxeChange(AxeXCbx); });
    connect(AxeYCbx, &QComboBox::activated, this, [this] { AxeChange(AxeYCbx); });
    connect(ExporteBtn, &QToolButton::clicked, this, [this] { ExporteBtnClick(); });
    Efface(QStringLiteral("la carte des réussites s'affiche après un calcul complet"));
}

void TDifficulteCarte::Montre(const TGrilleDifficulte& grille, const TQueueDegres& queue,
                              std::vector<std::int64_t> reussites) {
    grille_ = grille;
    queue_ = queue;
    reussites_ = std::move(reussites);
    aCarte_ = true;
    Dessin->Perimee = false;
    Recompte();
    RaisonLbl->hide();
    Dessin->show();
    for (QWidget* w :
         {static_cast<QWidget*>(AxeXCbx), static_cast<QWidget*>(AxeYCbx), static_cast<QWidget*>(ExporteBtn)})
        w->setEnabled(true);
}

void TDifficulteCarte::SetPerimee(bool perimee) {
    if (!aCarte_ || perimee == Dessin->Perimee) return;
    Dessin->Perimee = perimee;
    RaisonLbl->setText(QStringLiteral("position modifiée — relancer"));
    RaisonLbl->setVisible(perimee);
    Dessin->update();
}

void TDifficulteCarte::Efface(const QString& raison) {
    Dessin->Perimee = false;
    aCarte_ = false;
    reussites_.clear();
    // the axes chosen stay for the next map
    carte_ = {};
    carte_.ParamX = AxeXCbx->currentIndex();
    carte_.ParamY = AxeYCbx->currentIndex();
    Dessin->SetCarte(nullptr, nullptr, nullptr);
    Dessin->hide();
    RaisonLbl->setText(raison);
    RaisonLbl->show();
    ExporteBtn->setEnabled(false);
}

void TDifficulteCarte::ChoisitAxes(int x, int y) {
    if (x == y || x < 0 || y < 0 || x >= NbParamsEssai || y >= NbParamsEssai) return;
    AxeXCbx->setCurrentIndex(x);
    AxeYCbx->setCurrentIndex(y);
    Recompte();
}

void TDifficulteCarte::AxeChange(QComboBox* change) {
    // one parameter cannot be both axes: the other axis takes the one given up
    const int x = AxeXCbx->currentIndex(), y = AxeYCbx->currentIndex();
    if (x == y) {
        QComboBox* autre = change == AxeXCbx ? AxeYCbx : AxeXCbx;
        const int ancien = change == AxeXCbx ? carte_.ParamX : carte_.ParamY;
        autre->setCurrentIndex(ancien != x ? ancien : (x + 1) % NbParamsEssai);
    }
    Recompte();
}

void TDifficulteCarte::Recompte() {
    carte_.ParamX = AxeXCbx->currentIndex();
    carte_.ParamY = AxeYCbx->currentIndex();
    if (!aCarte_) return;
    carte_ = CompteCarte(grille_, queue_, reussites_, AxeXCbx->currentIndex(), AxeYCbx->currentIndex());
    Dessin->SetCarte(&carte_, &grille_, &queue_);
}

QImage TDifficulteCarte::Image(const QSize& taille) const {
    QImage image(taille, QImage::Format_RGB32);
    image.fill(Dessin->palette().color(QPalette::Base));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Dessin->Dessine(p, QRect(QPoint(0, 0), taille));
    return image;
}

bool TDifficulteCarte::ExportePng(const QString& nom, QString* erreur) const {
    // encoded in memory, then saved as every file is: no half-written picture, and a device or
    // a protected file at the target is refused
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    if (!Image({800, 600}).save(&tampon, "PNG")) {
        if (erreur) *erreur = QStringLiteral("image impossible à encoder");
        return false;
    }
    std::string raison;
    if (!EcritFichierAtomique(nom.toStdString(), std::string_view(octets.constData(), size_t(octets.size())),
                              &raison)) {
        if (erreur) *erreur = QString::fromStdString(raison);
        return false;
    }
    return true;
}

void TDifficulteCarte::ExporteBtnClick() {
    if (!aCarte_ || !DemandeNomPng) return;
    QString nom = DemandeNomPng();
    if (nom.isEmpty()) return;
    // the extension is always ".png"
    const QFileInfo f(nom);
    if (f.suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) != 0)
        nom = f.dir().filePath(f.completeBaseName() + QStringLiteral(".png"));
    QString erreur;
    if (!ExportePng(nom, &erreur))
        QMessageBox::critical(this, QStringLiteral("exporter la carte"),
                              QStringLiteral("Impossible d'écrire %1 :\n%2").arg(nom, erreur));
}
