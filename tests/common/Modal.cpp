#include "Modal.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

struct BeimNaechstenModal::Wache {
    QTimer timer;
};

BeimNaechstenModal::BeimNaechstenModal(std::function<void(QWidget*)> aktion, const QString& klasse) : m_wache(new Wache)
{
    m_wache->timer.setInterval(5);
    QObject::connect(&m_wache->timer, &QTimer::timeout, [this, aktion, klasse] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (!klasse.isEmpty() && !modal->inherits(klasse.toLatin1().constData()))
            return;
        m_wache->timer.stop();
        m_lief = true;
        m_titel = modal->windowTitle();
        aktion(modal);
        // A failed check inside the action must not leave the window open for ever.
        if (QTest::currentTestFailed() && modal->isVisible())
            modal->hide();
    });
    m_wache->timer.start();
}

BeimNaechstenModal::~BeimNaechstenModal() { delete m_wache; }

struct BeimNaechstenMenue::Wache {
    QTimer timer;
};

BeimNaechstenMenue::BeimNaechstenMenue(std::function<void(QMenu*)> aktion) : m_wache(new Wache)
{
    m_wache->timer.setInterval(5);
    QObject::connect(&m_wache->timer, &QTimer::timeout, [this, aktion] {
        auto* menue = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menue || !menue->isVisible())
            return;
        m_wache->timer.stop();
        m_lief = true;
        aktion(menue);
        if (QTest::currentTestFailed() && menue->isVisible())
            menue->close();
    });
    m_wache->timer.start();
}

BeimNaechstenMenue::~BeimNaechstenMenue() { delete m_wache; }
