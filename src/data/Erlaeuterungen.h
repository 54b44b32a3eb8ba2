#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <utility>

class QIODevice;

// Why an answer is right: the explanations of a topic's questions, kept in QXV.n.ERL beside
// the topic file QXV.n, so that a course that writes its own topics can explain them with an
// editor. Windows-1252 with CR LF in the field syntax of the topic files: the first line is a
// header as in a topic file (a title, a second text, a count, all unread), then one record a
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
// A line that does not hold exactly four fields (a source left out, a comma in an unquoted
// explanation) explains nothing, and the next line is read as ever. The file is read only when
// an explanation is shown, and only its first MiB and 300 lines: a missing, damaged or endless
// file, or a question without a record, simply has no explanation.
class Erlaeuterungen {
public:
    static constexpr int HoechstensZeilen = 300;
    static constexpr qint64 HoechstensBytes = 1024 * 1024;

    struct Eintrag {
        QString frage;
        QString richtigeAntwort;
        QString text;
        QString quelle;
    };

    // QXV.n.ERL in the program folder.
    static QString dateiname(int thema);

    // The records of the device, with the texts as the bank would hold them.
    static Erlaeuterungen lese(QIODevice& geraet);
    // The file of topic 1 to 11; none for another number or for anything but a plain file.
    static Erlaeuterungen ausDatei(int thema);

    // The explanation of a question, given as the bank holds it; the first record wins.
    std::optional<Eintrag> suche(const QString& frage, const QString& richtigeAntwort) const;
    const QList<Eintrag>& eintraege() const { return m_eintraege; }

private:
    QList<Eintrag> m_eintraege;
    QHash<std::pair<QString, QString>, qsizetype> m_index;
};

// The explanation files of all topics for a window that shows many questions: each file is read
// the first time one of its questions is looked up, and then kept.
class Erlaeuterungsdateien {
public:
    std::optional<Erlaeuterungen::Eintrag> suche(int thema, const QString& frage, const QString& richtigeAntwort);

private:
    std::array<std::optional<Erlaeuterungen>, 12> m_themen;
};
