#pragma once

#include "Erlaeuterungen.h"

#include <QListWidget>

#include <optional>

// A list of answered questions, as the review and the exam result show them: the smiling or
// frowning face of the quiz window at the left (the empty box for a question left open), the
// question in bold, the answer chosen in red or green, and after a wrong one the right answer
// in green and the explanation with its source. Screen readers hear each row as one sentence
// that starts with the verdict.
class Fragenliste : public QListWidget {
public:
    enum class Urteil { Richtig, Falsch, Offen };

    explicit Fragenliste(QWidget* eltern);

    // richtigeAntwort and the explanation are shown only for a question not answered right.
    QListWidgetItem* fuegeHinzu(const QString& frage, const QString& gewaehlt, const QString& richtigeAntwort,
                                Urteil urteil,
                                const std::optional<Erlaeuterungen::Eintrag>& erlaeuterung = std::nullopt);
};
