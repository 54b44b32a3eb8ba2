#include "frmLernen.h"

#include "Bildknopf.h"
#include "Bilder.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Meldung.h"
#include "Textfeld.h"
#include "Twips.h"
#include "practice/Erlaeuterungsaufruf.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString kWeiter = QStringLiteral("&Weiter");
const QString kNaechste = QStringLiteral("&Nächste Frage");
const QString kZurueck = QStringLiteral("&Zurück");
} // namespace

frmLernen::frmLernen(QWidget* eltern)
    : Modalfenster(eltern, QStringLiteral("frmLernen"), QStringLiteral("Lernen"), 7860, 3675)
{

    cmd_NFrage = new QPushButton(kWeiter, this);
    cmd_NFrage->setObjectName(QStringLiteral("cmd_NFrage"));
    Twips::setze(cmd_NFrage, 5760, 3120, 1335, 375);

    cmd_Abbrechen = new Bildknopf(this);
    cmd_Abbrechen->setObjectName(QStringLiteral("cmd_Abbrechen"));
    Twips::setze(cmd_Abbrechen, 7320, 3120, 375, 375);

    Text_Antwort = new Textfeld(Textfeld::Art::Antwort, this);
    Text_Antwort->setObjectName(QStringLiteral("Text_Antwort"));
    Twips::setze(Text_Antwort, 120, 1680, 7575, 1215);

    Text_Frage = new Textfeld(Textfeld::Art::Frage, this);
    Text_Frage->setObjectName(QStringLiteral("Text_Frage"));
    Twips::setze(Text_Frage, 120, 600, 7575, 855);

    bez_Nummer = new QLabel(QStringLiteral("Frage 1 / 1"), this);
    bez_Nummer->setObjectName(QStringLiteral("bez_Nummer"));
    Twips::setze(bez_Nummer, 120, 3120, 1575, 375);
    bez_Nummer->setFont(arial(9.75));
    bez_Nummer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    bez_Titel = new QLabel(QStringLiteral("(Titel)"), this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 120, 120, 7455, 375);
    bez_Titel->setFont(arial(12, true));
    bez_Titel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    for (QLabel* label : {bez_Nummer, bez_Titel})
        label->setTextFormat(Qt::PlainText);

    connect(cmd_NFrage, &QPushButton::clicked, this, &frmLernen::cmd_NFrage_Click);
    connect(cmd_Abbrechen, &QPushButton::clicked, this, &frmLernen::cmd_Abbrechen_Click);
    // The explanation while the answer is shown, not before.
    Erlaeuterungsaufruf::anhaengen(this, Text_Frage, [this]() -> std::optional<Katalogfrage> {
        if (cmd_NFrage->text() == kWeiter)
            return std::nullopt;
        return Katalogfrage::ausBank(katalog(), lauf().AktFrage);
    });

    lauf().AktFrage = 1;
    ZeigeFrage();
    cmd_NFrage->setFocus();
}

void frmLernen::ZeigeFrage()
{
    const Katalog& bank = katalog();
    const int n = lauf().AktFrage;
    bez_Titel->setText(bank.Thema);
    bez_Nummer->setText(QStringLiteral("Frage: %1/%2").arg(n).arg(bank.AnzahlFragen));
    Text_Antwort->setzeText(QStringLiteral(" "));
    Text_Frage->setzeText(bank.Frage(n));
}

// A correct-answer number outside 1 to 4 shows no answer text rather than another answer.
void frmLernen::ZeigeAntwort()
{
    const int n = lauf().AktFrage;
    Text_Antwort->setzeText(katalog().Antwort(n, katalog().Loesung(n)));
}

void frmLernen::cmd_NFrage_Click()
{
    const QString zustand = cmd_NFrage->text();
    if (zustand == kNaechste) {
        ++lauf().AktFrage;
        cmd_NFrage->setText(kWeiter);
        ZeigeFrage();
    } else if (zustand == kWeiter) {
        cmd_NFrage->setText(lauf().AktFrage < katalog().AnzahlFragen ? kNaechste : kZurueck);
        ZeigeAntwort();
    } else if (zustand == kZurueck) {
        accept();
    }
}

void frmLernen::cmd_Abbrechen_Click()
{
    if (Meldung::zeige(this, QStringLiteral("Möchten Sie das Lernen wirklich beenden ?"), QStringLiteral("Beenden ?"),
                       Meldung::Knoepfe::JaNein) == Meldung::Antwort::Ja)
        reject();
}

