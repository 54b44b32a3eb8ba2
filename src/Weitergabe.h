#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QSocketNotifier;

// The channel through which a second start of the trainer reaches the running one: the running
// trainer listens under a name, a second start knocks and ends. Only the learner's own user
// gets through, both ways.
//
// On Windows it is a named pipe (QLocalServer). Elsewhere it is a local socket of the system's
// own, without the toolkit's network library: that library and those it loads would cost every
// start a few milliseconds for a connection that almost never comes.
class Weitergabe : public QObject {
    Q_OBJECT
public:
    explicit Weitergabe(QObject* eltern = nullptr);
    ~Weitergabe() override;

    // Listens under `name`; a channel of that name left by a trainer that died is replaced,
    // which the caller may do because it holds the learner's lock. False where it cannot listen.
    bool horche(const QString& name);

    // Knocks once at the trainer listening under `name`; true once the knock was delivered.
    static bool klopfe(const QString& name);

signals:
    void angeklopft();

private:
#ifdef Q_OS_WIN
    QLocalServer* m_server = nullptr;
#else
    void nimmAn();

    int m_fd = -1;
    QString m_pfad;
    quint64 m_knoten = 0;
    QSocketNotifier* m_melder = nullptr;
#endif
};
