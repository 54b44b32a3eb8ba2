#!/usr/bin/env bash
# What a screen reader receives: starts the built trainer on a real X server with the
# accessibility bus of a desktop whose user turned accessibility on, from a program folder of
# its own, and lets bildschirmleser.py read its windows over AT-SPI while it drives them with
# real key presses. The trainer must then end cleanly (under the sanitizers: without a report),
# and nothing the test started may be left running.
# Usage: bildschirmleser.sh <path of the built program>
set -euo pipefail

programm=$1
hier=$(cd "$(dirname "$0")" && pwd)
# Debian's own interpreter: the AT-SPI bindings come as a Debian package, whatever python3
# comes first in PATH.
python=/usr/bin/python3
[ -x "$python" ] || { echo "SKIP: $python is not installed"; exit 77; }
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    { echo "SKIP: the AT-SPI bindings for Python (gir1.2-atspi-2.0) are not installed"; exit 77; }

fehler() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x11.sh
source "$hier/../../scripts/x11.sh"
# X server, home, session bus and the accessibility bus of a desktop whose user turned
# accessibility on, all the test's own.
beginne_e2e barrierefrei

# The program folder: eleven topics of three questions (answer n is right in question n),
# titles with letters beyond ASCII in Windows-1252, and a USER.QXV with every grade and one
# that no quiz writes, so that the descriptions of the list differ.
noten=(1 4 2 3 0 1 4 2 3 1 2)
cp "$programm" "$ordner/"
for nr in $(seq 1 11); do
    {
        printf '"Thema %s \226 \334bung","Screenreader",3\r\n' "$nr"
        for f in 1 2 3; do printf '"Frage %s","Antwort 1","Antwort 2","Antwort 3","Antwort 4",%s\r\n' "$f" "$f"; done
    } > "$ordner/QXV.$nr"
done
{
    printf '" "," "\r\n'
    printf '%s\r\n' "${noten[@]}"
} > "$ordner/USER.QXV"

starte_programm "$programm"
fenster "Selvarot I/II - Theorie" >/dev/null

# In the background, so that a signal to the test ends the reader too.
"$python" "$hier/bildschirmleser.py" "$hier/../../scripts/x11.sh" "${noten[@]}" &
leser_pid=$!
merke_prozess "$leser_pid"
# It says itself what it did not find.
wait "$leser_pid" || exit 1

# bildschirmleser.py ended the program with "Ende" and "Ja".
for _ in $(seq 400); do laeuft "$programm_pid" || break; sleep 0.05; done
laeuft "$programm_pid" && fehler "the program did not end"
status=0
wait "$programm_pid" || status=$?
[ "$status" -eq 0 ] || fehler "the program ended with status $status"
[ "$(sed -n 3p "$ordner/USER.QXV")" = $'2\r' ] || fehler "USER.QXV does not hold the new grade of topic 2"
echo "1 passed, 0 failed"
