#pragma once

#include "Modalfenster.h"

class Bildknopf;
class QLabel;
class QPushButton;
class Textfeld;

// Learning a topic: each question, then on the next press its correct answer. The step
// button's caption is the window's state: "&Weiter" shows the answer, "&Nächste Frage" the
// next question, "&Zurück" after the last answer closes the window.
class frmLernen : public Modalfenster {
    Q_OBJECT
public:
    explicit frmLernen(QWidget* eltern = nullptr);

    void ZeigeFrage();
    void ZeigeAntwort();

    QPushButton* cmd_NFrage;
    Bildknopf* cmd_Abbrechen;
    Textfeld* Text_Antwort;
    Textfeld* Text_Frage;
    QLabel* bez_Nummer;
    QLabel* bez_Titel;

private:
    void cmd_NFrage_Click();
    void cmd_Abbrechen_Click();
};
