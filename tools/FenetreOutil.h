// What every tool window shares: a sizeable window created hidden, whose closing is reported (the
// main window unchecks its "&Outils" item) and whose F1 shows its help topic through its host. In
// the program each one lives in a dock of the main window (DockeOutil, tools/DockOutil.h); alone
// (the tests, a host without docks) it is a window of its own that stays above its parent.
#pragma once

#include <QWidget>

#include "tools/HoteOutils.h"

class QDockWidget;
class TDockOutil;

class TFenetreOutil : public QWidget {
    Q_OBJECT

public:
    // parent: the main window, above which the tool stays (none: a window of its own)
    TFenetreOutil(THoteOutils& hote, QWidget* parent, const QString& titre, int contexteAide);

    int ContexteAide() const { return contexteAide_; }
    THoteOutils& Hote() const { return hote_; }

    // the dock that carries the window, or null while it is a window of its own
    QDockWidget* Dock() const;
    // open: shown in its dock (even behind another dock's tab), floating, or as a window; a window
    // stepped aside stays open
    bool Ouverte() const;
    // Steps aside while the balls move (animation) and comes back: in a dock only the window's
    // content goes, the dock keeps its place and the table its size; floating or alone, it hides.
    // Showing the window again (show, setVisible) brings it back too.
    void SetEscamotee(bool escamotee);

    // docked, the dock carries the visibility: show() shows the dock and brings its tab to the
    // front, hide() and an accepted close() hide the dock
    void setVisible(bool visible) override;

signals:
    // the user closed the window
    void Fermee();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    friend class TDockOutil;
    THoteOutils& hote_;
    int contexteAide_;
    TDockOutil* dock_ = nullptr;
    bool escamotee_ = false;
};
