// What every tool window shares: a sizeable window that stays on top of the main window, created
// hidden, whose closing is reported (the main window unchecks its "&Outils" item) and whose F1
// shows its help topic through its host.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

#include "tools/HoteOutils.h"

class TFenetreOutil : public QWidget {
    Q_OBJECT

public:
    // parent: the main window, above which the tool stays (none: a window of its own)
    TFenetreOutil(THoteOutils& hote, QWidget* parent, const QString& titre, int contexteAide);

    int ContexteAide() const { return contexteAide_; }
    THoteOutils& Hote() const { return hote_; }

signals:
    // the user closed the window
    void Fermee();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    THoteOutils& hote_;
    int contexteAide_;
};

// where a tool window shown for the first time goes (its frame's top-left corner): beside the main
// window on the right when the screen has room there, else on its left, else along the screen's
// edges; never over the middle of the table nor over the main window's panel (fire button, results),
// and away from the windows already placed when it can
QPoint PlaceOutil(const QRect& ecran, const QRect& principale, const QRect& table, const QSize& taille,
                  const QList<QRect>& placees, const QRect& panneau = {});
