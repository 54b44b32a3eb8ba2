#pragma once

#include "Gesamtkatalog.h"

#include "Uebungsfenster.h"

class QLabel;
class QPushButton;
class Textfeld;

// Why the right answer is right: the question, its right answer and the explanation with its
// source, from the topic's explanation file, read when the window opens. A question without an
// explanation says so, and where one would be written. Escape or "&Schließen" close it.
class frmErlaeuterung : public Uebungsfenster {
    Q_OBJECT
public:
    frmErlaeuterung(QWidget* eltern, const Katalogfrage& frage);

    QLabel* bez_Frage;
    Textfeld* Text_Frage;
    QLabel* bez_Antwort;
    Textfeld* Text_Antwort;
    QLabel* bez_Erlaeuterung;
    Textfeld* Text_Erlaeuterung;
    QLabel* bez_Quelle;
    QPushButton* cmd_Schliessen;
};
