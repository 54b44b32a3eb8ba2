#include "Chancenkurve.h"

#include "Balken.h"
#include "Twips.h"
#include "frmLernstand.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

void Chancenkurve::setze(const QList<Lernstand::Tag>& tage)
{
    m_tage = tage;
    setAccessibleName(QStringLiteral("Verlauf Ihrer Chance, die Prüfung zu bestehen"));
    if (tage.isEmpty()) {
        setAccessibleDescription(QStringLiteral("Noch kein Verlauf."));
    } else {
        setAccessibleDescription(
            QStringLiteral("An den letzten %1 Tagen: am %2 %3, heute %4. Die gestrichelte Linie liegt bei %5 %.")
                .arg(tage.size())
                .arg(tage.first().datum.toString(QStringLiteral("dd.MM.yyyy")),
                     frmLernstand::prozent(tage.first().chance), frmLernstand::prozent(tage.last().chance))
                .arg(int(Passlinie * 100)));
    }
    update();
}

void Chancenkurve::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.setFont(arial(8));
    const QFontMetrics mass = maler.fontMetrics();
    const QColor tinte = palette().color(QPalette::WindowText);
    const int links = mass.horizontalAdvance(QStringLiteral("100 %")) + 6;
    const int unten = mass.height() + 2;
    // Half the text height free above, so that the label at 100 % fits; the frame on whole pixels.
    const int oben = mass.height() / 2 + 1;
    const QRectF rahmen(links, oben, width() - links, height() - unten - oben);
    // A little room inside the frame, so that a line at 0 % or 100 % is not hidden by it.
    const QRectF feld = rahmen.adjusted(1, 3, -1, -3);
    const auto hoehe = [&](double chance) { return feld.bottom() - chance * feld.height(); };

    maler.fillRect(rahmen, Qt::white);
    maler.setPen(tinte);
    for (double wert : {0.0, Passlinie, 1.0}) {
        const QRectF platz(0, hoehe(wert) - mass.height() / 2.0, links - 5, mass.height());
        maler.drawText(platz, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 %").arg(int(wert * 100)));
    }
    if (!m_tage.isEmpty()) {
        const QRectF zeile(rahmen.left(), rahmen.bottom() + 2, rahmen.width(), mass.height());
        maler.drawText(zeile, Qt::AlignLeft | Qt::AlignTop, m_tage.first().datum.toString(QStringLiteral("dd.MM.")));
        maler.drawText(zeile, Qt::AlignRight | Qt::AlignTop, QStringLiteral("heute"));
    }

    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(QPen(tinte, 1, Qt::DashLine));
    maler.drawLine(QPointF(feld.left(), hoehe(Passlinie)), QPointF(feld.right(), hoehe(Passlinie)));
    if (!m_tage.isEmpty()) {
        QPainterPath linie;
        const qsizetype n = m_tage.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF punkt(feld.left() + (n > 1 ? feld.width() * double(i) / double(n - 1) : feld.width()),
                                hoehe(std::clamp(m_tage[i].chance, 0.0, 1.0)));
            if (i == 0)
                linie.moveTo(punkt);
            else
                linie.lineTo(punkt);
        }
        maler.setPen(QPen(Balken::richtigFarbe(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        maler.drawPath(linie);
    }
    maler.setRenderHint(QPainter::Antialiasing, false);
    maler.setPen(QPen(tinte, 1));
    maler.drawRect(rahmen.adjusted(0.5, 0.5, -0.5, -0.5));
}
