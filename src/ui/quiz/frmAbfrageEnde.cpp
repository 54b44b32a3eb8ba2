#include "frmAbfrageEnde.h"

#include "Bilder.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Twips.h"
#include "User.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace {

QLabel* zelle(QWidget* eltern, const QString& name, const QString& text, int left, int top, int width, bool fett,
              const QColor& farbe = QColor())
{
    auto* label = new QLabel(text, eltern);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    Twips::setze(label, left, top, width, 255);
    label->setFont(arial(11.25, fett));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    if (farbe.isValid()) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, farbe);
        label->setPalette(p);
    }
    return label;
}

} // namespace

frmAbfrageEnde::frmAbfrageEnde(QWidget* eltern, int fragen, bool benoten, const QString& satz)
    : Modalfenster(eltern, QStringLiteral("frmAbfrageEnde"), QStringLiteral("Ergebnis"), 4815, 4590)
{

    const QColor gruen(0, 192, 0);
    const QColor rot(255, 0, 0);

    cmd_OK = new QPushButton(QStringLiteral("&Ok"), this);
    cmd_OK->setObjectName(QStringLiteral("cmd_OK"));
    Twips::setze(cmd_OK, 1680, 3840, 1455, 495);
    cmd_OK->setDefault(true);

    Label5 = zelle(this, QStringLiteral("Label5"), QString(), 3360, 3120, 855, true, rot);
    Label4 = zelle(this, QStringLiteral("Label4"), QString(), 3360, 2640, 855, true, gruen);
    Label3 = zelle(this, QStringLiteral("Label3"), QStringLiteral("100 %"), 3360, 2160, 855, true);
    bez_falsch = zelle(this, QStringLiteral("bez_falsch"), QString(), 1920, 3120, 975, true, rot);
    bez_richtig = zelle(this, QStringLiteral("bez_richtig"), QString(), 1920, 2640, 975, true, gruen);
    bez_insgesamt = zelle(this, QStringLiteral("bez_insgesamt"), QString(), 1920, 2160, 975, true);
    Label[2] = zelle(this, QStringLiteral("Label2_Falsch"), QStringLiteral("Falsch:"), 360, 3120, 1095, false);
    Label[1] = zelle(this, QStringLiteral("Label1_Richtig"), QStringLiteral("Richtig:"), 360, 2640, 1095, false);
    Label[0] = zelle(this, QStringLiteral("Label0_Insgesamt"), QStringLiteral("Insgesamt:"), 360, 2160, 1095, false);

    Label2 = new QLabel(QStringLiteral("Sie haben insgesamt: 999 Fragen beantwortet:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Twips::setze(Label2, 60, 960, 4695, 975);
    Label2->setFont(arial(11.25));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label2->setTextFormat(Qt::PlainText);

    Label1 = new QLabel(QStringLiteral("Ergebnis"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Twips::setze(Label1, 240, 120, 4335, 615);
    Label1->setFont(arial(24, false, true));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    connect(cmd_OK, &QPushButton::clicked, this, &QDialog::accept);
    cmd_OK->setFocus();
    laden(fragen < 0 ? katalog().AnzahlFragen : fragen, benoten, satz);
}

frmAbfrageEnde::Bewertung frmAbfrageEnde::bewerte(int n, int r)
{
    // The division first, then the product, in double precision; the wrong percentage is
    // the exact complement, floored by integer division.
    const double p = (100.0 / n) * r;
    const qint16 note = p >= 99 ? 4 : p >= 80 ? 3 : 2;
    return {int(std::floor(p)), 100 * (n - r) / n, note};
}

void frmAbfrageEnde::laden(int n, bool benoten, const QString& satz)
{
    const Katalog& bank = katalog();
    const int r = lauf().AnzRichtig;
    const int f = lauf().AnzFalsch;

    Label2->setText(!satz.isEmpty()
                        ? satz
                        : QStringLiteral("Sie haben ") + QString::number(n) + QStringLiteral(" Fragen ") +
                              QStringLiteral("im Themengebiet:  ") + bank.Thema + QStringLiteral("  beantwortet."));
    // A run always has questions; without any there is nothing to grade.
    if (n >= 1) {
        const Bewertung bewertung = bewerte(n, r);
        if (benoten)
            Benutzer().setzeErgebnis(bank.ThemaNr, bewertung.note);
        Label4->setText(QString::number(bewertung.prozentRichtig) + QStringLiteral(" %"));
        Label5->setText(QString::number(bewertung.prozentFalsch) + QStringLiteral(" %"));
    }
    bez_richtig->setText(QString::number(r));
    bez_falsch->setText(QString::number(f));
    bez_insgesamt->setText(QString::number(n));
}

