#include "Bildfeld.h"

#include "Bilder.h"

#include <QMouseEvent>
#include <QPainter>

Bildfeld::Bildfeld(QWidget* eltern) : QWidget(eltern) { setzeBild(1); }

void Bildfeld::setzeBild(int nummer)
{
    m_nummer = nummer;
    m_bild = Bilder::kasten(nummer);
    static const QStringList zustaende{QString(),
                                       QStringLiteral("nicht angekreuzt"),
                                       QStringLiteral("angekreuzt"),
                                       QStringLiteral("gewählt und richtig"),
                                       QString(),
                                       QStringLiteral("gewählt und falsch"),
                                       QStringLiteral("die richtige Antwort")};
    setAccessibleDescription(zustaende.value(nummer));
    update();
}

void Bildfeld::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.drawPixmap(0, 0, m_bild.pixmap(size(), devicePixelRatioF()));
}

void Bildfeld::mousePressEvent(QMouseEvent* ereignis)
{
    if (ereignis->button() == Qt::LeftButton)
        emit geklickt();
}
