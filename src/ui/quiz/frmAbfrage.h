#pragma once

#include "Gesamtkatalog.h"
#include "Modalfenster.h"
#include "Verlauf.h"

#include <QList>

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
// "&Nächste Frage" leads on, after the last question to the result dialog. Every answer goes
// into the learner's answer history as it is given.
//
// A drill of the learner's mistakes, or practice across topics, is the same window asking
// another list of questions: the counter of all questions shows how many it asks, the title
// line the topic of the question shown, and its result grades nothing.
class frmAbfrage : public Modalfenster {
    Q_OBJECT
public:
    // Every question of the topic loaded in the bank, graded at the end.
    explicit frmAbfrage(QWidget* eltern = nullptr);
    // These questions in this order; titel[t] is the title of topic t.
    frmAbfrage(QWidget* eltern, const QList<Katalogfrage>& fragen, const std::array<QString, 12>& titel,
               Verlauf::Modus modus);
    // Questions of the topic loaded in the bank, by their numbers, in this order.
    static QList<Katalogfrage> ausBank(const QList<int>& nummern);

    // The question shown.
    const Katalogfrage& aktuelleFrage() const;

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

signals:
    // The result has graded the topic (a quiz of the whole topic, not a drill).
    void benotet();

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

    int anzahl() const { return int(m_fragen.size()); }
    void merke(int index, bool richtig);

    QList<Katalogfrage> m_fragen;
    std::array<QString, 12> m_titel;
    Verlauf::Modus m_modus;
    Verlauf::Schreiber m_verlauf;
};
