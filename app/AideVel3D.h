// The help window: the French help compiled for Qt Help (a collection file and its .qch), with
// its table of contents, its index and its pages; a topic is found by its help context number,
// stored in the help as a keyword identifier.
#pragma once

#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QTabWidget;
class TNavigateurAide;

class TAideVel3D : public QWidget {
    Q_OBJECT

  public:
    // the collection file must exist; Valide() tells whether it could be read
    explicit TAideVel3D(const QString& fichierCollection, QWidget* parent = nullptr);
    ~TAideVel3D() override;

    bool Valide() const { return valide_; }
    // shows the window at the table of contents, at the index, or at a topic (false when unknown)
    void Sommaire();
    void Index();
    bool Contexte(int numero);
    // address of the page shown
    QUrl PageCourante() const;

  private:
    void Montre();
    void MontrePremierePage();

    QHelpEngine* moteur_;
    QTabWidget* onglets_;
    TNavigateurAide* navigateur_;
    bool valide_ = false;
};
