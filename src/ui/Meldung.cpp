#include "Meldung.h"

#include "Twips.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <deque>

namespace {

struct Seam {
    bool automatisch = false;
    std::deque<Meldung::Antwort> antworten;
    QList<Meldung::Eintrag> gefragt;
};

Seam& seam()
{
    static Seam s;
    return s;
}

// A small message box of our own rather than QMessageBox: its buttons stay in the order
// "Ja", "Nein" on every desktop, and it has no icon.
class Meldungsfenster : public QDialog {
public:
    Meldungsfenster(QWidget* eltern, const QString& text, const QString& titel, Meldung::Knoepfe knoepfe)
        : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              (knoepfe == Meldung::Knoepfe::Ok ? Qt::WindowCloseButtonHint : Qt::WindowType(0)))
    {
        setWindowTitle(titel);
        setFont(dialogschrift());
        auto* textfeld = new QLabel(this);
        textfeld->setTextFormat(Qt::PlainText);
        textfeld->setText(alsAnzeige(text));
        textfeld->setWordWrap(false);
        textfeld->setObjectName(QStringLiteral("text"));

        auto* knopfzeile = new QHBoxLayout;
        knopfzeile->addStretch();
        if (knoepfe == Meldung::Knoepfe::Ok) {
            auto* ok = knopf(QStringLiteral("OK"), Meldung::Antwort::Ok);
            knopfzeile->addWidget(ok);
            m_escape = Meldung::Antwort::Ok;
        } else {
            auto* ja = knopf(QStringLiteral("&Ja"), Meldung::Antwort::Ja);
            auto* nein = knopf(QStringLiteral("&Nein"), Meldung::Antwort::Nein);
            knopfzeile->addWidget(ja);
            knopfzeile->addWidget(nein);
            if (knoepfe == Meldung::Knoepfe::JaNeinVorgabeNein) {
                ja->setDefault(false);
                nein->setDefault(true);
                nein->setFocus();
            }
            m_escape = Meldung::Antwort::Nein;
        }
        knopfzeile->addStretch();

        auto* spalte = new QVBoxLayout(this);
        spalte->setContentsMargins(Twips::px(300), Twips::px(300), Twips::px(300), Twips::px(180));
        spalte->setSpacing(Twips::px(300));
        spalte->addWidget(textfeld);
        spalte->addLayout(knopfzeile);
        spalte->setSizeConstraint(QLayout::SetFixedSize);
    }

    Meldung::Antwort antwort() const { return m_antwort; }

protected:
    void reject() override
    {
        m_antwort = m_escape;
        QDialog::reject();
    }

private:
    QPushButton* knopf(const QString& beschriftung, Meldung::Antwort antwort)
    {
        auto* k = new QPushButton(beschriftung, this);
        k->setMinimumWidth(Twips::px(1335));
        if (!m_erster) {
            k->setDefault(true);
            k->setFocus();
            m_erster = k;
        }
        connect(k, &QPushButton::clicked, this, [this, antwort] {
            m_antwort = antwort;
            accept();
        });
        return k;
    }

    QPushButton* m_erster = nullptr;
    Meldung::Antwort m_antwort = Meldung::Antwort::Ok;
    Meldung::Antwort m_escape = Meldung::Antwort::Ok;
};

} // namespace

Meldung::Antwort Meldung::zeige(QWidget* eltern, const QString& text, const QString& titel, Knoepfe knoepfe)
{
    Seam& s = seam();
    if (s.automatisch) {
        s.gefragt.append({text, titel, knoepfe});
        Antwort antwort = knoepfe == Knoepfe::Ok ? Antwort::Ok : Antwort::Nein;
        if (!s.antworten.empty()) {
            antwort = s.antworten.front();
            s.antworten.pop_front();
        }
        return antwort;
    }
    Meldungsfenster fenster(eltern, text, titel, knoepfe);
    fenster.exec();
    return fenster.antwort();
}

void Meldung::beantworteAutomatisch() { seam().automatisch = true; }

void Meldung::setzeNaechsteAntwort(Antwort antwort) { seam().antworten.push_back(antwort); }

QList<Meldung::Eintrag> Meldung::gefragt() { return seam().gefragt; }

void Meldung::vergiss()
{
    seam().gefragt.clear();
    seam().antworten.clear();
}
