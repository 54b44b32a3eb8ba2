#!/usr/bin/env bash
# Grades are never lost, however the trainer ends: the built program on a real X server, driven
# by real key presses from a program folder of its own.
#  - a quiz's result, then kill -KILL: the grade is already in USER.QXV;
#  - the same with TERM while the result is open (the normal end through a modal window), and
#    with the X server going away;
#  - a second start raises the first trainer and ends; a second writer of USER.QXV (another
#    computer on a shared folder) keeps its grade;
#  - a file-size limit: the history's message, no death, nothing lost.
# As root, also as the unprivileged user nobody: no writing through links planted in a folder
# that others may write, nor over someone else's file; a learner's own links in a folder of
# their own keep working; without a home folder, one message at the start and nothing written.
# Usage: dauer.sh <path of the built program>
set -euo pipefail

programm=$1
protokoll=
fehler() {
    echo "FAIL: $*" >&2
    [ -n "$protokoll" ] && [ -s "$protokoll" ] && { echo "--- program output:" >&2; cat "$protokoll" >&2; }
    exit 1
}
# shellcheck source=../../scripts/x11.sh
source "$(dirname "$0")/../../scripts/x11.sh"
beginne_e2e
command -v xmessage >/dev/null || { echo "SKIP: xmessage is not installed"; exit 77; }
# The user nobody must reach the program folders below the test's folder.
chmod 755 "$e2e_ordner" "$ordner"
protokoll="$ordner/programm.log"

# A program folder: the program and eleven topics of three questions.
richte_ein() {
    mkdir -p "$1"
    cp "$programm" "$1/selvarot"
    for nr in $(seq 1 11); do
        {
            printf '"Thema %s","E2E",3\r\n' "$nr"
            for f in 1 2 3; do printf '"Frage %s","A","B","C","D",%s\r\n' "$f" "$f"; done
        } >"$1/QXV.$nr"
    done
}
noten() { printf '" "," "\r\n'; for n in "$@"; do printf '%s\r\n' "$n"; done; }
note() { sed -n "$(($2 + 1))p" "$1" | tr -d '\r'; }
erwarte_noten() {
    local datei=$1 wann=$2 erwartet
    shift 2
    erwartet=$(noten "$@" | od -c)
    [ "$(od -c <"$datei")" = "$erwartet" ] || fehler "after $wann $datei holds $(od -c <"$datei")"
}

prog="$ordner/programm"
richte_ein "$prog"
noten 1 1 1 1 1 1 1 1 1 1 1 >"$prog/USER.QXV"
# What USER.QXV of the program folder must hold, topic 1 to 11.
soll=(1 1 1 1 1 1 1 1 1 1 1)

starte() {
    (cd "${1:-$prog}" && exec ./selvarot) >>"$protokoll" 2>&1 &
    programm_pid=$!
    merke_prozess "$programm_pid"
}
haupt_titel="Selvarot I/II - Theorie"

# Checks topic $2 in the main window $1 and quizzes it up to the result, crossing box n for
# question n; the grade it earns goes into $note. $3, if given, is the title of a message
# expected after the first answer.
quiz() {
    local haupt=$1 thema=$2 nach_erster=${3:-} keys=() abfrage richtig=0
    for _ in $(seq 2 "$thema"); do keys+=(Down); done
    tippe "$haupt" Home "${keys[@]}" space alt+a
    abfrage=$(fenster "Kontrolle")
    for f in 1 2 3; do
        tippe "$abfrage" "$f" space
        if [ "$f" = 1 ] && [ -n "$nach_erster" ]; then
            tippe "$(fenster "$nach_erster")" Return
            weg "$nach_erster"
        fi
        [ "$(urteil "$abfrage")" = richtig ] && richtig=$((richtig + 1))
        sleep 1
        tippe "$abfrage" space
    done
    case $richtig in 3) note=4 ;; *) note=2 ;; esac
}

# Waits for the program to end; its exit status in $status.
warte_ende() {
    for _ in $(seq 200); do laeuft "$programm_pid" || break; sleep 0.05; done
    laeuft "$programm_pid" && fehler "the program did not end ($1)"
    status=0
    wait "$programm_pid" || status=$?
    programm_pid=
}

beende() {
    tippe "$1" alt+e
    tippe "$(fenster "Beenden ?")" Return
    warte_ende "$2"
    [ "$status" -eq 0 ] || fehler "the program ended with status $status ($2)"
}

# 1. KILL with the result on the screen: the grade is on disk already.
starte
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 1
soll[0]=$note
fenster "Ergebnis" >/dev/null
kill -KILL "$programm_pid"
warte_ende "KILL"
erwarte_noten "$prog/USER.QXV" "kill -KILL" "${soll[@]}"
[ -e "$prog/USER.QXV.sperre" ] || fehler "no lock was left by the killed trainer"

# 2. TERM with the result open: the killed trainer's lock is taken over, and TERM ends through
# the normal end, the modal windows closing, the lock going.
starte
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 2
soll[1]=$note
fenster "Ergebnis" >/dev/null
kill -TERM "$programm_pid"
warte_ende "TERM"
[ "$status" -eq 0 ] || fehler "TERM ended the program with status $status"
erwarte_noten "$prog/USER.QXV" "TERM" "${soll[@]}"
[ -e "$prog/USER.QXV.sperre" ] && fehler "the lock is left after TERM"

# 3. The X server goes away after a result.
starte
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 3
soll[2]=$note
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
stoppe_xvfb
warte_ende "the end of the X server"
erwarte_noten "$prog/USER.QXV" "the end of the X server" "${soll[@]}"
starte_xvfb

# 4. Two starts: the second brings the first to the front and ends. Another program's window
# lies over the trainer first. (Without a window manager the X server gives the keyboard only to
# the newest request, so the order of the windows is what tells.)
starte
haupt=$(fenster "$haupt_titel")
sleep 0.5
xmessage -geometry +0+0 "Ein anderes Programm" &
anderes_pid=$!
merke_prozess "$anderes_pid"
anderes=$(fenster "xmessage")
xdotool windowraise "$anderes"
# xwininfo lists the windows from the top down.
oberstes() { xwininfo -root -children | grep -oE "\"($haupt_titel|xmessage)\"" | head -n 1; }
[ "$(oberstes)" = '"xmessage"' ] || fehler "the other window is not on top: $(oberstes)"
zweiter_status=0
(cd "$prog" && exec timeout 20 ./selvarot) >>"$protokoll" 2>&1 || zweiter_status=$?
[ "$zweiter_status" -eq 0 ] || fehler "the second start ended with status $zweiter_status"
for _ in $(seq 100); do [ "$(oberstes)" = "\"$haupt_titel\"" ] && break; sleep 0.05; done
[ "$(oberstes)" = "\"$haupt_titel\"" ] || fehler "the second start did not bring the first trainer to the front"
[ "$(xdotool search --onlyvisible --name "$(muster "$haupt_titel")" | wc -l)" -eq 1 ] ||
    fehler "a second main window is open"
kill "$anderes_pid" 2>/dev/null || true
# The running trainer quizzes topic 4 while another computer on the share grades topic 5.
quiz "$haupt" 4
soll[3]=$note
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
erwarte_noten "$prog/USER.QXV" "the result of topic 4" "${soll[@]}"
# That computer's trainer saves its own view: topic 4 as it was when it started.
andere=("${soll[@]}")
andere[3]=1
andere[4]=3
soll[4]=3
noten "${andere[@]}" >"$prog/USER.QXV"
beende "$haupt" "two starts"
erwarte_noten "$prog/USER.QXV" "a second writer" "${soll[@]}"

# 5. A file-size limit of 1 KiB that the history already fills: the history's message, once;
# the grade saved; the program ends normally.
verlauf_vorher=$(head -c 1000 /dev/zero | tr '\0' 'x')
printf '%s\r\n' "$verlauf_vorher" >"$prog/VERLAUF.QXV"
cp "$prog/VERLAUF.QXV" "$ordner/verlauf.vorher"
(cd "$prog" && ulimit -f 1 && exec ./selvarot) >>"$protokoll" 2>&1 &
programm_pid=$!
merke_prozess "$programm_pid"
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 6 "Antwortverlauf"
soll[5]=$note
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
beende "$haupt" "a file-size limit"
erwarte_noten "$prog/USER.QXV" "a file-size limit" "${soll[@]}"
# What the history held stays; at most the cut start of a line follows, which reading skips.
cmp -s -n "$(stat -c %s "$ordner/verlauf.vorher")" "$prog/VERLAUF.QXV" "$ordner/verlauf.vorher" ||
    fehler "the history lost what it held at the file-size limit"
[ "$(stat -c %s "$prog/VERLAUF.QXV")" -le 1024 ] || fehler "the history grew past the file-size limit"

if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
    echo "1 passed, 0 failed (the cases of an unprivileged user need root and setpriv: not run)"
    exit 0
fi

# As the user nobody, with a home of their own and nothing else of this environment.
heim="$ordner/heim-nobody"
mkdir -p "$heim/tmp" "$heim/noten"
chown -R nobody:nogroup "$heim"
als_nobody() {
    local wo=$1
    shift
    (cd "$wo" && exec env -i DISPLAY="$DISPLAY" PATH=/usr/bin:/bin TMPDIR="$heim/tmp" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$heim/kein-bus" "$@" \
        setpriv --reuid=nobody --regid=nogroup --clear-groups ./selvarot) >>"$protokoll" 2>&1 &
    programm_pid=$!
    merke_prozess "$programm_pid"
}

# 6. A folder that others may write (no sticky bit): USER.QXV belongs to someone else, and
# VERLAUF.QXV is a link planted to a file of the learner's. Both are refused, each said once.
geteilt="$ordner/geteilt"
richte_ein "$geteilt"
chmod 777 "$geteilt"
noten 2 2 2 2 2 2 2 2 2 2 2 >"$geteilt/USER.QXV"
chmod 666 "$geteilt/USER.QXV"
cp "$geteilt/USER.QXV" "$ordner/fremd.vorher"
printf 'Eigene Datei\n' >"$heim/opfer"
chown nobody:nogroup "$heim/opfer"
ln -s "$heim/opfer" "$geteilt/VERLAUF.QXV"
als_nobody "$geteilt" HOME="$heim"
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 1 "Antwortverlauf"
tippe "$(fenster "Speichern")" Return
weg "Speichern"
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
schliesse_tipp
beende "$haupt" "a shared folder"
[ "$(cat "$heim/opfer")" = "Eigene Datei" ] || fehler "the planted link was written through: $(cat "$heim/opfer")"
[ -L "$geteilt/VERLAUF.QXV" ] || fehler "the planted link was replaced"
cmp -s "$geteilt/USER.QXV" "$ordner/fremd.vorher" || fehler "someone else's USER.QXV was replaced"
[ "$(stat -c %U "$geteilt/USER.QXV")" = root ] || fehler "someone else's USER.QXV changed hands"

# 7. The learner's own links in a folder only they may write keep working.
privat="$ordner/privat"
richte_ein "$privat"
noten 1 1 1 1 1 1 1 1 1 1 1 >"$heim/noten/USER.QXV"
ln -s "$heim/noten/USER.QXV" "$privat/USER.QXV"
ln -s "$heim/noten/VERLAUF.QXV" "$privat/VERLAUF.QXV"
chown -R nobody:nogroup "$privat" "$heim/noten"
chmod 755 "$privat"
als_nobody "$privat" HOME="$heim"
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 2
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
schliesse_tipp
beende "$haupt" "the learner's own links"
[ -L "$privat/USER.QXV" ] && [ -L "$privat/VERLAUF.QXV" ] || fehler "the learner's own links were replaced"
erwarte_noten "$heim/noten/USER.QXV" "the learner's own links" 1 "$note" 1 1 1 1 1 1 1 1 1
[ "$(grep -c Abfrage "$heim/noten/VERLAUF.QXV")" -eq 3 ] || fehler "the history behind the link holds $(cat "$heim/noten/VERLAUF.QXV")"

# 8. Without a home, in a program folder the learner may not write: one message at the start,
# then learning and quizzing without saving, and nothing written anywhere.
system="$ordner/system"
richte_ein "$system"
noten 3 3 3 3 3 3 3 3 3 3 3 >"$system/USER.QXV"
wo_nicht() { find "$ordner" /tmp /var/tmp -xdev -user nobody -not -path "$heim/tmp/*" -not -path "/tmp/runtime-nobody*" 2>/dev/null | sort; }
vorher=$(wo_nicht)
als_nobody "$system"
tippe "$(fenster "Speichern")" Return
haupt=$(fenster "$haupt_titel")
quiz "$haupt" 1
tippe "$(fenster "Ergebnis")" Return
weg "Kontrolle"
schliesse_tipp
beende "$haupt" "no home"
nachher=$(wo_nicht)
[ "$vorher" = "$nachher" ] || fehler "without a home, files were written: $(comm -13 <(echo "$vorher") <(echo "$nachher"))"
[ -e /.local/share/selvarot ] && fehler "without a home, a folder was made under /"
erwarte_noten "$system/USER.QXV" "no home" 3 3 3 3 3 3 3 3 3 3 3

echo "1 passed, 0 failed (KILL, TERM, the X server's end, two starts, a file-size limit, shared and own folders, no home)"
