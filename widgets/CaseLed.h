// Check box drawn as a coloured LED followed by its caption: lit when checked, dark otherwise.
#pragma once

#include <QAbstractButton>
#include <QColor>

class TCaseLed : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QColor couleur READ couleur WRITE setCouleur)

public:
    explicit TCaseLed(QWidget* parent = nullptr);
    explicit TCaseLed(const QString& texte, QWidget* parent = nullptr);

    // colour of the lit LED (green unless told otherwise)
    QColor couleur() const { return couleur_; }
    void setCouleur(const QColor& c);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int diametreLed() const;
    int marge() const;

    QColor couleur_{40, 200, 60};
};
