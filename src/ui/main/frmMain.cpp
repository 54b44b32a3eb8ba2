#include "frmMain.h"

#include "Anwendung.h"
#include "Benutzerordner.h"
#include "Bilder.h"
#include "Katalog.h"
#include "Meldung.h"
#include "Themenstart.h"
#include "Tipps.h"
#include "Twips.h"
#include "User.h"
#include "about/frmAbout.h"
#include "learn/frmLernen.h"
#include "practice/Themenmenue.h"
#include "quiz/frmAbfrage.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

frmMain::frmMain(QWidget* eltern)
    : QWidget(eltern, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Anwendung::Titel);
    setFont(dialogschrift());
    Twips::setzeClient(this, 6930, 5580);
    erzeugeSteuerelemente();
    verbindeEreignisse();
    laden();
    zentriere();
}

// Centred on its screen with its frame, which the window system only knows once the window
// exists: so again when it is first shown.
void frmMain::zentriere()
{
    if (QScreen* bildschirm = screen()) {
        QRect rahmen = frameGeometry();
        rahmen.moveCenter(bildschirm->availableGeometry().center());
        move(rahmen.topLeft());
    }
}

void frmMain::showEvent(QShowEvent* ereignis)
{
    QWidget::showEvent(ereignis);
    if (!m_gezeigt) {
        m_gezeigt = true;
        zentriere();
    }
}

void frmMain::erzeugeSteuerelemente()
{
    Button[1] = new QPushButton(QStringLiteral("&Abfragen"), this);
    Button[1]->setObjectName(QStringLiteral("Button1"));
    Twips::setze(Button[1], 4080, 1800, 1335, 375);

    Button[0] = new QPushButton(QStringLiteral("&Lernen"), this);
    Button[0]->setObjectName(QStringLiteral("Button0"));
    Twips::setze(Button[0], 4080, 1320, 1335, 375);

    cmd_Ende = new QPushButton(QStringLiteral("&Ende"), this);
    cmd_Ende->setObjectName(QStringLiteral("cmd_Ende"));
    Twips::setze(cmd_Ende, 6120, 4920, 615, 495);
    cmd_Ende->setFocusPolicy(Qt::ClickFocus);

    cmd_Info = new QPushButton(QStringLiteral("&Info"), this);
    cmd_Info->setObjectName(QStringLiteral("cmd_Info"));
    Twips::setze(cmd_Info, 5400, 4920, 615, 495);
    cmd_Info->setFocusPolicy(Qt::ClickFocus);

    LView = new QListWidget(this);
    LView->setObjectName(QStringLiteral("LView"));
    Twips::setze(LView, 240, 1320, 3615, 3375);
    LView->setFont(arial(9.75));
    LView->setIconSize(QSize(16, 16));
    LView->setSortingEnabled(false);
    LView->setViewMode(QListView::ListMode);
    LView->setSelectionMode(QAbstractItemView::SingleSelection);
    LView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LView->setAccessibleName(QStringLiteral("Themen"));

    bez_Titel2 = new QLabel(QStringLiteral("Vorbereitung auf die theoretische Prüfung"), this);
    bez_Titel2->setObjectName(QStringLiteral("bez_Titel2"));
    Twips::setze(bez_Titel2, 120, 600, 6615, 375);
    bez_Titel2->setFont(arial(12, true, true));

    bez_Benutzer = new QLabel(this);
    bez_Benutzer->setObjectName(QStringLiteral("bez_Benutzer"));
    Twips::setze(bez_Benutzer, 240, 840, 6495, 375);
    bez_Benutzer->setFont(arial(12));

    bez_Titel = new QLabel(QStringLiteral("Selvarot I / II"), this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 120, 120, 6735, 615);
    bez_Titel->setFont(arial(21.75, false, true));

    // Centred across, drawn from the top of their boxes, which overlap as they were laid out.
    for (QLabel* label : {bez_Titel2, bez_Benutzer, bez_Titel}) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
    }

    setTabOrder(LView, Button[0]);
    setTabOrder(Button[0], Button[1]);
    LView->setFocus();
}

void frmMain::verbindeEreignisse()
{
    connect(LView, &QListWidget::itemChanged, this, &frmMain::LView_ItemCheck);
    // The list itself tells a screen reader nothing when a check mark comes or goes, by a key,
    // a click or the move to another topic; each topic whose mark changed says so.
    connect(LView->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& von, const QModelIndex& bis, const QList<int>& rollen) {
                if (!rollen.contains(Qt::CheckStateRole))
                    return;
                QAccessible::State geaendert;
                geaendert.checked = true;
                for (int zeile = von.row(); zeile <= bis.row(); ++zeile) {
                    QAccessibleStateChangeEvent ereignis(LView, geaendert);
                    ereignis.setChild(zeile);
                    QAccessible::updateAccessibility(&ereignis);
                }
            });
    connect(Button[0], &QPushButton::clicked, this, [this] { Button_Click(0); });
    connect(Button[1], &QPushButton::clicked, this, [this] { Button_Click(1); });
    connect(cmd_Ende, &QPushButton::clicked, this, &frmMain::cmd_Ende_Click);
    connect(cmd_Info, &QPushButton::clicked, this, &frmMain::cmd_Info_Click);
    Themenmenue::anhaengen(LView);
}

void frmMain::laden()
{
    katalog().bildeDateiPfad();
    // The program chooses the place before its main window; a window made alone chooses here.
    if (!Benutzerordner::bestimmt())
        Benutzerordner::bestimme();
    User::LadeBenutzer([] { frmAbout::zeige(nullptr); });
    katalog().LadeDateiListe();
    ZeigeListView();
}

QString frmMain::eintragstext(int thema)
{
    const QString datei = QStringLiteral("QXV.%1").arg(thema);
    switch (katalog().Zustand(thema)) {
    case Katalog::Dateizustand::Fehlt:
        return QStringLiteral("(Themendatei %1 fehlt)").arg(datei);
    case Katalog::Dateizustand::Leer:
        return QStringLiteral("(Themendatei %1 ist leer)").arg(datei);
    case Katalog::Dateizustand::Beschaedigt:
        return QStringLiteral("(Themendatei %1 ist beschädigt)").arg(datei);
    case Katalog::Dateizustand::Gelesen:
        break;
    }
    return katalog().DateiListe(thema);
}

// What a grade icon shows, for screen readers.
QString frmMain::notentext(int note)
{
    switch (note) {
    case 1:
        return QStringLiteral("Noch nicht abgefragt");
    case 2:
        return QStringLiteral("Letzte Abfrage: unter 80 % richtig");
    case 3:
        return QStringLiteral("Letzte Abfrage: 80 bis unter 99 % richtig");
    case 4:
        return QStringLiteral("Letzte Abfrage: mindestens 99 % richtig");
    default:
        return QStringLiteral("Ohne Wertung");
    }
}

void frmMain::ZeigeListView()
{
    m_setztSelbst = true;
    LView->clear();
    LView->setViewMode(QListView::ListMode);
    // Topics with the same grade share one picture, decoded once.
    QHash<int, QIcon> bilder;
    for (int i = 1; i <= Katalog::AnzahlThemen; ++i) {
        const int note = Benutzer().Ergebnis(i);
        auto bild = bilder.find(note);
        if (bild == bilder.end())
            bild = bilder.insert(note, Bilder::wertung(note));
        auto* eintrag = new QListWidgetItem(LView);
        eintrag->setText(eintragstext(i));
        eintrag->setIcon(*bild);
        eintrag->setData(Qt::AccessibleDescriptionRole, notentext(note));
        eintrag->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        eintrag->setCheckState(Qt::Unchecked);
    }
    m_setztSelbst = false;
}

// The user toggled a check box: exactly that topic is checked afterwards, even when the
// toggle took its check away.
void frmMain::LView_ItemCheck(QListWidgetItem* eintrag)
{
    if (m_setztSelbst)
        return;
    hakeAn(LView->row(eintrag) + 1);
}

void frmMain::hakeAn(int thema)
{
    m_setztSelbst = true;
    for (int i = 0; i < LView->count(); ++i)
        LView->item(i)->setCheckState(i + 1 == thema ? Qt::Checked : Qt::Unchecked);
    m_setztSelbst = false;
}

int frmMain::angehakt() const
{
    int thema = 0;
    for (int i = 0; i < LView->count(); ++i) {
        if (LView->item(i)->checkState() == Qt::Checked)
            thema = i + 1;
    }
    return thema;
}

void frmMain::Button_Click(int index)
{
    const int thema = angehakt();
    if (thema == 0) {
        Meldung::zeige(this, QStringLiteral("Wählen Sie zuerst ein Thema aus !"), QStringLiteral("Kein Thema ausgewählt"));
        return;
    }
    if (!ladeThemaMitMeldung(this, thema))
        return;
    if (index == 0) {
        oeffneLernen();
    } else {
        const bool beendet = oeffneAbfrage();
        ZeigeListView();
        hakeAn(thema);
        // The keyboard goes on from the topic just quizzed, as it did before the list was rebuilt.
        LView->setCurrentRow(thema - 1);
        if (beendet)
            zeigeTippZumMenue();
    }
}

// Every run gets a new window, which the modal call's end destroys.
void frmMain::oeffneLernen()
{
    frmLernen fenster(this);
    fenster.exec();
}

bool frmMain::oeffneAbfrage()
{
    frmAbfrage fenster(this);
    connect(&fenster, &frmAbfrage::benotet, this, &frmMain::speichere);
    return fenster.exec() == QDialog::Accepted;
}

// After the learner's first finished quiz, once: the practice lives in the list's context menu,
// which nothing in the window shows.
void frmMain::zeigeTippZumMenue()
{
    const QString tipp = QStringLiteral("Kontextmenue");
    if (Tipps::gezeigt(tipp))
        return;
    Tipps::merke(tipp);
    Meldung::zeige(this,
                   QStringLiteral("Ein Klick mit der rechten Maustaste auf ein Thema (oder Umschalt+F10)\n"
                                  "öffnet ein Menü: Dort üben Sie die Fragen, die Sie zuletzt falsch\n"
                                  "beantwortet haben, und simulieren die Prüfung über alle Themen."),
                   QStringLiteral("Tipp"));
}

void frmMain::cmd_Ende_Click()
{
    if (Meldung::zeige(this, QStringLiteral("Möchten Sie das Programm wirklich beenden ?"), QStringLiteral("Beenden ?"),
                       Meldung::Knoepfe::JaNein) == Meldung::Antwort::Ja)
        close();
}

void frmMain::cmd_Info_Click() { frmAbout::zeige(this); }

void frmMain::closeEvent(QCloseEvent* ereignis)
{
    // Saved once, however the window is closed; the close is never refused.
    if (!m_entladen) {
        m_entladen = true;
        speichere();
    }
    ereignis->accept();
}

void frmMain::speichere()
{
    QString grund;
    if (User::SpeichereBenutzer(nullptr, &grund)) {
        User::setzeFehlerGemeldet(false);
        return;
    }
    if (User::fehlerGemeldet())
        return;
    User::setzeFehlerGemeldet(true);
    QString text = QStringLiteral("Benutzerwertung speichern ist nicht möglich !");
    if (!grund.isEmpty())
        text += QStringLiteral("\n\n") + grund;
    Meldung::zeige(this, text, QStringLiteral("Speichern"));
}
