#include "Anwendung.h"
#include "Bilder.h"
#include "Lebenslauf.h"
#include "main/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The name of the learner's data folder (~/.local/share/selvarot, %APPDATA%\selvarot) and of
    // the program's window class; the windows show the title.
    QApplication::setApplicationName(QStringLiteral("selvarot"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(Anwendung::Major).arg(Anwendung::Minor).arg(Anwendung::Revision));
    QApplication::setWindowIcon(Bilder::programmIcon());

    // The trainer speaks German, and so do the toolkit's own texts (a text box's context menu).
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtDeutsch;
    if (qtDeutsch.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtDeutsch);

    // One trainer per learner, and an end that saves however it comes. The lock is taken while
    // the main window is built; a second start hands over before anything is shown.
    Lebenslauf leben;
    leben.bereite();
    frmMain hauptfenster;
    switch (leben.beginne()) {
    case Lebenslauf::Start::Weitergereicht:
        return 0;
    case Lebenslauf::Start::LaeuftBereits:
        return 1;
    case Lebenslauf::Start::Allein:
        break;
    }
    leben.begleite(&hauptfenster, [&hauptfenster] { hauptfenster.speichere(); });
    hauptfenster.show();
    return app.exec();
}
