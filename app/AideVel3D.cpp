#include "app/AideVel3D.h"

#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "widgets/IconesVel3D.h"

// a text browser that reads the pages out of the help file
class TNavigateurAide : public QTextBrowser {
  public:
    TNavigateurAide(QHelpEngine& moteur, QWidget* parent) : QTextBrowser(parent), moteur_(moteur) {}

    QVariant loadResource(int type, const QUrl& nom) override {
        if (nom.scheme() == QLatin1String("qthelp")) return moteur_.fileData(nom);
        return QTextBrowser::loadResource(type, nom);
    }

  private:
    QHelpEngine& moteur_;
};

TAideVel3D::TAideVel3D(const QString& fichierCollection, QWidget* parent)
    : QWidget(parent, Qt::Window), moteur_(new QHelpEngine(fichierCollection, this)) {
    setWindowTitle(QStringLiteral("Aide de Velmora 3D"));
    setWindowIcon(IconeProgramme());
    // an installed help file is read-only
    moteur_->setReadOnly(true);
    valide_ = moteur_->setupData() && !moteur_->registeredDocumentations().isEmpty();

    onglets_ = new QTabWidget(this);
    onglets_->addTab(moteur_->contentWidget(), QStringLiteral("Sommaire"));
    onglets_->addTab(moteur_->indexWidget(), QStringLiteral("Index"));
    navigateur_ = new TNavigateurAide(*moteur_, this);
    navigateur_->setOpenExternalLinks(true);
    auto* partage = new QSplitter(this);
    partage->addWidget(onglets_);
    partage->addWidget(navigateur_);
    partage->setStretchFactor(1, 3);
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(0, 0, 0, 0);
    pile->addWidget(partage);
    resize(900, 600);

    connect(moteur_->contentWidget(), &QHelpContentWidget::linkActivated, navigateur_,
            [this](const QUrl& url) { navigateur_->setSource(url); });
    connect(moteur_->indexWidget(), &QHelpIndexWidget::documentActivated, navigateur_,
            [this](const QHelpLink& lien, const QString&) { navigateur_->setSource(lien.url); });
    connect(moteur_->indexWidget(), &QHelpIndexWidget::documentsActivated, navigateur_,
            [this](const QList<QHelpLink>& liens, const QString&) {
                if (!liens.isEmpty()) navigateur_->setSource(liens.first().url);
            });
}

TAideVel3D::~TAideVel3D() = default;

void TAideVel3D::Montre() {
    show();
    raise();
    activateWindow();
}

void TAideVel3D::Sommaire() {
    onglets_->setCurrentIndex(0);
    MontrePremierePage();
    Montre();
}

void TAideVel3D::MontrePremierePage() {
    // the first entry of the contents, once the engine has read them
    QHelpContentModel* modele = moteur_->contentModel();
    if (modele->isCreatingContents() || modele->rowCount() == 0) {
        connect(modele, &QHelpContentModel::contentsCreated, this, &TAideVel3D::MontrePremierePage,
                Qt::SingleShotConnection);
        return;
    }
    if (QHelpContentItem* premier = modele->contentItemAt(modele->index(0, 0)))
        navigateur_->setSource(premier->url());
}

void TAideVel3D::Index() {
    onglets_->setCurrentIndex(1);
    Montre();
    moteur_->indexWidget()->setFocus();
}

bool TAideVel3D::Contexte(int numero) {
    const QList<QHelpLink> pages = moteur_->documentsForIdentifier(QString::number(numero));
    if (pages.isEmpty()) return false;
    navigateur_->setSource(pages.first().url);
    Montre();
    return true;
}

QUrl TAideVel3D::PageCourante() const {
    return navigateur_->source();
}
