// The chart of the recorded-shot window: the distance between the recorded and the computed
// player's ball along the recording's time.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

class TGrapheEcarts : public QWidget {
    Q_OBJECT

  public:
    explicit TGrapheEcarts(QWidget* parent = nullptr);

    // (t in s, distance in cm) per sample; empty: the chart says there is nothing to show
    void SetPoints(std::vector<std::array<double, 2>> points);
    const std::vector<std::array<double, 2>>& Points() const { return points_; }
    // the top of the distance axis (cm): the largest distance rounded up, at least 1
    double MaxEchelle() const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    std::vector<std::array<double, 2>> points_;
};
