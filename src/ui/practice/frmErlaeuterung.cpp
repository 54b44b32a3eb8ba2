#include "frmErlaeuterung.h"

#include "Erlaeuterungen.h"
#include "Textfeld.h"
#include "Twips.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* ueberschrift(QWidget* eltern, const QString& name, const QString& text, int top)
{
    auto* label = new QLabel(text, eltern);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    Twips::setze(label, 240, top, 7455, 255);
    label->setFont(arial(9, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmErlaeuterung::frmErlaeuterung(QWidget* eltern, const Katalogfrage& frage)
    : Uebungsfenster(eltern, QStringLiteral("frmErlaeuterung"), QStringLiteral("Erläuterung"), 7905, 5055)
{
    bez_Frage = ueberschrift(this, QStringLiteral("bez_Frage"), QStringLiteral("Frage"), 120);

    Text_Frage = new Textfeld(Textfeld::Art::Frage, this);
    Text_Frage->setObjectName(QStringLiteral("Text_Frage"));
    Twips::setze(Text_Frage, 240, 390, 7455, 855);
    Text_Frage->setAccessibleName(QStringLiteral("Frage"));

    bez_Antwort = ueberschrift(this, QStringLiteral("bez_Antwort"), QStringLiteral("Richtige Antwort"), 1350);

    Text_Antwort = new Textfeld(Textfeld::Art::Antwort, this);
    Text_Antwort->setObjectName(QStringLiteral("Text_Antwort"));
    Twips::setze(Text_Antwort, 240, 1620, 7455, 735);
    Text_Antwort->setAccessibleName(QStringLiteral("Richtige Antwort"));

    bez_Erlaeuterung = ueberschrift(this, QStringLiteral("bez_Erlaeuterung"), QStringLiteral("Erläuterung"), 2460);

    // White, to tell it from the answer, and reached by Tab, so that a long one can be scrolled
    // with the keyboard.
    Text_Erlaeuterung = new Textfeld(Textfeld::Art::Antwort, this);
    Text_Erlaeuterung->setObjectName(QStringLiteral("Text_Erlaeuterung"));
    Twips::setze(Text_Erlaeuterung, 240, 2730, 7455, 1575);
    Text_Erlaeuterung->setAccessibleName(QStringLiteral("Erläuterung"));
    Text_Erlaeuterung->setFocusPolicy(Qt::StrongFocus);
    QPalette weiss = Text_Erlaeuterung->palette();
    weiss.setColor(QPalette::Base, palette().color(QPalette::Base));
    Text_Erlaeuterung->setPalette(weiss);

    bez_Quelle = new QLabel(this);
    bez_Quelle->setObjectName(QStringLiteral("bez_Quelle"));
    bez_Quelle->setTextFormat(Qt::PlainText);
    Twips::setze(bez_Quelle, 240, 4440, 5880, 495);
    bez_Quelle->setFont(arial(9));
    bez_Quelle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bez_Quelle->setWordWrap(true);

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 6360, 4440, 1335, 375);
    cmd_Schliessen->setDefault(true);

    setTabOrder(Text_Erlaeuterung, cmd_Schliessen);
    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    // Set while the question box can still be edited, which keeps its text centred.
    Text_Frage->setzeText(frage.frage);
    Text_Frage->setReadOnly(true);
    Text_Antwort->setzeText(frage.richtigeAntwort());
    const auto erl = Erlaeuterungen::ausDatei(frage.thema).suche(frage.frage, frage.richtigeAntwort());
    if (erl) {
        Text_Erlaeuterung->setzeText(erl->text);
        bez_Quelle->setText(erl->quelle.isEmpty() ? QString() : QStringLiteral("Quelle: ") + erl->quelle);
    } else {
        Text_Erlaeuterung->setzeText(
            QStringLiteral("Zu dieser Frage gibt es noch keine Erläuterung.\r\n\r\nErläuterungen stehen in der Datei "
                           "%1 im Ordner des Programms; wie man sie schreibt, steht in Readme.txt.")
                .arg(QFileInfo(Erlaeuterungen::dateiname(frage.thema)).fileName()));
    }
    cmd_Schliessen->setFocus();
}
