#pragma once

#include <QBuffer>

// A device that takes only so many bytes, as a full disk would: a write beyond that is cut
// short, and one with no room left fails.
class KnapperPuffer : public QBuffer {
public:
    explicit KnapperPuffer(qint64 platz) : m_platz(platz) {}

protected:
    qint64 writeData(const char* daten, qint64 laenge) override
    {
        const qint64 n = qMin(laenge, m_platz - size());
        return n <= 0 ? -1 : QBuffer::writeData(daten, n);
    }

private:
    qint64 m_platz;
};
