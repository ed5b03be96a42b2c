#include "tools/DockOutil.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QScrollArea>
#include <QShowEvent>

#include "tools/FenetreOutil.h"

TDockOutil::TDockOutil(TFenetreOutil& outil, QMainWindow& principale, const QString& nom)
    : QDockWidget(outil.windowTitle(), &principale), outil_(outil) {
    setObjectName(nom);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    // a dock smaller than its window scrolls rather than cutting it (small screens)
    defilement_ = new QScrollArea(this);
    defilement_->setObjectName(nom + QStringLiteral("Defilement"));
    defilement_->setFrameShape(QFrame::NoFrame);
    defilement_->setWidgetResizable(true);
    defilement_->setWidget(&outil);
    setWidget(defilement_);
    connect(&outil, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    hide();
    // shown in its dock from now on: the dock carries the visibility
    outil.QWidget::setVisible(true);
    outil.dock_ = this;
}

void TDockOutil::closeEvent(QCloseEvent* e) {
    // the window decides, and reports its closing as it does alone
    QCloseEvent question;
    QApplication::sendEvent(&outil_, &question);
    if (!question.isAccepted()) {
        e->ignore();
        return;
    }
    QDockWidget::closeEvent(e);
}

void TDockOutil::showEvent(QShowEvent* e) {
    QDockWidget::showEvent(e);
    if (!e->spontaneous()) emit OuvertureChangee();
}

void TDockOutil::hideEvent(QHideEvent* e) {
    QDockWidget::hideEvent(e);
    if (!e->spontaneous()) emit OuvertureChangee();
}

TDockOutil* DockeOutil(TFenetreOutil& outil, QMainWindow& principale, const QString& nom) {
    return new TDockOutil(outil, principale, nom);
}
