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
busstarter=/usr/libexec/at-spi-bus-launcher
for werkzeug in Xvfb xdotool dbus-daemon dbus-send "$busstarter" "$python"; do
    command -v "$werkzeug" >/dev/null || { echo "SKIP: $werkzeug is not installed"; exit 77; }
done
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    { echo "SKIP: the AT-SPI bindings for Python (gir1.2-atspi-2.0) are not installed"; exit 77; }

ordner=$(mktemp -d)
xvfb_pid=
sitzung_pid=
busstarter_pid=
programm_pid=
register_pid=
leser_pid=

# The registry daemon of the accessibility bus is started by that bus and leaves its parent:
# asked for by the bus while it is there, it is ended by its id like everything else.
merke_register() {
    local adresse
    [ -n "$register_pid" ] && return 0
    adresse=$(dbus-send --session --reply-timeout=2000 --print-reply=literal --dest=org.a11y.Bus \
        /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') || return 0
    register_pid=$(dbus-send --bus="$adresse" --reply-timeout=2000 --print-reply=literal --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID \
        string:org.a11y.atspi.Registry 2>/dev/null | awk '{ print $2 }') || register_pid=
}
# A process that ended but was not reaped by its new parent counts as ended.
laeuft() {
    local zustand
    zustand=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $zustand != Z* ]]
}
beende() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 200); do laeuft "$pid" || return 0; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null || true
}
aufraeumen() {
    # A second signal must not cut the cleaning short.
    trap '' TERM INT HUP
    beende "$leser_pid"
    beende "$programm_pid"
    [ -n "$sitzung_pid" ] && merke_register
    # The bus starter takes its accessibility bus with it.
    beende "$busstarter_pid"
    beende "$sitzung_pid"
    beende "$register_pid"
    stoppe_xvfb
    rm -rf "$ordner"
}
trap aufraeumen EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

fehler() { echo "FAIL: $*" >&2; exit 1; }

# shellcheck source=../../scripts/x11.sh
source "$hier/../../scripts/x11.sh"
starte_xvfb
unset QT_QPA_PLATFORM QT_SCALE_FACTOR AT_SPI_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON

# Sockets and settings of the buses stay in the test's folder, never in the user's home.
mkdir -m 700 "$ordner/heim" "$ordner/laufzeit"
export HOME="$ordner/heim" XDG_RUNTIME_DIR="$ordner/laufzeit" GSETTINGS_BACKEND=memory
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME

# A session bus of its own, and on it the accessibility bus as a desktop starts it.
dbus-daemon --session --nofork --print-address=3 3>"$ordner/sitzung" 2>/dev/null &
sitzung_pid=$!
for _ in $(seq 200); do [ -s "$ordner/sitzung" ] && break; sleep 0.05; done
[ -s "$ordner/sitzung" ] || fehler "the session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$ordner/sitzung")
export DBUS_SESSION_BUS_ADDRESS
"$busstarter" --launch-immediately --a11y=1 >/dev/null 2>&1 &
busstarter_pid=$!
bus_da() {
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
for _ in $(seq 200); do bus_da && break; sleep 0.05; done
bus_da || fehler "the accessibility bus did not start"

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

(cd "$ordner" && exec "./$(basename "$programm")") &
programm_pid=$!
fenster "Selvarot I/II - Theorie" >/dev/null

# In the background, so that a signal to the test ends the reader too.
"$python" "$hier/bildschirmleser.py" "$hier/../../scripts/x11.sh" "${noten[@]}" &
leser_pid=$!
# It says itself what it did not find.
wait "$leser_pid" || exit 1
leser_pid=

# bildschirmleser.py ended the program with "Ende" and "Ja".
for _ in $(seq 400); do laeuft "$programm_pid" || break; sleep 0.05; done
laeuft "$programm_pid" && fehler "the program did not end"
status=0
wait "$programm_pid" || status=$?
programm_pid=
[ "$status" -eq 0 ] || fehler "the program ended with status $status"
[ "$(sed -n 3p "$ordner/USER.QXV")" = $'2\r' ] || fehler "USER.QXV does not hold the new grade of topic 2"
echo "1 passed, 0 failed"
