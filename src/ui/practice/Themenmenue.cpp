#include "Themenmenue.h"

#include "Twips.h"
#include "Uebung.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>

Themenmenue::Themenmenue(QListWidget* liste) : QObject(liste), m_liste(liste)
{
    liste->installEventFilter(this);
    liste->viewport()->installEventFilter(this);
}

// The list names what its context menu offers, so that the practice can be found without the
// manual; the tooltip shows only on pointing, the window itself looks as before.
void Themenmenue::anhaengen(QListWidget* liste)
{
    new Themenmenue(liste);
    liste->setToolTip(angebot());
}

QString Themenmenue::angebot()
{
    QMenu* menue = baue(nullptr, 1);
    QStringList eintraege;
    for (const QAction* aktion : menue->actions()) {
        if (!aktion->isSeparator())
            eintraege << aktion->text().remove(QLatin1Char('&'));
    }
    delete menue;
    const QString letzter = eintraege.takeLast();
    return QStringLiteral("Rechte Maustaste auf einem Thema (oder Umschalt+F10):\n") +
           eintraege.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letzter;
}

QMenu* Themenmenue::baue(QWidget* eltern, int thema)
{
    auto* menue = new QMenu(eltern);
    menue->setObjectName(QStringLiteral("Themenmenue"));
    menue->setFont(arial(9));
    const auto eintrag = [&](const QString& text, const QString& name, bool fuerThema) {
        QAction* aktion = menue->addAction(text);
        aktion->setObjectName(name);
        aktion->setEnabled(!fuerThema || thema > 0);
    };
    eintrag(QStringLiteral("&Fehler üben"), QStringLiteral("fehlerUeben"), true);
    eintrag(QStringLiteral("&Rückblick"), QStringLiteral("rueckblick"), true);
    menue->addSeparator();
    eintrag(QStringLiteral("&Heute üben"), QStringLiteral("heuteUeben"), false);
    eintrag(QStringLiteral("&Prüfung simulieren"), QStringLiteral("pruefung"), false);
    eintrag(QStringLiteral("Lern&stand"), QStringLiteral("lernstand"), false);
    return menue;
}

void Themenmenue::fuehreAus(QWidget* eltern, const QString& aktion, int thema)
{
    if (aktion == QLatin1String("fehlerUeben"))
        Uebung::fehlerUeben(eltern, thema);
    else if (aktion == QLatin1String("rueckblick"))
        Uebung::rueckblick(eltern, thema);
    else if (aktion == QLatin1String("heuteUeben"))
        Uebung::heuteUeben(eltern);
    else if (aktion == QLatin1String("pruefung"))
        Uebung::pruefung(eltern);
    else if (aktion == QLatin1String("lernstand"))
        Uebung::lernstand(eltern);
}

void Themenmenue::zeige(int thema, const QPoint& wo)
{
    QWidget* fenster = m_liste->window();
    QMenu* menue = baue(fenster, thema);
    QAction* gewaehlt = menue->exec(wo);
    const QString aktion = gewaehlt ? gewaehlt->objectName() : QString();
    delete menue;
    if (!aktion.isEmpty())
        fuehreAus(fenster, aktion, thema);
}

bool Themenmenue::eventFilter(QObject* objekt, QEvent* ereignis)
{
    const auto amEintrag = [this](QListWidgetItem* eintrag) {
        const QRect platz = m_liste->visualItemRect(eintrag);
        return m_liste->viewport()->mapToGlobal(platz.isValid() ? platz.bottomLeft() : QPoint(0, 0));
    };
    if (ereignis->type() == QEvent::ContextMenu) {
        auto* menueEreignis = static_cast<QContextMenuEvent*>(ereignis);
        if (menueEreignis->reason() == QContextMenuEvent::Mouse && objekt == m_liste->viewport()) {
            QListWidgetItem* eintrag = m_liste->itemAt(menueEreignis->pos());
            zeige(eintrag ? m_liste->row(eintrag) + 1 : 0, menueEreignis->globalPos());
        } else {
            QListWidgetItem* eintrag = m_liste->currentItem();
            zeige(eintrag ? m_liste->row(eintrag) + 1 : 0, amEintrag(eintrag));
        }
        return true;
    }
    // The toolkit opens context menus from the Menu key only; Shift+F10 is the other key for it.
    if (ereignis->type() == QEvent::KeyPress && objekt == m_liste) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_F10 && taste->modifiers() == Qt::ShiftModifier) {
            QListWidgetItem* eintrag = m_liste->currentItem();
            zeige(eintrag ? m_liste->row(eintrag) + 1 : 0, amEintrag(eintrag));
            return true;
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}
