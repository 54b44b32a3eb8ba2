// Built into the benchmark's copies of the trainer and of the toolkit's floor, never into the
// program: once the first window has painted its first frame, it writes the time to the
// benchmark and ends the program.
//
// SELVAROT_MESSPUNKT_FD     file descriptor for the line "<CLOCK_MONOTONIC in ns>" (else 1)
// SELVAROT_MESSPUNKT_FENSTER object name of the window to wait for (else the first window)
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class Messpunkt : public QObject {
public:
    explicit Messpunkt(QObject* eltern) : QObject(eltern)
    {
        if (const char* fd = std::getenv("SELVAROT_MESSPUNKT_FD"))
            m_fd = std::atoi(fd);
        m_fenster = QString::fromLocal8Bit(qgetenv("SELVAROT_MESSPUNKT_FENSTER"));
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (!m_gemalt && ereignis->type() == QEvent::Paint && objekt->isWidgetType()) {
            const auto* fenster = static_cast<QWidget*>(objekt);
            if (fenster->isWindow() && (m_fenster.isEmpty() || fenster->objectName() == m_fenster)) {
                m_gemalt = true;
                // The window paints first, then its controls, then the frame goes to the screen;
                // the next turn of the event loop comes after all of that.
                QTimer::singleShot(0, this, [this] { melde(); });
            }
        }
        return false;
    }

private:
    void melde()
    {
        timespec jetzt{};
        clock_gettime(CLOCK_MONOTONIC, &jetzt);
        dprintf(m_fd, "%lld\n", static_cast<long long>(jetzt.tv_sec) * 1000000000LL + jetzt.tv_nsec);
        QCoreApplication::exit(0);
    }

    int m_fd = 1;
    QString m_fenster;
    bool m_gemalt = false;
};

void installiere() { qApp->installEventFilter(new Messpunkt(qApp)); }

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installiere)
