// Jog dial: a horizontal scale that scrolls under a fixed marker. The scale shows `ouverture` units
// across the whole width, with big marks every `pas` and small marks every `petitPas` hanging from the
// top edge. Dragging moves the scale with the mouse (one width = one aperture, a fiftieth of that when
// the press is in the fine strip along the top edge); the wheel and the keyboard step the value.
#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

class TMolette : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double valeur READ valeur WRITE setValeur NOTIFY valeurChangee)
    Q_PROPERTY(double ouverture READ ouverture WRITE setOuverture)
    Q_PROPERTY(double pas READ pas WRITE setPas)
    Q_PROPERTY(double petitPas READ petitPas WRITE setPetitPas)
    Q_PROPERTY(int hauteurGrandeMarque READ hauteurGrandeMarque WRITE setHauteurGrandeMarque)
    Q_PROPERTY(int hauteurPetiteMarque READ hauteurPetiteMarque WRITE setHauteurPetiteMarque)
    Q_PROPERTY(int decimales READ decimales WRITE setDecimales)
    Q_PROPERTY(double pasMolette READ pasMolette WRITE setPasMolette)
    Q_PROPERTY(QColor couleurRepere READ couleurRepere WRITE setCouleurRepere)
    Q_PROPERTY(bool asservie READ asservie WRITE setAsservie)

public:
    explicit TMolette(QWidget* parent = nullptr);

    double valeur() const { return valeur_; }
    // stores a value (non-finite values are ignored); valeurChangee fires when it differs
    void setValeur(double v);

    // value span shown across the whole width; also the value change of a full-width drag
    double ouverture() const { return ouverture_; }
    void setOuverture(double v);
    // distance between labelled big marks
    double pas() const { return pas_; }
    void setPas(double v);
    // distance between small marks; also the keyboard step
    double petitPas() const { return petitPas_; }
    void setPetitPas(double v);
    // one call for a scale change (the table tuning wheel picks a scale per value)
    void setEchelle(int decimales, double pas, double petitPas, double ouverture);

    int hauteurGrandeMarque() const { return hauteurGrande_; }
    void setHauteurGrandeMarque(int px);
    // also the height of the fine strip along the top edge
    int hauteurPetiteMarque() const { return hauteurPetite_; }
    void setHauteurPetiteMarque(int px);
    // decimals of the scale labels
    int decimales() const { return decimales_; }
    void setDecimales(int n);

    // value change of one wheel notch (120 eighths of a degree), a tenth of it in the fine strip
    double pasMolette() const { return pasMolette_; }
    void setPasMolette(double v) { pasMolette_ = v; }

    // colour of the fixed marker; an invalid colour uses the palette's highlight
    QColor couleurRepere() const { return couleurRepere_; }
    void setCouleurRepere(const QColor& c);

    // when true the dial does not move on its own: user actions only emit valeurDemandee and the
    // owner, which keeps the value, answers with setValeur (the value may be clamped or refused)
    bool asservie() const { return asservie_; }
    void setAsservie(bool a) { asservie_ = a; }

    // value change per pixel of a drag started at height y
    double ratioGlisse(int y) const;
    // value change of a wheel turn of angleDelta eighths of a degree over height y
    double ecartMolette(int angleDelta, int y) const;
    // applies a wheel turn as if it happened over point pos (for wheel events forwarded by a window)
    void tourneMolette(int angleDelta, QPoint pos);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // the value changed, whoever changed it
    void valeurChangee(double valeur);
    // the user asks for this value (drag, wheel, keys); not emitted by setValeur
    void valeurDemandee(double valeur);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void demande(double v);
    void dessineMarques(QPainter& p, const QRectF& zone, const QColor& encre) const;
    QString texteGraduation(double u) const;

    double valeur_ = 0.0;
    double ouverture_ = 300.0;
    double pas_ = 50.0;
    double petitPas_ = 10.0;
    int hauteurGrande_ = 15;
    int hauteurPetite_ = 8;
    int decimales_ = 0;
    double pasMolette_ = 5.0;
    QColor couleurRepere_;
    bool asservie_ = false;

    // drag state: mouse x and value at the press, value change per pixel, last value asked for
    bool glisse_ = false;
    int xDepart_ = 0;
    double valeurDepart_ = 0.0;
    double ratio_ = 0.0;
    double derniereDemande_ = 0.0;
};
