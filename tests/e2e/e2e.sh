#!/usr/bin/env bash
# Drives the built trainer on a real X server with real key presses, from a program folder
# of its own: the first start, learning and a quiz with the keyboard alone, and the end,
# after which USER.QXV must hold exactly the grades of the run.
# Usage: e2e.sh <path of the built program>
set -euo pipefail

programm=$1
fehler() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x11.sh
source "$(dirname "$0")/../../scripts/x11.sh"
beginne_e2e

# The program folder: the program, eleven topic files of three questions each, no USER.QXV.
cp "$programm" "$ordner/"
for nr in $(seq 1 11); do
    {
        printf '"Thema %s","E2E",3\r\n' "$nr"
        for f in 1 2 3; do printf '"Frage %s","A","B","C","D",%s\r\n' "$f" "$f"; done
    } > "$ordner/QXV.$nr"
done

# Every window carries the program icon, in its title-bar sizes at least.
erwarte_icon() {
    local groessen
    groessen=$(xprop -id "$1" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
    case $groessen in
    *"Icon (16 x 16)"*"Icon (32 x 32)"*) ;;
    *) fehler "window \"$2\" has no program icon (${groessen:-none})" ;;
    esac
}
starte_programm "$programm"

# First start: the About dialog comes before the main window.
info=$(fenster "Info zu Selvarot I/II - Theorie")
erwarte_groesse "$info" 382x319 "Info"
erwarte_icon "$info" "Info"
xdotool search --onlyvisible --name "^Selvarot I/II - Theorie\$" >/dev/null 2>&1 &&
    fehler "the main window shows before the About dialog is closed"
tippe "$info" Return
haupt=$(fenster "Selvarot I/II - Theorie")
erwarte_groesse "$haupt" 462x372 "Selvarot I/II - Theorie"
erwarte_icon "$haupt" "Selvarot I/II - Theorie"

# Topic 3 checked with the keyboard (the list starts on topic 1), then learned from start
# to "Zurück".
tippe "$haupt" Down Down space
tippe "$haupt" alt+l
lernen=$(fenster "Lernen")
erwarte_groesse "$lernen" 524x245 "Lernen"
erwarte_icon "$lernen" "Lernen"
for _ in 1 2 3 4 5 6; do tippe "$lernen" space; done
weg "Lernen"

# The same topic quizzed: digit, Space, and Space again after the pause.
tippe "$haupt" alt+a
abfrage=$(fenster "Kontrolle")
erwarte_groesse "$abfrage" 527x410 "Kontrolle"
erwarte_icon "$abfrage" "Kontrolle"
richtig=0
for frage in 1 2 3; do
    tippe "$abfrage" "$frage" space
    [ "$(urteil "$abfrage")" = richtig ] && richtig=$((richtig + 1))
    sleep 1
    tippe "$abfrage" space
done
ergebnis=$(fenster "Ergebnis")
erwarte_groesse "$ergebnis" 321x306 "Ergebnis"
erwarte_icon "$ergebnis" "Ergebnis"
tippe "$ergebnis" Return
weg "Ergebnis"
weg "Kontrolle"
schliesse_tipp

# "Ende" answered with "Ja" (the default) ends the program.
tippe "$haupt" alt+e
frage=$(fenster "Beenden ?")
erwarte_icon "$frage" "Beenden ?"
tippe "$frage" Return
for _ in $(seq 200); do laeuft "$programm_pid" || break; sleep 0.05; done
laeuft "$programm_pid" && fehler "the program did not end"

case $richtig in 3) note=4 ;; *) note=2 ;; esac
erwartet=$(printf '" "," "\r\n1\r\n1\r\n%s\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n' "$note" | od -c)
[ "$(od -c < "$ordner/USER.QXV")" = "$erwartet" ] || fehler "USER.QXV holds $(od -c < "$ordner/USER.QXV")"
echo "1 passed, 0 failed ($richtig of 3 right, grade $note stored)"
