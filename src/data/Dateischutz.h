#pragma once

#include <QByteArray>
#include <QString>

class QFile;
class QFileDevice;

// How the learner's files are written so that they last and go where they belong.
//
// Lasting: what is written is put on the disk before the program goes on, so that a power cut
// loses at most the line being written; a replaced file goes in place by a rename, so that the
// old one stays whole until the new one is complete.
//
// Where they belong: a folder that others may write as well (its group or everyone, without
// the sticky bit that keeps them from removing each other's files, such as a classroom share)
// may hold a symbolic link that someone else planted under the name of USER.QXV or VERLAUF.QXV,
// pointing at any file of the learner's. There neither file is written through a link, and no
// file of someone else's is replaced; a learner's own link in a folder only they may write
// keeps working. Windows has no such bits: there every folder counts as the learner's own.
namespace Dateischutz {

// Whether others may make and remove files in the folder.
bool ordnerGeteilt(const QString& ordner);

// Why writing or replacing the file is refused, in German for the learner; empty if it may be
// written.
QString bedenken(const QString& pfad);

// Opens the file for appending and reading, made if it is missing. Only a plain file is
// opened; in a shared folder never through a link and only one of the learner's own, checked on
// the opened file itself, so that nothing can be swapped in between. On failure *grund (if
// given) holds the German reason where the file was refused on these grounds, else stays empty.
// *neu tells whether the file was made now.
bool oeffneZumAnhaengen(QFile& datei, const QString& pfad, QString* grund, bool* neu);

// Replaces the file with these bytes: written beside it, put on the disk, then renamed into
// place, so that a failure at any step leaves the old file as it was. In a shared folder the
// rename replaces the name itself, never a link's target. On failure *fehler says why.
bool ersetze(const QString& pfad, const QByteArray& bytes, QString* fehler);

// Puts what was written to the file on the disk.
bool synchronisiere(QFileDevice& datei);

// Puts the folder's entries on the disk, so that a new or renamed file is found after a power
// cut. Where the system has no such call, nothing.
void synchronisiereOrdner(const QString& ordner);

} // namespace Dateischutz
