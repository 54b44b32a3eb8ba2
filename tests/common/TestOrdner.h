#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program folder of the test's own: topic files and USER.QXV go here, and the program's
// state (question bank, grades, message log) starts fresh. The learner's data folder, for a
// program folder that cannot be written, is its subfolder "Daten".
class TestOrdner {
public:
    TestOrdner();
    ~TestOrdner();

    QString pfad() const { return m_ordner.path(); }
    QString datei(const QString& name) const;
    void schreibe(const QString& name, const QByteArray& bytes) const;
    QByteArray lies(const QString& name) const;
    bool gibt(const QString& name) const;

    // Writes QXV.1 to QXV.11, each with a title "Thema n" and `fragen` questions.
    void schreibeAlleThemen(int fragen = 3) const;

private:
    QTemporaryDir m_ordner;
};

// Builds topic file bytes: Windows-1252, CR LF.
struct Themendatei {
    static QByteArray kopf(const QString& titel, int anzahl = 0, const QString& zweiter = QStringLiteral("Zweiter Text"));
    static QByteArray frage(const QString& frage, const QStringList& antworten, int loesung);
    // A file with n questions "Frage i" whose answers are "Antwort i.k" and whose correct
    // answer cycles through 1 to 4.
    static QByteArray mitFragen(const QString& titel, int n);
};

// USER.QXV as the program writes it.
QByteArray userDatei(const QList<int>& noten, const QByteArray& kopf1 = " ", const QByteArray& kopf2 = " ");
