#include "Balken.h"

#include <QPainter>

void Balken::setze(int richtig, int falsch, int nie)
{
    m_richtig = richtig;
    m_falsch = falsch;
    m_nie = nie;
    update();
}

void Balken::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    const QRectF innen = QRectF(rect()).adjusted(1, 1, -1, -1);
    const int summe = m_richtig + m_falsch + m_nie;
    if (summe > 0) {
        // Edges on fractions of a pixel, so that the parts add up to the whole bar at any scale.
        qreal x = innen.left();
        for (const auto& [anzahl, farbe] :
             {std::pair{m_richtig, richtigFarbe()}, std::pair{m_falsch, falschFarbe()}, std::pair{m_nie, nieFarbe()}}) {
            const qreal breite = innen.width() * anzahl / summe;
            maler.fillRect(QRectF(x, innen.top(), breite, innen.height()), farbe);
            x += breite;
        }
    }
    maler.setPen(QPen(palette().color(QPalette::WindowText), 1));
    maler.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
