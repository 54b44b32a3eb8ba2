#!/usr/bin/env bash
# Drives the practice from the topic list's context menu on a real X server with real key
# presses: a quiz with wrong answers, the drill of exactly those through Shift+F10, the review
# of the drill, and an exam sheet answered in part and handed in. The answer history must then
# hold the drill's answers to the very questions the quiz got wrong, and the whole sheet.
# Usage: uebung.sh <path of the built program>
set -euo pipefail

programm=$1
fehler() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x11.sh
source "$(dirname "$0")/../../scripts/x11.sh"
beginne_e2e

# Topic 1: question 1 has no valid correct answer, so it is always answered wrong; the others
# are right or wrong as the shuffle falls. The other topics only fill the list.
cp "$programm" "$ordner/"
{
    printf '"Uebungsthema","E2E",5\r\n'
    printf '"Frage 1","A","B","C","D",9\r\n'
    for f in 2 3 4 5; do printf '"Frage %s","A","B","C","D",%s\r\n' "$f" $(((f - 1) % 4 + 1)); done
} >"$ordner/QXV.1"
for nr in $(seq 2 11); do printf '"Thema %s","E2E",1\r\n"F","A","B","C","D",1\r\n' "$nr" >"$ordner/QXV.$nr"; done
printf '" "," "\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n' >"$ordner/USER.QXV"

starte_programm "$programm"
haupt=$(fenster "Selvarot I/II - Theorie")

# The quiz: box 1 for every question. On the first, F1 after the verdict opens the explanation;
# Escape closes it and the next key, sent to no window in particular, reaches the quiz.
tippe "$haupt" space alt+a
abfrage=$(fenster "Kontrolle")
falsch=0
for i in 1 2 3 4 5; do
    tippe "$abfrage" 1 space
    [ "$(urteil "$abfrage")" = falsch ] && falsch=$((falsch + 1))
    sleep 0.8
    if [ "$i" -eq 1 ]; then
        tippe "$abfrage" F1
        tippe "$(fenster "Erläuterung")" Escape
        weg "Erläuterung"
        xdotool key --delay 40 space
        for _ in $(seq 100); do
            import -window "$abfrage" png:- | convert png:- -crop 113x33+128+368 txt:- |
                grep -q '#00FF00\|#FF0000' || break
            sleep 0.05
        done
        import -window "$abfrage" png:- | convert png:- -crop 113x33+128+368 txt:- | grep -q '#00FF00\|#FF0000' &&
            fehler "after the explanation the keyboard was not back on the quiz window"
    else
        tippe "$abfrage" space
    fi
done
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
schliesse_tipp

# The drill through Shift+F10 and its access key: exactly as many questions as were wrong.
tippe "$haupt" shift+F10 f
drill=$(fenster "Kontrolle")
for i in $(seq "$falsch"); do
    xdotool search --onlyvisible --name '^Ergebnis$' >/dev/null 2>&1 && fehler "the drill ended after $((i - 1)) of $falsch questions"
    tippe "$drill" 2 space
    urteil "$drill" >/dev/null
    sleep 0.8
    tippe "$drill" space
done
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"

# The history: the drill asked the questions the quiz got wrong, in file order.
zeilen() { tr -d '\r' <"$ordner/VERLAUF.QXV" | awk -F, -v modus="\"$1\"" -v richtig="${2:-}" \
    '$3 == modus && (richtig == "" || $7 == richtig) { print $5 }'; }
[ "$(zeilen Abfrage | wc -l)" -eq 5 ] || fehler "the quiz left $(zeilen Abfrage | wc -l) lines, not 5"
[ "$(zeilen Fehler)" = "$(zeilen Abfrage 0)" ] ||
    fehler "the drill asked $(zeilen Fehler | tr '\n' ' ') instead of $(zeilen Abfrage 0 | tr '\n' ' ')"

# The review of the drill opens from the keyboard and closes with Escape.
tippe "$haupt" shift+F10 r
rueckblick=$(fenster "Rückblick")
[ "$(xdotool getwindowgeometry "$rueckblick" | sed -n 's/.*Geometry: //p')" = 527x410 ] || fehler "review window size"
tippe "$rueckblick" Escape
weg "Rückblick"

# An exam sheet from the menu: the catalogue holds 15 questions, fewer than the sheet's 24, which
# is said first. Three questions answered, the sheet handed in after the question, the result.
tippe "$haupt" shift+F10 p
tippe "$(fenster "Prüfungssimulation")" Return
bogen=$(fenster "Prüfungssimulation")
for ziffer in 1 2 3; do
    tippe "$bogen" "$ziffer"
    sleep 0.3
    tippe "$bogen" alt+w
    sleep 0.3
done
tippe "$bogen" alt+a
tippe "$(fenster "Abgeben ?")" Return
ergebnis=$(fenster "Prüfungsergebnis")
tippe "$ergebnis" Return
weg "Prüfungsergebnis"
weg "Prüfungssimulation"
[ "$(zeilen Pruefung | wc -l)" -eq 15 ] || fehler "the sheet left $(zeilen Pruefung | wc -l) lines, not 15"
offen=$(tr -d '\r' <"$ordner/VERLAUF.QXV" | awk -F, '$3 == "\"Pruefung\"" && $6 == 0' | wc -l)
[ "$offen" -eq 12 ] || fehler "$offen questions of the sheet open, not 12"

tippe "$haupt" alt+e
tippe "$(fenster "Beenden ?")" Return
for _ in $(seq 200); do laeuft "$programm_pid" || break; sleep 0.05; done
laeuft "$programm_pid" && fehler "the program did not end"
echo "1 passed, 0 failed ($falsch of 5 wrong, drilled from the context menu; an exam sheet handed in)"
