#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;
class QSocketNotifier;
class QThread;
class QWidget;

// The trainer's life beyond its windows, set up by main() before the main window:
//  - one trainer per learner: a lock beside USER.QXV. A second start for the same learner
//    brings the running trainer to the front and ends quietly; where that trainer cannot be
//    reached, it says so and ends. A lock left by a trainer that died is taken over.
//  - every ordinary end saves: the desktop session asks for a save, and TERM, HUP and INT close
//    the main window as its close box would, also while a quiz or a message is open. A second
//    such signal no longer waits for a message to be answered.
//  - a file-size limit makes a write fail, which the trainer says, instead of ending it.
// The learner's folder is made and tried here, at the start: a failure is said once, and
// learning and quizzing go on without saving.
class Lebenslauf : public QObject {
    Q_OBJECT
public:
    enum class Start { Allein, Weitergereicht, LaeuftBereits };

    explicit Lebenslauf(QObject* eltern = nullptr);
    ~Lebenslauf() override;

    // Chooses the place of USER.QXV, makes it, and starts taking the lock beside it, which puts
    // the lock file on the disk: that runs while the main window is built.
    void bereite();
    // Waits for the lock (preparing first, if that was not done) and decides. Only Allein goes
    // on; a failure to make the lock means the folder takes no files, which is said here.
    Start beginne();

    // From now on the main window comes to the front for a second start and is closed by a
    // signal, and `speichern` runs when the desktop session asks for a save.
    void begleite(QWidget* hauptfenster, std::function<void()> speichern);

    // The local server of the trainer whose USER.QXV lives in this folder.
    static QString servername(const QString& ordner);

    // How long a second start tries to reach the first, which opens its server only once its
    // window is up; tests shorten it.
    static int warteMs;
    // How long after begleite() the server opens: nothing of it delays the first window.
    static int horchenNachMs;

signals:
    // A second start was handed over and the windows were brought to the front.
    void nachVornGeholt();

private:
    bool reicheWeiter(const QString& name);
    void horche();
    void holeNachVorn();
    void beende();
    void meldeOrdner(const QString& text);
    void fangeSignale();

    std::unique_ptr<QLockFile> m_sperre;
    std::unique_ptr<QThread> m_sperren;
    bool m_bereitet = false;
    bool m_gesperrt = false;
    QString m_servername;
    QLocalServer* m_server = nullptr;
    QSocketNotifier* m_melder = nullptr;
    QPointer<QWidget> m_hauptfenster;
    std::function<void()> m_speichern;
    bool m_endet = false;
};
