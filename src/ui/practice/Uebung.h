#pragma once

class QWidget;

// The practice that the topic list's context menu starts.
namespace Uebung {

// Asks again the questions of the topic whose latest answer was wrong, in the quiz window.
void fehlerUeben(QWidget* eltern, int thema);
// Shows the topic's latest quiz or drill, question by question.
void rueckblick(QWidget* eltern, int thema);

} // namespace Uebung
