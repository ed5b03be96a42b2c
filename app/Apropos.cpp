#include "app/Apropos.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/IconesVel3D.h"

#ifndef VELMORA_VERSION
#define VELMORA_VERSION ""
#endif
#ifndef VELMORA_PROJECT_URL
#define VELMORA_PROJECT_URL ""
#endif

QString TAproposFrm::LigneVersion() {
    const QString version = QStringLiteral(VELMORA_VERSION);
    return QStringLiteral("No version ") + (version.isEmpty() ? QStringLiteral("non disponible") : version);
}

QString TAproposFrm::AdresseProjet() {
    return QStringLiteral(VELMORA_PROJECT_URL);
}

TAproposFrm::TAproposFrm(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("AproposFrm"));
    setWindowTitle(QStringLiteral("à propos de ..."));
    setModal(true);

    auto* titre = new QLabel(QStringLiteral("Velmora 3D"), this);
    QFont grande = titre->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.8);
    grande.setBold(true);
    titre->setFont(grande);
    titre->setAlignment(Qt::AlignCenter);

    auto* image = new QLabel(this);
    image->setPixmap(ImageProgramme(96, devicePixelRatioF()));
    image->setAlignment(Qt::AlignCenter);

    auto* quoi = new QLabel(QStringLiteral("simulation billard carambole\nopen source"), this);
    quoi->setAlignment(Qt::AlignCenter);

    VersionLbl = new QLabel(LigneVersion(), this);
    VersionLbl->setObjectName(QStringLiteral("VersionLbl"));
    VersionLbl->setAlignment(Qt::AlignCenter);

    // the link opens the project's page in the browser; hidden when there is none
    MisesAJourLbl = new QLabel(this);
    MisesAJourLbl->setObjectName(QStringLiteral("MisesAJourLbl"));
    MisesAJourLbl->setAlignment(Qt::AlignCenter);
    const QString adresse = AdresseProjet();
    MisesAJourLbl->setText(
        QStringLiteral("<a href=\"%1\">mises à jour sur le web</a>").arg(adresse.toHtmlEscaped()));
    MisesAJourLbl->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    MisesAJourLbl->setVisible(!adresse.isEmpty());
    connect(MisesAJourLbl, &QLabel::linkActivated, this,
            [](const QString& lien) { QDesktopServices::openUrl(QUrl(lien)); });

    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(24, 16, 24, 16);
    pile->setSpacing(10);
    for (QWidget* w :
         {static_cast<QWidget*>(titre), static_cast<QWidget*>(image), static_cast<QWidget*>(quoi),
          static_cast<QWidget*>(VersionLbl), static_cast<QWidget*>(MisesAJourLbl)})
        pile->addWidget(w);
    adjustSize();
    setFixedSize(sizeHint());

    // centred on the desktop
    if (QScreen* ecran = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
}
