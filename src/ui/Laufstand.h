#pragma once

#include <QtGlobal>

// Where a learn or quiz run stands: the current question and, in a quiz, the answers judged
// right and wrong. The result dialog reads the counts at the end of a quiz.
struct Laufstand {
    qint16 AktFrage = 0;
    qint16 AnzRichtig = 0;
    qint16 AnzFalsch = 0;
};

inline Laufstand& lauf()
{
    static Laufstand stand;
    return stand;
}
