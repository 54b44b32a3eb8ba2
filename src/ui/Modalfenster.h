#pragma once

#include "Twips.h"

#include <QDialog>
#include <QKeyEvent>

// The learn window, the quiz window and the result dialog: a fixed frame without close box,
// the dialog font, and no way out but their own buttons (the program icon comes from the
// application, as for every window). Escape does nothing; a close from a window manager that
// shows a close button anyway ends the window as its cancel would.
class Modalfenster : public QDialog {
public:
    Modalfenster(QWidget* eltern, const QString& name, const QString& titel, int breite, int hoehe)
        : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setObjectName(name);
        setWindowTitle(titel);
        setFont(dialogschrift());
        Twips::setzeClient(this, breite, hoehe);
    }

protected:
    void keyPressEvent(QKeyEvent* ereignis) override
    {
        if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
            ereignis->accept();
            return;
        }
        QDialog::keyPressEvent(ereignis);
    }
};
