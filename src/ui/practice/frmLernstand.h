#pragma once

#include "Lernstand.h"

#include "Uebungsfenster.h"

#include <array>

class Balken;
class QLabel;
class QPushButton;

// The learning progress: one row per topic with its questions, how many were answered at
// least once, how many were right the last time, and a bar of right, wrong and never answered;
// a total below, and the chance to pass the simulated exam sheet today with what it rests on.
class frmLernstand : public Uebungsfenster {
    Q_OBJECT
public:
    frmLernstand(QWidget* eltern, const Lernstand& stand, const Pruefungsregel& regel);

    // The sentence under the figure: what the estimate rests on, and whether it is still rough.
    static QString grundlage(const Lernstand& stand, const Pruefungsregel& regel);

    QLabel* bez_Titel;
    std::array<QLabel*, 13> bez_Thema{};       // 1 to 11, 12 the total
    std::array<QLabel*, 13> bez_Fragen{};
    std::array<QLabel*, 13> bez_Beantwortet{};
    std::array<QLabel*, 13> bez_Richtig{};
    std::array<Balken*, 13> Balken_Stand{};
    QLabel* bez_Chance;
    QLabel* bez_Grundlage;
    QPushButton* cmd_Schliessen;
};
