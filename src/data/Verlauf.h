#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class Katalog;
class QIODevice;

// The answer history: every answer the learner gives in a quiz, a drill of their mistakes, an
// exam sheet or a practice of what is due, one line each, appended to VERLAUF.QXV beside USER.QXV
// the moment it is given.
// A line holds seven fields in the field syntax of the topic files, Windows-1252 with CR LF:
//
//   "2026-12-07T14:32:05Z","2026-12-07T14:30:11.417Z","Abfrage",3,"9f86d081884c7d65",2,0
//
// when the answer was given (UTC), when its run began (the answers of one run share it), the
// mode ("Abfrage" a quiz, "Fehler" a drill of mistakes, "Pruefung" an exam sheet, "Heute" the
// questions due today across all topics), the topic, the question's digest, the number the
// chosen answer has in the topic file (0: left open on an exam sheet) and 1 if it was right.
// Lines are only ever appended, never rewritten. A line cut short by a crash, a blank line or a
// garbled one is skipped on reading and spoils none of the lines around it; a line may also end
// in a lone LF or CR (an editor elsewhere), and a byte-order mark in front of the first line is
// skipped. Each line is put on the disk before the learner goes on, so that a power cut loses
// at most the line being written. Deleting the file starts the history afresh.
namespace Verlauf {

enum class Modus { Abfrage, Fehler, Pruefung, Heute };

// Far longer than any line the program writes: a longer one is garbage, skipped unread.
constexpr qsizetype ZeileHoechstens = 1024;

struct Eintrag {
    QString zeit;
    QString lauf;
    Modus modus = Modus::Abfrage;
    int thema = 0;
    QByteArray frage;
    int antwort = 0;
    bool richtig = false;

    bool operator==(const Eintrag&) const = default;
};

QString dateiname();

// A question is known by its topic and this digest of its text, its four answers and its
// correct-answer number: an edited question starts a history of its own, one that only moved
// within its file keeps its history.
QByteArray kennung(const Katalog& bank, int frage);

// A line as it stands in the file, its texts not copied: a reader of the whole history takes
// these, since a history of years holds a hundred thousand lines and the learner waits for them.
// Valid only during the call that hands it over.
struct Zeile {
    QByteArrayView zeit;
    QByteArrayView lauf;
    Modus modus = Modus::Abfrage;
    int thema = 0;
    QByteArrayView frage;
    int antwort = 0;
    bool richtig = false;

    Eintrag eintrag() const;
};

QByteArray alsZeile(const Eintrag& eintrag);
std::optional<Zeile> zerlege(QByteArrayView zeile);
std::optional<Eintrag> ausZeile(QByteArrayView zeile);

// Hands every well-formed line to `je`, in the order of the file. A missing file is an empty
// history; false only if there is a history that cannot be read.
bool lese(QIODevice& geraet, const std::function<void(const Eintrag&)>& je);
bool lese(const std::function<void(const Eintrag&)>& je);
bool leseZeilen(QIODevice& geraet, const std::function<void(const Zeile&)>& je);
bool leseZeilen(const std::function<void(const Zeile&)>& je);

// Appends the answers of one run to the learner's history. The file is opened for each line
// and closed after it, so that a file deleted meanwhile is made afresh, and in a folder that
// others may write it is never written through a link (see Dateischutz).
class Schreiber {
public:
    explicit Schreiber(Modus modus);

    // False if the line could not be written whole; the run goes on, later answers try again.
    bool schreibe(int thema, const QByteArray& frage, int antwort, bool richtig);
    QString lauf() const { return m_lauf; }
    // Why the last line was refused to keep the learner's files safe, in German; else empty.
    QString grund() const { return m_grund; }

    // Whether the learner has been told in this program run that the history cannot be kept:
    // they are told once, not at every answer.
    static bool gemeldet();
    static void setzeGemeldet(bool gemeldet);

private:
    Modus m_modus;
    QString m_lauf;
    QString m_grund;
};

// What the history says of one topic, for the drill and the review; *gelesen (if given) is
// false when there is a history that cannot be read.
// The numbers of the questions (given by their digests, in file order) whose latest answer
// was wrong.
QList<int> fehlerfragen(int thema, const QList<QByteArray>& kennungen, bool* gelesen = nullptr);
// The answers of the topic's latest quiz or drill, finished or cancelled, in the order given,
// for the topic's questions given by their digests. A run asks each question once: whatever the
// file holds, the run keeps one answer a question (its latest) and at most as many answers to
// questions since changed as a topic file has questions, so memory stays small.
QList<Eintrag> letzterLauf(int thema, const QList<QByteArray>& kennungen, bool* gelesen = nullptr);

} // namespace Verlauf
