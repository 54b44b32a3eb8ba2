#include "Erlaeuterungsaufruf.h"

#include "Twips.h"
#include "frmErlaeuterung.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QTextEdit>

Erlaeuterungsaufruf::Erlaeuterungsaufruf(QWidget* fenster, QTextEdit* fragefeld, Quelle frage)
    : QObject(fenster), m_fenster(fenster), m_fragefeld(fragefeld), m_frage(std::move(frage))
{
    auto* taste = new QShortcut(QKeySequence(Qt::Key_F1), fenster);
    connect(taste, &QShortcut::activated, this, &Erlaeuterungsaufruf::oeffne);
    // The toolkit hands a right click on the text to the box through its viewport.
    fragefeld->installEventFilter(this);
    fragefeld->viewport()->installEventFilter(this);
}

void Erlaeuterungsaufruf::anhaengen(QWidget* fenster, QTextEdit* fragefeld, Quelle frage)
{
    new Erlaeuterungsaufruf(fenster, fragefeld, std::move(frage));
}

bool Erlaeuterungsaufruf::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::ContextMenu) {
        auto* menueEreignis = static_cast<QContextMenuEvent*>(ereignis);
        zeigeMenue(menueEreignis->globalPos());
        return true;
    }
    return QObject::eventFilter(objekt, ereignis);
}

void Erlaeuterungsaufruf::zeigeMenue(const QPoint& wo)
{
    QMenu* menue = m_fragefeld->createStandardContextMenu();
    menue->setObjectName(QStringLiteral("Fragemenue"));
    menue->setFont(arial(9));
    menue->addSeparator();
    QAction* erlaeuterung = menue->addAction(QStringLiteral("&Erläuterung\tF1"));
    erlaeuterung->setObjectName(QStringLiteral("erlaeuterung"));
    erlaeuterung->setEnabled(m_frage().has_value());
    QPointer<QMenu> wache(menue);
    const bool gewaehlt = menue->exec(wo) == erlaeuterung;
    delete wache;
    if (gewaehlt)
        oeffne();
}

void Erlaeuterungsaufruf::oeffne()
{
    const auto frage = m_frage();
    if (!frage)
        return;
    {
        frmErlaeuterung fenster(m_fenster, *frage);
        fenster.exec();
    }
    m_fenster->activateWindow();
    if (QWidget* fokus = m_fenster->focusWidget())
        fokus->setFocus(Qt::OtherFocusReason);
}
