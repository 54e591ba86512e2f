#pragma once
// A panel filled left to right with a gradient in a fixed number of flat colour bands, the
// way the old desktop panels drew it (bands, not a smooth ramp).

#include <QColor>
#include <QWidget>

class GradientPanel final : public QWidget {
    Q_OBJECT
public:
    GradientPanel(const QColor &from, const QColor &to, int steps, QWidget *parent = nullptr);

    int steps() const { return m_steps; }
    // The colour of band `band` (0 at the left edge, steps - 1 at the right one).
    QColor bandColor(int band) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_from;
    QColor m_to;
    int m_steps;
};
