#pragma once

#include <QString>

// The short hints the trainer gives a learner once, and only once: which of them this learner
// has seen is kept in TIPPS.QXV beside USER.QXV, one quoted name a line (Windows-1252, CR LF),
// so that USER.QXV keeps its format. A file that cannot be read counts as no hint seen; one that
// cannot be written means the hint may come again in a later run, never twice in one run.
namespace Tipps {

QString dateiname();

bool gezeigt(const QString& name);
// Notes the hint as seen, in this run at once and in the file; false if the file could not be
// written.
bool merke(const QString& name);

// Forgets what this run noted (tests start afresh).
void vergiss();

} // namespace Tipps
