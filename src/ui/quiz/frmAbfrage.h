#pragma once

#include "Modalfenster.h"

#include <array>

class Bildfeld;
class Bildknopf;
class QLabel;
class QPushButton;
class QRandomGenerator;
class QTimer;
class Textfeld;

// The quiz: every question of the loaded topic in file order, its four answers in a fresh
// random order beside four boxes. The user crosses a box (click, or a digit 1 to 4 on
// "&Kontrolle"), "&Kontrolle" judges it and counts it, and after a short pause
// "&Nächste Frage" leads on, after the last question to the result dialog.
class frmAbfrage : public Modalfenster {
    Q_OBJECT
public:
    explicit frmAbfrage(QWidget* eltern = nullptr);

    // The pause after a check; tests may shorten it.
    static int pauseMs;
    // Where the shuffle draws from; a test may pin it.
    static QRandomGenerator* zufall;

    void ZeigeFrage();
    void ZeigeStatistik();
    void Auswertung(int index);

    Textfeld* bez_Frage;
    QPushButton* cmd_Kontrolle;
    QTimer* timer_NFrage;
    Bildknopf* cmd_Abbrechen;
    std::array<Textfeld*, 5> Text_Antwort{};
    QPushButton* cmd_NFrage;
    QLabel* bez_FrInsgesamt;
    QLabel* bez_FrFalsch;
    QLabel* bez_FrRichtig;
    QLabel* bez_RichtigFalsch;
    std::array<Bildfeld*, 5> Img_Kasten{};
    QLabel* bez_Titel;

    int Auswahl = 0;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void erzeugeSteuerelemente();
    void verbindeEreignisse();

    void Img_Kasten_Click(int index);
    void cmd_Kontrolle_Click();
    void timer_NFrage_Timer();
    void cmd_NFrage_Click();
    void cmd_Abbrechen_Click();
};
