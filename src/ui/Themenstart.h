#pragma once

class QWidget;

// Loads a topic for learning, a quiz or a drill. A missing or unreadable file, or one without
// questions, is named in a message instead of opening a window that would have nothing to show.
bool ladeThemaMitMeldung(QWidget* eltern, int thema);
