#pragma once

#include "Lernstand.h"

#include "Uebungsfenster.h"

#include <array>

class Balken;
class Chancenkurve;
class QLabel;
class QPushButton;

// The learning progress: one row per topic with its questions, how many were answered at
// least once, how many were right the last time, and a bar of right, wrong and never answered;
// a total below; the chance to pass the simulated exam sheet today, how sure that is and what
// it means; what is due today; the chance over the last 60 days; and how the learner's exam
// sheets went against the chance shown before each.
class frmLernstand : public Uebungsfenster {
    Q_OBJECT
public:
    frmLernstand(QWidget* eltern, const Lernstand& stand, const Pruefungsregel& regel);

    // A chance in whole per cent; "unter 1 %" and "über 99 %" at the ends, which no estimate can
    // promise as 0 or 100.
    static QString prozent(double chance);
    // The sentence under the figure: what it means, in everyday words.
    static QString grundlage(const Lernstand& stand, const Pruefungsregel& regel);
    // When the next question falls due, for "ist ... fällig": "morgen ab 18:30 Uhr".
    static QString wann(const QDateTime& zeit, const QDate& heute);
    static QString naechste(const QDateTime& zeit, const QDate& heute);

    QLabel* bez_Titel;
    std::array<QLabel*, 13> bez_Thema{};       // 1 to 11, 12 the total
    std::array<QLabel*, 13> bez_Fragen{};
    std::array<QLabel*, 13> bez_Beantwortet{};
    std::array<QLabel*, 13> bez_Richtig{};
    std::array<Balken*, 13> Balken_Stand{};
    QLabel* bez_Chance;
    QLabel* bez_Spanne;
    QLabel* bez_Grundlage;
    QLabel* bez_Faellig;
    QLabel* bez_Kurve;
    Chancenkurve* Kurve_Chance;
    QLabel* bez_Boegen;
    QPushButton* cmd_Schliessen;
};
