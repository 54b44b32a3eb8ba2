#include "Katalog.h"

#include "Feldleser.h"
#include "Programmordner.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kLeer;

// Only a plain file is read. A pipe, a device or a link to one in a topic file's place would
// block the start or never end; it counts as a file that cannot be read.
bool oeffne(QFile& datei) { return QFileInfo(datei.fileName()).isFile() && datei.open(QIODevice::ReadOnly); }

QString ersetzeAnfuehrung(QString text) { return text.replace(QLatin1Char('*'), QLatin1Char('"')); }

// "##" becomes CR LF, leftmost first: a###b gives a, CR LF, #b. The replacement holds no
// "#", so one pass from the left does what repeating "find the leftmost" would.
QString ersetzeZeilenumbruch(QString text) { return text.replace(QStringLiteral("##"), QStringLiteral("\r\n")); }

} // namespace

const QString& Katalog::Frage(int n) const { return n >= 1 && n <= MaxFragen ? m_frage[n] : kLeer; }

const QString& Katalog::Antwort(int n, int k) const
{
    return n >= 1 && n <= MaxFragen && k >= 1 && k <= 4 ? m_antwort[n][k] : kLeer;
}

qint16 Katalog::Loesung(int n) const { return n >= 1 && n <= MaxFragen ? m_loesung[n] : 0; }

const QString& Katalog::DateiListe(int i) const { return i >= 1 && i <= AnzahlThemen ? m_dateiListe[i] : kLeer; }

Katalog::Dateizustand Katalog::Zustand(int i) const
{
    return i >= 1 && i <= AnzahlThemen ? m_zustand[i] : Dateizustand::Fehlt;
}

void Katalog::bildeDateiPfad() { DateiPfad = Programmordner::datei(QStringLiteral("QXV.")); }

Katalog::Ladeergebnis Katalog::LadeThema(qint16 nr)
{
    if (nr < 1 || nr > AnzahlThemen)
        return Ladeergebnis::NummerUngueltig;
    QFile datei(Dateiname(nr));
    if (!oeffne(datei) || !LadeThema(datei, nr))
        return Ladeergebnis::DateiNichtLesbar;
    return Ladeergebnis::Geladen;
}

bool Katalog::LadeThema(QIODevice& geraet, qint16 nr)
{
    Feldleser leser(&geraet);
    const auto titel = leser.leseText();
    if (leser.abgebrochen())
        return false;
    ThemaNr = nr;
    Thema = titel.value_or(QString());
    // The second text and the count are not used: the records are counted instead.
    leser.leseText();
    leser.leseZahl();

    qint16 n = 0;
    while (n < MaxFragen && !leser.nurNochLeerraum()) {
        std::array<QString, 5> texte;
        bool vollstaendig = true;
        for (auto& text : texte) {
            const auto feld = leser.leseText();
            vollstaendig = vollstaendig && feld.has_value();
            text = feld.value_or(QString());
        }
        const auto loesung = leser.leseZahl();
        // A record cut short by the end of the file is no question.
        if (!vollstaendig || !loesung)
            break;

        ++n;
        m_frage[n] = alsFrage(texte[0]);
        for (int k = 1; k <= 4; ++k)
            m_antwort[n][k] = alsAntwort(texte[k]);
        m_loesung[n] = *loesung;
    }
    AnzahlFragen = n;
    return true;
}

QString Katalog::leseTitel(QIODevice& geraet, bool* gelesen, bool* beschaedigt)
{
    Feldleser leser(&geraet);
    const auto titel = leser.leseText();
    if (gelesen)
        *gelesen = titel.has_value();
    if (beschaedigt)
        *beschaedigt = leser.abgebrochen();
    return leser.abgebrochen() ? QString() : titel.value_or(QString());
}

void Katalog::LadeDateiListe()
{
    for (int i = 1; i <= AnzahlThemen; ++i) {
        QFile datei(Dateiname(i));
        bool gelesen = false;
        bool beschaedigt = false;
        m_dateiListe[i] = oeffne(datei) ? leseTitel(datei, &gelesen, &beschaedigt) : QString();
        if (beschaedigt)
            m_zustand[i] = Dateizustand::Beschaedigt;
        else if (gelesen)
            m_zustand[i] = Dateizustand::Gelesen;
        else
            m_zustand[i] = datei.isOpen() ? Dateizustand::Leer : Dateizustand::Fehlt;
    }
}

QString Katalog::alsFrage(QString feld) { return ersetzeAnfuehrung(std::move(feld)); }

QString Katalog::alsAntwort(QString feld) { return ersetzeZeilenumbruch(ersetzeAnfuehrung(std::move(feld))); }

Katalog& katalog()
{
    static Katalog bank;
    return bank;
}
