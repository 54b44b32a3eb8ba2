#pragma once

#include "Bilder.h"

#include <QPushButton>

// The picture button that ends learning or quizzing after a question: no caption, no place
// in the Tab order, a tooltip for what it does.
class Bildknopf : public QPushButton {
public:
    explicit Bildknopf(QWidget* eltern) : QPushButton(eltern)
    {
        setIcon(Bilder::abbrechen());
        setIconSize(QSize(16, 16));
        setToolTip(QStringLiteral("Abfragen beenden"));
        setAccessibleName(toolTip());
        setAccessibleDescription(QStringLiteral("Fragt nach und kehrt dann zum Hauptfenster zurück"));
        setFocusPolicy(Qt::NoFocus);
        setAutoDefault(false);
    }
};
