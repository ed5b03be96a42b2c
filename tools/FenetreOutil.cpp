#include "tools/FenetreOutil.h"

#include <QCloseEvent>
#include <QShortcut>

#include "tools/DockOutil.h"

TFenetreOutil::TFenetreOutil(THoteOutils& hote, QWidget* parent, const QString& titre, int contexteAide)
    : QWidget(parent, Qt::Tool), hote_(hote), contexteAide_(contexteAide) {
    setWindowTitle(titre);
    setAttribute(Qt::WA_DeleteOnClose, false);
    hide();
    // F1 wherever the focus is inside the window
    auto* aide =
        new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(aide, &QShortcut::activated, this, [this] { hote_.AfficheAide(contexteAide_); });
}

QDockWidget* TFenetreOutil::Dock() const { return dock_; }

bool TFenetreOutil::Ouverte() const { return escamotee_ || (dock_ ? !dock_->isHidden() : !isHidden()); }

void TFenetreOutil::setVisible(bool visible) {
    escamotee_ = false;
    if (!dock_) {
        QWidget::setVisible(visible);
        return;
    }
    // the content stays shown inside its dock (an earlier step aside ends here)
    if (isHidden()) QWidget::setVisible(true);
    dock_->setVisible(visible);
    if (visible) dock_->raise();
}

void TFenetreOutil::SetEscamotee(bool escamotee) {
    // a closed window has nothing to step aside
    if (escamotee == escamotee_ || (escamotee && !Ouverte())) return;
    escamotee_ = escamotee;
    if (dock_ && !dock_->isFloating())
        QWidget::setVisible(!escamotee);
    else if (dock_)
        dock_->setVisible(!escamotee);
    else
        QWidget::setVisible(!escamotee);
}

void TFenetreOutil::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted()) emit Fermee();
}
