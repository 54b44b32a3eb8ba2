#pragma once

#include "Gesamtkatalog.h"

#include <QObject>

#include <functional>
#include <optional>

class QTextEdit;
class QWidget;

// How the quiz and the learn window open the explanation of the question shown: F1, or the entry
// "&Erläuterung" that a right click on the question box adds below the toolkit's own entries.
// `frage` gives the question only once its right answer is shown (the verdict, the answer step);
// before that F1 does nothing and the entry is off, so that the explanation gives nothing away.
// Neither adds a control: the window keeps its layout. Afterwards the keyboard is back on the
// control that had it, or on the one the window's own flow gave it meanwhile.
class Erlaeuterungsaufruf : public QObject {
    Q_OBJECT
public:
    using Quelle = std::function<std::optional<Katalogfrage>()>;

    static void anhaengen(QWidget* fenster, QTextEdit* fragefeld, Quelle frage);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    Erlaeuterungsaufruf(QWidget* fenster, QTextEdit* fragefeld, Quelle frage);
    void zeigeMenue(const QPoint& wo);
    void oeffne();

    QWidget* m_fenster;
    QTextEdit* m_fragefeld;
    Quelle m_frage;
};
