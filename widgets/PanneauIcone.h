// A status bar panel that shows a small picture followed by a text (the ball positions).
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class TPanneauIcone : public QWidget {
    Q_OBJECT

public:
    explicit TPanneauIcone(QWidget* parent = nullptr);
    TPanneauIcone(const QPixmap& icone, const QString& texte, QWidget* parent = nullptr);

    QPixmap icone() const { return icone_; }
    void setIcone(const QPixmap& icone);
    QString texte() const { return texte_; }
    void setTexte(const QString& texte);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int colonneTexte() const;

    QPixmap icone_;
    QString texte_;
};
