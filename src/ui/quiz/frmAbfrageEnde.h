#pragma once

#include "Modalfenster.h"

#include <array>

class QLabel;
class QPushButton;

// The result of a finished quiz: the totals and the two percentages. Creating it grades the
// run and stores the grade of the topic, whatever the grade was before. A drill of the
// learner's mistakes shows its own totals and grades nothing: a topic's grade comes from a
// quiz of the whole topic only.
class frmAbfrageEnde : public Modalfenster {
    Q_OBJECT
public:
    // fragen: the questions the run asked (all of the loaded topic unless given); satz: the line
    // above the totals, for a run that is not of the loaded topic.
    explicit frmAbfrageEnde(QWidget* eltern = nullptr, int fragen = -1, bool benoten = true,
                            const QString& satz = QString());

    struct Bewertung {
        int prozentRichtig; // floored
        int prozentFalsch;  // floored, the complement of the right percentage
        qint16 note;        // 2, 3 or 4
    };
    // n questions, r answered right; n must be at least 1.
    static Bewertung bewerte(int n, int r);

    QPushButton* cmd_OK;
    QLabel* Label5;
    QLabel* Label4;
    QLabel* Label3;
    QLabel* bez_falsch;
    QLabel* bez_richtig;
    QLabel* bez_insgesamt;
    std::array<QLabel*, 3> Label{};
    QLabel* Label2;
    QLabel* Label1;

private:
    void laden(int n, bool benoten, const QString& satz);
};
