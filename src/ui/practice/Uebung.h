#pragma once

class QWidget;

// The practice that the topic list's context menu starts.
namespace Uebung {

// Asks again the questions of the topic whose latest answer was wrong, in the quiz window.
void fehlerUeben(QWidget* eltern, int thema);
// Shows the topic's latest quiz or drill, question by question.
void rueckblick(QWidget* eltern, int thema);
// The questions due today across all topics, those that raise the chance to pass the most
// first, at most the rule's number of them, in the quiz window; it grades nothing.
void heuteUeben(QWidget* eltern);
// A simulated exam sheet across all topics.
void pruefung(QWidget* eltern);
// The learning progress of every topic and the chance to pass the exam today.
void lernstand(QWidget* eltern);

} // namespace Uebung
