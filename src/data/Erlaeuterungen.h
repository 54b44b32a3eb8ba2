#pragma once

#include <QList>
#include <QString>

#include <optional>

class QIODevice;

// Why an answer is right: the explanations of a topic's questions, kept in QXV.n.ERL beside
// the topic file QXV.n, so that a course that writes its own topics can explain them with an
// editor. Windows-1252 with CR LF in the field syntax of the topic files: a header of three
// fields as in a topic file (a title, a second text, a count, all unread), then one record a
// line of four fields:
//
//   "Wer entscheidet über den Notalarm?","Der Schiffsführer","Die Verantwortung ...","VO Funk Art. 32"
//
// the question and its right answer, each written exactly as in the topic file, then the
// explanation and its source in short form (may be empty). A record belongs to the question
// whose text and right answer it repeats, wherever that question stands in the file: a moved
// question keeps its explanation, an edited question or a changed right answer loses it, so
// that no explanation is ever shown for a text it was not written for. Runs of blanks and line
// breaks do not count. In the explanation "*" stands for a double quote and "##" for a line
// break, as in an answer.
//
// The file is read only when an explanation is shown. A missing or damaged file, or a question
// without a record, simply has no explanation.
namespace Erlaeuterungen {

// Far more records than a topic of 30 questions needs; a file that goes on is read no further.
constexpr int HoechstensEintraege = 300;

struct Eintrag {
    QString frage;
    QString richtigeAntwort;
    QString text;
    QString quelle;
};

// QXV.n.ERL in the program folder.
QString dateiname(int thema);

// Every well-formed record of the device, as the bank would hold the texts; stops at the first
// damage (a field past the field bound, a record cut short) or after HoechstensEintraege.
QList<Eintrag> lese(QIODevice& geraet);

// The explanation of a question, given as the bank holds it (after "*" and "##").
std::optional<Eintrag> suche(QIODevice& geraet, const QString& frage, const QString& richtigeAntwort);
std::optional<Eintrag> fuer(int thema, const QString& frage, const QString& richtigeAntwort);

} // namespace Erlaeuterungen
