#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message box of the trainer goes through here: a German text and title, no icon,
// either "OK" or "Ja" and "Nein" (in that order, "Ja" the default; where a stray Enter would
// throw work away, "Nein" the default). Tests answer the boxes in advance and read back what
// was asked.
class Meldung {
public:
    enum class Knoepfe { Ok, JaNein, JaNeinVorgabeNein };
    enum class Antwort { Ok, Ja, Nein };

    static Antwort zeige(QWidget* eltern, const QString& text, const QString& titel, Knoepfe knoepfe = Knoepfe::Ok);

    struct Eintrag {
        QString text;
        QString titel;
        Knoepfe knoepfe;
    };

    // From now on no box is shown: each is answered with the next queued answer, or, when
    // none is queued, with "OK" or "Nein", and recorded.
    static void beantworteAutomatisch();
    static void setzeNaechsteAntwort(Antwort antwort);
    static QList<Eintrag> gefragt();
    static void vergiss();
};
