#pragma once

#include "Twips.h"

#include <QDialog>

// The windows of the practice: a fixed frame with a close box, the dialog font, laid out in
// twips; Escape and the close box leave them (the exam sheet asks first).
class Uebungsfenster : public QDialog {
public:
    Uebungsfenster(QWidget* eltern, const QString& name, const QString& titel, int breite, int hoehe)
        : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    {
        setObjectName(name);
        setWindowTitle(titel);
        setFont(dialogschrift());
        Twips::setzeClient(this, breite, hoehe);
    }
};
