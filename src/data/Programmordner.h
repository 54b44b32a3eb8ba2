#pragma once

#include <QString>

// The trainer keeps its topic files and USER.QXV in its own folder.
namespace Programmordner {

// The folder of the executable, unless a test has set another one.
QString pfad();
void setze(const QString& ordner);

// The folder, the platform's separator unless the folder already ends with one, and the name.
QString datei(const QString& name);

} // namespace Programmordner
