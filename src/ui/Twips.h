#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QRect>
#include <QString>
#include <QWidget>

// The windows are laid out in twips, 1/1440 inch: 15 twips to a pixel at 96 dots per inch.
// Every position is written in twips at the call site, so that it can be checked against
// the layout tables of the windows.
namespace Twips {

constexpr int px(int twips) { return twips / 15; }

inline QRect rechteck(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline void setze(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(rechteck(left, top, width, height));
}

inline void setzeClient(QWidget* fenster, int width, int height) { fenster->setFixedSize(px(width), px(height)); }

} // namespace Twips

// Arial where it is installed; elsewhere (as on most Linux systems) its metric twin Liberation
// Sans, named directly: asking the system's font configuration for a stand-in for Arial in
// every face costs start-up time and gives the same font.
inline QString arialFamilie()
{
    static const QString familie = [] {
        const QStringList vorhanden = QFontDatabase::families();
        const QString zwilling = QStringLiteral("Liberation Sans");
        return !vorhanden.contains(QStringLiteral("Arial")) && vorhanden.contains(zwilling) ? zwilling
                                                                                          : QStringLiteral("Arial");
    }();
    return familie;
}

// Arial in points.
inline QFont arial(double punkte, bool fett = false, bool kursiv = false)
{
    QFont f(arialFamilie());
    f.setPointSizeF(punkte);
    f.setBold(fett);
    f.setItalic(kursiv);
    return f;
}

// The windows' default font for controls without their own: the layouts were drawn for a
// small 8-point dialog font, and Arial at 8 points keeps every caption within its control.
inline QFont dialogschrift() { return arial(8); }

// Texts from the files break lines with CR LF; the widgets want a plain line feed.
inline QString alsAnzeige(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
