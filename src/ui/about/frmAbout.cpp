#include "frmAbout.h"

#include "Anwendung.h"
#include "Bilder.h"
#include "Twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kZeilenumbruch = QStringLiteral("\r\n");
const QString kAutor = QStringLiteral("Hanno Kielholt");

} // namespace

frmAbout::frmAbout(QWidget* eltern)
    : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info zu meiner Anwendung"));
    setFont(dialogschrift());
    Twips::setzeClient(this, 5730, 4785);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Twips::setze(Text1, 120, 1800, 5415, 2415);
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    Twips::setze(picIcon, 240, 120, 540, 540);
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setAutoFillBackground(true);
    picIcon->setBackgroundRole(QPalette::Midlight);
    picIcon->setPixmap(Bilder::programm32(devicePixelRatioF()));
    picIcon->setAccessibleName(QStringLiteral("Programmsymbol"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Twips::setze(cmdOK, 4320, 4320, 1260, 345);
    cmdOK->setDefault(true);

    lblTitle = new QLabel(QStringLiteral("Name der Anwendung"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    Twips::setze(lblTitle, 960, 120, 4605, 360);
    lblTitle->setFont(arial(11.25, true, true));
    QPalette schwarz = lblTitle->palette();
    schwarz.setColor(QPalette::WindowText, QColor(0, 0, 0));
    lblTitle->setPalette(schwarz);

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Twips::setze(lblVersion, 960, 480, 4605, 225);
    lblVersion->setFont(arial(9.75, true, true));

    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    Twips::setze(lblDisclaimer, 1200, 840, 2775, 825);
    QPalette dunkelblau = lblDisclaimer->palette();
    dunkelblau.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lblDisclaimer->setPalette(dunkelblau);

    for (QLabel* label : {lblTitle, lblVersion, lblDisclaimer}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (QLabel* label : {picIcon, lblTitle, lblVersion, lblDisclaimer})
        label->setFocusPolicy(Qt::NoFocus);
    setTabOrder(cmdOK, Text1);
    cmdOK->setFocus();

    // Enter presses the default button; Escape rejects, which here means the same as "OK".
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    laden();
}

void frmAbout::laden()
{
    setWindowTitle(QStringLiteral("Info zu ") + Anwendung::Titel);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(Anwendung::Major).arg(Anwendung::Minor).arg(Anwendung::Revision));
    lblTitle->setText(Anwendung::Titel);
    lblDisclaimer->setText(alsAnzeige(kontaktblock()));
    Text1->setPlainText(alsAnzeige(hinweistext()));
}

QString frmAbout::kontaktblock()
{
    return QStringList{kAutor, QStringLiteral("Ankerweg 7"), QStringLiteral("12345 Musterhafen"),
                       QStringLiteral("hanno.kielholt@funkkurs.example")}
        .join(kZeilenumbruch);
}

QString frmAbout::hinweistext()
{
    const QString absatz = kZeilenumbruch + kZeilenumbruch;
    return QStringLiteral("Dieses Programm hilft Ihnen bei der Vorbereitung auf die theoretische Prüfung zum "
                          "UKW-Funkbetriebszeugnis. Für Ihre Prüfung wünsche ich Ihnen viel Erfolg. ") +
           absatz +
           QStringLiteral("Das Programm darf kostenlos benutzt und unverändert an andere weitergegeben werden. Ein "
                          "Verkauf ist nicht gestattet. ") +
           absatz +
           QStringLiteral("Wenn Ihnen das Programm gefällt, freut sich der Funkkreis Musterhafen e. V. über eine "
                          "freiwillige Spende. Weitere Informationen erhalten Sie unter Readme.txt.") +
           absatz +
           QStringLiteral("Das Programm wurde mit Sorgfalt erstellt, kann aber dennoch Fehler enthalten, für die keine "
                          "Haftung übernommen wird. Ideen und Kritik schicken Sie bitte an die oben genannte "
                          "Adresse. ") +
           absatz + kAutor;
}

void frmAbout::zeige(QWidget* eltern)
{
    auto* dialog = new frmAbout(eltern);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}
