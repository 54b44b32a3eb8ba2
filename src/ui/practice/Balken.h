#pragma once

#include <QWidget>

// A topic's progress at a glance: the questions last answered right in green, those last
// answered wrong in red and those never answered in the grey of the answer-box pictures, side
// by side in proportion, drawn in a thin frame. A bar without questions stays empty.
class Balken : public QWidget {
public:
    explicit Balken(QWidget* eltern) : QWidget(eltern) {}

    void setze(int richtig, int falsch, int nie);

    static QColor richtigFarbe() { return {0, 153, 51}; }
    static QColor falschFarbe() { return {255, 0, 0}; }
    static QColor nieFarbe() { return {192, 192, 192}; }

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    int m_richtig = 0;
    int m_falsch = 0;
    int m_nie = 0;
};
