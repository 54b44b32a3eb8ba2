#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// Reads the comma- and line-separated field format of the topic files and of USER.QXV
// from a device, one field at a time:
//  - a comma or a line end (CR LF, or a lone CR or LF from files edited elsewhere)
//    ends a field; blanks in front of a field are skipped;
//  - a field that starts with a double quote runs to the next double quote and may hold
//    commas and line ends; whatever follows the closing quote up to the next separator
//    is skipped;
//  - an unquoted field runs to the next separator; its trailing blanks are dropped;
//  - a number that is not a plain decimal within -32768..32767 reads as 0.
// Reading a field consumes its separator. At the end of the data a read fails, so that
// a cut-short file can be told apart from one that holds empty fields.
// The device is read in chunks and never further than the fields asked for.
class Feldleser {
public:
    // Far above any real title, question or answer. A field, or a run of blanks, that goes on
    // past it is damage (a quote that never closes, a device in a file's place): the reader
    // keeps what it has and stops there, as at the end of the data, instead of reading on
    // through the rest of the file.
    static constexpr qsizetype Grenze = 64 * 1024;

    explicit Feldleser(QIODevice* geraet);

    bool amEnde();
    // True when only blanks and line ends are left, as after the last record of a file
    // that ends in a few empty lines.
    bool nurNochLeerraum();

    // Whether the reader stopped at a field past the bound: the data is damaged there.
    bool abgebrochen() const { return m_erschoepft; }
    // Whether the field read last ended its line: a line end, or the end of the data, followed
    // it. Files with one record a line can so skip a line that holds too few or too many fields.
    bool zeilenende() const { return m_zeilenende; }

    std::optional<QString> leseText();
    std::optional<qint16> leseZahl();

    static qint16 alsZahl(const QByteArray& feld);

private:
    std::optional<QByteArray> leseFeld();
    int zeichen(qsizetype abstand = 0);
    bool fuelleBis(qsizetype index);

    QIODevice* m_geraet;
    QByteArray m_puffer;
    qsizetype m_pos = 0;
    bool m_erschoepft = false;
    bool m_zeilenende = true;
};
