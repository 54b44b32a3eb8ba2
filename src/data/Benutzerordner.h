#pragma once

#include <QString>

#include <functional>

// Where the learner's own files live: USER.QXV and the files the trainer keeps beside it.
//
// A trainer that can save in its own folder keeps them there, as it always did: a portable
// copy on a stick or under the home folder carries its grades along. One installed where the
// learner may not write (a system folder, a write-protected share) keeps them in the learner's
// data folder instead, so that every learner on the machine has grades of their own. The place
// is chosen once a run, before anything is read, and a run reads and writes the same file; only
// a learner without a file of their own takes the starting grades from a USER.QXV in the program
// folder (one an administrator put there, say).
namespace Benutzerordner {

enum class Ort { Programmordner, Datenordner };

// What the program folder allows: whether a new file can be made in it (the save writes a
// new file beside USER.QXV and then puts it in place), and whether USER.QXV there may be
// replaced.
struct Lage {
    bool ordnerBeschreibbar = true;
    bool dateiDa = false;
    bool dateiBeschreibbar = true;
};

Ort waehle(const Lage& lage);

// Looks at the program folder and chooses the place for this run.
void bestimme();
// Whether the place has been chosen in this run (the program chooses it before its main window).
bool bestimmt();
Ort ort();

// The chosen folder, and a file in it; both empty when the learner's data folder is chosen but
// not known (no home folder), so that nothing is read from or written to some other place.
QString pfad();
QString datei(const QString& name);

// The learner's file to read at start-up: the one in the chosen folder, or, where the learner
// has none there yet, the program folder's own copy, whose grades then start the learner's file.
QString lesedatei(const QString& name);

// Makes the learner's data folder, when that is the chosen one, if it is missing; false if
// that fails or the folder is not known.
bool legeAn();

// The learner's data folder (the system's place for an application's data unless a test sets
// another one; empty when it is not known), and how the program folder is probed: tests put
// failures in here.
QString datenordner();
// The data folder by the XDG base directory rules, from the values of XDG_DATA_HOME and HOME:
// a relative path in either counts as not set, and without both nothing is known.
QString nachXdg(const QString& xdgDataHome, const QString& home);
void setzeDatenordner(const QString& ordner);
void setzePruefer(std::function<bool(const QString& pfad, bool istOrdner)> beschreibbar);
void setzeZurueck();

} // namespace Benutzerordner
