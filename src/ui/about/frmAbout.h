#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Program information: title, version, contact block and notice text. Also shown on the
// first start, before the main window, as the user's first notice.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* eltern = nullptr);

    // Creates the dialog, shows it modally and lets it destroy itself with its button.
    static void zeige(QWidget* eltern);

    static QString kontaktblock();
    static QString hinweistext();

    QPlainTextEdit* Text1;
    QLabel* picIcon;
    QPushButton* cmdOK;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDisclaimer;

private:
    void laden();
};
