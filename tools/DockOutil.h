// The dock that carries a tool window in the main window. A tool window (any TFenetreOutil) goes
// into one with DockeOutil; the main window then places the dock (TMainVel3DFrm::AjouteOutil puts
// it where the default layout wants it and keeps it in the settings' layout). The window scrolls
// inside its dock when the dock is smaller than it, the dock's title follows the window's caption,
// and closing the dock asks the window first (a window that refuses, e.g. while it computes, keeps
// its dock open).
#pragma once

#include <QDockWidget>

class QMainWindow;
class QScrollArea;
class TFenetreOutil;

class TDockOutil : public QDockWidget {
    Q_OBJECT

public:
    // nom: the dock's object name, which the saved layout knows it by (keep it stable)
    TDockOutil(TFenetreOutil& outil, QMainWindow& principale, const QString& nom);

    TFenetreOutil& Outil() const { return outil_; }
    QScrollArea* Defilement() const { return defilement_; }

signals:
    // the dock was shown or hidden (not when its tab goes behind another)
    void OuvertureChangee();

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    TFenetreOutil& outil_;
    QScrollArea* defilement_ = nullptr;
};

// puts the tool window in a new dock of the main window (not yet placed in it); the dock belongs
// to the main window
TDockOutil* DockeOutil(TFenetreOutil& outil, QMainWindow& principale, const QString& nom);
