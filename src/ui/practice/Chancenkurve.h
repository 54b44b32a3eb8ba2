#pragma once

#include "Lernstand.h"

#include <QWidget>

// The chance to pass at the end of each of the last days, as a line in the green of the bars,
// over a white field in a thin frame, with 0 %, the pass line and 100 % written at the left and
// the first day and today below. The pass line is at 50 %: above it a sheet drawn that day was
// more likely passed than failed, which needs no further rule to read.
class Chancenkurve : public QWidget {
public:
    static constexpr double Passlinie = 0.5;

    explicit Chancenkurve(QWidget* eltern) : QWidget(eltern) {}

    // Also sets the description a screen reader gives: the first day's value and today's.
    void setze(const QList<Lernstand::Tag>& tage);

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    QList<Lernstand::Tag> m_tage;
};
