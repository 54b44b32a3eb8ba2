#pragma once

#include "Erinnerung.h"
#include "Gesamtkatalog.h"
#include "Pruefung.h"
#include "Verlauf.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

// What the answer history says of the catalogue at a given time: per topic, how many questions
// were answered and how many right or wrong the last time; each question's chance to be
// answered right now (Erinnerung, fitted to the learner's own history); from these the chance to
// pass the exam sheet, with a range; what is due today and in which order; the chance as it stood
// on each of the last 60 days; and each exam sheet handed in, its chance beforehand against how
// it went.
//
// Of a question's answers only the first of each run counts: a drill asks a question again right
// after its solution was shown. Answers after `jetzt` and answers to questions that are not in
// the catalogue are left out.
struct Lernstand {
    struct Thema {
        QString titel;
        int fragen = 0;
        int beantwortet = 0;
        int richtig = 0; // the last answer right
        int falsch = 0;  // the last answer wrong
    };
    std::array<Thema, 12> themen; // 1 to 11
    Thema gesamt;

    // The chance to pass a sheet drawn now, and the range in which it lies with a chance of 80 %
    // given what is not yet known of the learner (how much they know of the questions never
    // answered, and the model's parameters) and how far the model may be off for any learner.
    // Rough: what is not yet known of the learner alone spans more than 20 percentage points, or
    // fewer than half the questions were ever answered.
    double bestehenschance = 0;
    double chanceUnten = 0;
    double chanceOben = 0;
    bool grob = true;

    // Each question's chance to be answered right now, by topic (1 to 11) in file order.
    std::array<QList<double>, 12> treffer;

    // Due today: questions whose chance to be known falls below 90 % by the end of the day and
    // that were not answered today. In order of what practising each now adds to the chance to
    // pass (where no single question moves it by a millionth, of the right answers it adds to
    // a sheet on average).
    int faellig = 0;
    QList<Bogenfrage> faelligeFragen;
    // When nothing is due: when the next question falls due (UTC); invalid while one is due or
    // when none ever will.
    QDateTime naechsteFaellig;

    // The chance to pass at the end of each of the last 60 days, as the history stood then,
    // oldest first; today's is the chance now.
    struct Tag {
        QDate datum;
        double chance = 0;
    };
    QList<Tag> tage;

    // The exam sheets in the history (at most the last 200), oldest first: the chance to pass
    // from the history before the sheet, and how it went (passed with at most `erlaubt` wrong
    // or open answers, the rule scaled to a sheet of fewer questions).
    struct Bogen {
        QDateTime beginn;
        int fragen = 0;
        int falsch = 0;
        int erlaubt = 0;
        bool bestanden = false;
        double vorhergesagt = 0;
    };
    QList<Bogen> boegen;

    // The model's parameters, and whether they were fitted to this history (else the defaults,
    // with the share of first answers right taken from the history).
    Erinnerung::Parameter parameter;
    bool angepasst = false;
    bool verlaufGelesen = true;

    static Lernstand berechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel,
                              const QList<Verlauf::Eintrag>& verlauf, const QDateTime& jetzt);

    // The learner's VERLAUF.QXV, read line by line, keeping only the answers to questions in the
    // catalogue (at most the latest thousand counted answers of each). The fitted parameters are
    // kept beside it in MODELL.QXV and fitted again only when the history has grown by a hundredth
    // or more since, or changed otherwise.
    static Lernstand berechne(const Gesamtkatalog& katalog, const Pruefungsregel& regel, const QDateTime& jetzt);

    // MODELL.QXV beside USER.QXV.
    static QString modelldatei();
};
