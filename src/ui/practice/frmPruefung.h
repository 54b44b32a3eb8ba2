#pragma once

#include "Gesamtkatalog.h"
#include "Pruefung.h"

#include "Meldung.h"
#include "Uebungsfenster.h"

#include <array>
#include <functional>

class Bildfeld;
class QLabel;
class QPushButton;
class QTimer;
class Textfeld;

// The simulated exam: a sheet drawn across all topics, one question at a time with its four
// answers in an order fixed for the sheet. A box is crossed by a click or the keys 1 to 4 and
// can be changed, or crossed out again, until the sheet is handed in; "&Zurück" and "&Weiter"
// move freely. No verdict before the sheet is handed in, by "&Abgeben" or by the clock. A sheet
// given up by closing the window is not graded and leaves no trace.
class frmPruefung : public Uebungsfenster {
    Q_OBJECT
public:
    frmPruefung(QWidget* eltern, const Gesamtkatalog& katalog, const Pruefungsregel& regel,
                const QList<Bogenfrage>& bogen);

    // Milliseconds on a steady clock; tests put their own clock here.
    static std::function<qint64()> uhr;
    // How often the time left is looked at.
    static int taktMs;

    void zeigeFrage(int index);
    void kreuze(int kasten);
    int offen() const;
    // The numbers on the sheet of the questions left open, runs of three and more as a range:
    // "3, 7 und 12–24".
    QString offeneNummern() const;

    QLabel* bez_Stand;
    QLabel* bez_Zeit;
    Textfeld* bez_Frage;
    std::array<Bildfeld*, 5> Img_Kasten{};
    std::array<Textfeld*, 5> Text_Antwort{};
    QLabel* bez_Beantwortet;
    QPushButton* cmd_Zurueck;
    QPushButton* cmd_Weiter;
    QPushButton* cmd_Abgeben;
    QTimer* timer_Uhr;

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;
    void reject() override;

private:
    void erzeugeSteuerelemente();
    void verbindeEreignisse();
    void ticke();
    qint64 restMs() const;
    void cmd_Abgeben_Click();
    void gibAb();
    bool frage(const QString& text, const QString& titel, Meldung::Knoepfe knoepfe);

    const Gesamtkatalog& m_katalog;
    Pruefungsregel m_regel;
    QList<Bogenfrage> m_bogen;
    QList<std::array<int, 5>> m_reihenfolge; // per question: the file number of the answer in box 1 to 4
    QList<int> m_gewaehlt;                   // per question: the file number crossed, 0 while open
    int m_aktuell = 0;
    qint64 m_beginn = 0;
    bool m_fragt = false;
    bool m_abgegeben = false;
};
