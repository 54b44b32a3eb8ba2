#pragma once

#include "Verlauf.h"

#include "Uebungsfenster.h"

class QLabel;
class Fragenliste;
class QPushButton;

// The review of a topic's latest quiz or drill: each question with the answer chosen and the
// correct one, the wrong ones first, each wrong one with its explanation. The loaded topic gives
// the texts; a question edited since the run is named as such. Escape or "&Schließen" close it.
class frmRueckblick : public Uebungsfenster {
    Q_OBJECT
public:
    frmRueckblick(QWidget* eltern, const QList<Verlauf::Eintrag>& lauf);

    QLabel* bez_Titel;
    QLabel* bez_Lauf;
    Fragenliste* LView_Fragen;
    QLabel* bez_Hinweis;
    QPushButton* cmd_Schliessen;

private:
    void fuelle(const QList<Verlauf::Eintrag>& lauf);
};
