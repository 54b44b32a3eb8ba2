#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QMenu;

// Acts on the next modal window that opens (the program's own windows run their own event
// loop, so the test must arrange its action before it calls what opens them). The action
// runs once, from inside that window's loop; `lief()` tells afterwards whether it ran, so a
// window that never appeared cannot pass unseen.
class BeimNaechstenModal {
public:
    explicit BeimNaechstenModal(std::function<void(QWidget*)> aktion, const QString& klasse = QString());
    ~BeimNaechstenModal();

    bool lief() const { return m_lief; }
    QString titel() const { return m_titel; }

private:
    struct Wache;
    Wache* m_wache;
    bool m_lief = false;
    QString m_titel;
};

// The same for the next context menu that opens: the action runs once it is shown.
class BeimNaechstenMenue {
public:
    explicit BeimNaechstenMenue(std::function<void(QMenu*)> aktion);
    ~BeimNaechstenMenue();

    bool lief() const { return m_lief; }

private:
    struct Wache;
    Wache* m_wache;
    bool m_lief = false;
};
