#pragma once

class QWidget;

// The practice that the topic list's context menu starts.
namespace Uebung {

// Asks again the questions of the topic whose latest answer was wrong, in the quiz window.
void fehlerUeben(QWidget* eltern, int thema);
// Shows the topic's latest quiz or drill, question by question.
void rueckblick(QWidget* eltern, int thema);
// A simulated exam sheet across all topics.
void pruefung(QWidget* eltern);
// The learning progress of every topic and the chance to pass the exam today.
void lernstand(QWidget* eltern);

} // namespace Uebung
