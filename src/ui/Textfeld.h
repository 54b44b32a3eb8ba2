#pragma once

#include "Twips.h"

#include <QTextEdit>

// The borderless, word-wrapping text boxes of the learn and quiz windows: Arial 9 pt with a
// vertical scroll bar. The question box is grey and editable (what the user types there has
// no effect), an answer box pale yellow and read-only. Both hold plain text only, so a title
// or question with angle brackets shows them.
class Textfeld : public QTextEdit {
public:
    enum class Art { Frage, Antwort };

    Textfeld(Art art, QWidget* eltern) : QTextEdit(eltern)
    {
        setFrameStyle(QFrame::NoFrame);
        setAcceptRichText(false);
        setLineWrapMode(QTextEdit::WidgetWidth);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFont(arial(9));
        setTabChangesFocus(true);
        // Reached by a click, not by Tab: the keyboard goes from button to button.
        setFocusPolicy(Qt::ClickFocus);
        QPalette p = palette();
        if (art == Art::Frage) {
            // The grey of an active window border on the classic desktop scheme.
            p.setColor(QPalette::Base, QColor(212, 208, 200));
            document()->setDefaultTextOption(zentriert());
        } else {
            p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
            setReadOnly(true);
        }
        p.setColor(QPalette::Text, p.color(QPalette::WindowText));
        setPalette(p);
    }

    void setzeText(const QString& text)
    {
        setPlainText(alsAnzeige(text));
        if (!isReadOnly())
            document()->setDefaultTextOption(zentriert());
    }

    // Centred, and wrapped as the answer boxes wrap: at word boundaries, and inside a word that
    // is wider than the box (a long address or compound word in a user's topic file), which a
    // plain text option would leave cut off at the right edge.
    static QTextOption zentriert()
    {
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        return option;
    }

    // The text as the file had it, with CR LF line breaks.
    QString text() const { return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }
};
