#!/usr/bin/env bash
# The world that beginne_e2e (scripts/x11.sh) gives an end-to-end test, so that such tests run
# beside each other: two tests started at once each get an X server, a session bus, an
# accessibility bus, a home and a runtime folder of their own, all below their own folder; the
# X server answers a client that connects just as the last one leaves; and when a test ends, by
# itself or by a signal, its own cleaning runs, nothing it started runs on and its folder is gone.
# Usage: umgebung.sh
#        umgebung.sh test <report> <go file>   (one such test: it reports and waits for the go)
set -euo pipefail

hier=$(cd "$(dirname "$0")" && pwd)
fehler() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x11.sh
source "$hier/../../scripts/x11.sh"

if [ "${1:-}" = test ]; then
    bericht=$2
    # Called first at the end, while the test's processes still run.
    raeume_test_auf() { laeuft "$schlaefer" && echo "$e2e_ordner" >"$bericht.aufgeraeumt"; }
    beginne_e2e
    sleep 300 &
    schlaefer=$!
    merke_prozess "$schlaefer"
    {
        echo "ordner=$e2e_ordner"
        for name in DISPLAY HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_RUNTIME_DIR TMPDIR \
            DBUS_SESSION_BUS_ADDRESS; do
            echo "$name=${!name}"
        done
        echo "programmordner=$ordner"
        echo "a11y=$(a11y_adresse)"
        echo "wurzel=$(xprop -root AT_SPI_BUS | sed -n 's/^AT_SPI_BUS(STRING) = "\(.*\)"$/\1/p')"
        echo "prozesse=$xvfb_pid $sitzung_pid $busstarter_pid $(ps -o pid= --ppid "$busstarter_pid" | tr '\n' ' ')$schlaefer"
    } >"$bericht.neu"
    mv "$bericht.neu" "$bericht"
    until [ -e "$3" ]; do sleep 0.1; done
    exit 0
fi

command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }
arbeit=$(mktemp -d)
erster=
zweiter=
trap 'beende_prozess "$erster"; beende_prozess "$zweiter"; rm -rf "$arbeit"' EXIT

bash "$0" test "$arbeit/a" "$arbeit/los" &
erster=$!
merke_startzeit "$erster"
bash "$0" test "$arbeit/b" "$arbeit/los" &
zweiter=$!
merke_startzeit "$zweiter"
for _ in $(seq 600); do [ -e "$arbeit/a" ] && [ -e "$arbeit/b" ] && break; sleep 0.05; done
[ -e "$arbeit/a" ] && [ -e "$arbeit/b" ] || fehler "the two tests did not start"

wert() { sed -n "s/^$2=//p" "$arbeit/$1"; }
for t in a b; do
    ordner=$(wert $t ordner)
    for name in HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_RUNTIME_DIR TMPDIR programmordner; do
        case $(wert $t $name) in
        "$ordner"/*) ;;
        *) fehler "$name of a test is $(wert $t $name), outside its folder $ordner" ;;
        esac
    done
    laufzeit=$(wert $t XDG_RUNTIME_DIR)
    [ "$(stat -c %a "$laufzeit")" = 700 ] || fehler "the runtime folder $laufzeit is open to others"
    for bus in DBUS_SESSION_BUS_ADDRESS a11y; do
        case $(wert $t $bus) in
        unix:path="$laufzeit"/*) ;;
        *) fehler "the $bus of a test is $(wert $t $bus), not in its runtime folder $laufzeit" ;;
        esac
    done
    # The launcher's note on the root window is still there: the server did not start afresh.
    [ "$(wert $t wurzel)" = "$(wert $t a11y)" ] || fehler "the root window names the accessibility bus \"$(wert $t wurzel)\""
    for pid in $(wert $t prozesse); do merke_startzeit "$pid"; done
done
[ "$(wert a DISPLAY)" != "$(wert b DISPLAY)" ] || fehler "both tests got the display $(wert a DISPLAY)"

# A client that connects just as the last one leaves: a server that starts afresh then turns it
# away, and the trainer says "could not connect to display".
python3 - "$(wert a DISPLAY)" <<'EOF' || fehler "the X server turned away a client that connected as the last one left"
import socket, sys, time
adresse = "\0/tmp/.X11-unix/X" + sys.argv[1].lstrip(":")
aufbau = b"l\0\x0b\0\0\0\0\0\0\0\0\0"  # little-endian, protocol 11.0, no authorisation
def verbinde():
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.settimeout(10)
    s.connect(adresse)
    return s
erster = verbinde()
erster.sendall(aufbau)
if erster.recv(1) != b"\1":
    sys.exit("the first client was not let in")
zweiter = verbinde()
erster.close()
time.sleep(1)
try:
    zweiter.sendall(aufbau)
    sys.exit(0 if zweiter.recv(1) == b"\1" else 1)
except OSError:
    sys.exit(1)
EOF

# One test is ended by a signal, the other ends by itself.
kill -TERM "$erster"
touch "$arbeit/los"
status=0
wait "$erster" || status=$?
[ "$status" -eq 143 ] || fehler "the test ended by a signal left with status $status"
wait "$zweiter" || fehler "the test that ended by itself left with status $?"
for t in a b; do
    for pid in $(wert $t prozesse); do
        laeuft "$pid" && fehler "process $pid ($(ps -o args= -p "$pid")) runs on after its test"
    done
    [ ! -e "$(wert $t ordner)" ] || fehler "the folder $(wert $t ordner) is left after its test"
    [ "$(cat "$arbeit/$t.aufgeraeumt" 2>/dev/null)" = "$(wert $t ordner)" ] ||
        fehler "the test's own cleaning did not run first"
done
echo "1 passed, 0 failed (displays $(wert a DISPLAY) and $(wert b DISPLAY))"
