#include "app/FenetreOutil.h"

#include <QCloseEvent>
#include <QShortcut>

#include "app/MainVel3D.h"

TFenetreOutil::TFenetreOutil(TMainVel3DFrm& principale, const QString& titre, int contexteAide)
    : QWidget(&principale, Qt::Tool), principale_(principale), contexteAide_(contexteAide) {
    setWindowTitle(titre);
    setAttribute(Qt::WA_DeleteOnClose, false);
    hide();
    // F1 wherever the focus is inside the window
    auto* aide = new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(aide, &QShortcut::activated, this, [this] { principale_.AfficheAide(contexteAide_); });
}

void TFenetreOutil::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted()) emit Fermee();
}
