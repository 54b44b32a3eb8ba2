#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it with apt and drives the
# installed trainer as an ordinary user on a real X server with real key presses: the first
# start, one quiz, the end, and a second start that finds the grade in the user's own data
# folder. Then the package is purged and nothing of it may be left.
# Usage: paket.sh <build folder>
set -euo pipefail

build=$(cd "$1" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
command -v apt-get >/dev/null && command -v dpkg-query >/dev/null || { echo "SKIP: no apt on this system"; exit 77; }
status=$(dpkg-query -W -f='${db:Status-Status}' selvarot 2>/dev/null || true)
if [ -n "$status" ] && [ "$status" != not-installed ]; then
    echo "SKIP: selvarot is installed on this system ($status); this test would remove it"
    exit 77
fi

# shellcheck source=../../scripts/x11.sh
source "$(dirname "$0")/../../scripts/x11.sh"

ordner=$(mktemp -d)
chmod 755 "$ordner"
heim="$ordner/heim"
laufzeit="$ordner/laufzeit"
protokoll="$ordner/programm.log"
xvfb_pid=
programm_pid=
installiert=
mitgebracht=()

entferne_paket() {
    [ -n "$installiert" ] || return 0
    installiert=
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -o DPkg::Lock::Timeout=300 selvarot "${mitgebracht[@]}" >"$ordner/purge.log" 2>&1 ||
        { cat "$ordner/purge.log" >&2; return 1; }
}
aufraeumen() {
    beende_prozess "$programm_pid"
    stoppe_xvfb
    entferne_paket || echo "FAIL: could not purge selvarot" >&2
    rm -rf "$ordner"
}
trap aufraeumen EXIT

fehler() {
    echo "FAIL: $*" >&2
    [ -s "$protokoll" ] && { echo "--- program output:" >&2; cat "$protokoll" >&2; }
    exit 1
}
for werkzeug in cpack lintian Xvfb xdotool xprop import setpriv; do
    command -v "$werkzeug" >/dev/null || fehler "$werkzeug is not installed"
done

# The package, as the deb target builds it.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$ordner/selvarot_${version}_$(dpkg --print-architecture).deb"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$ordner" >"$ordner/cpack.log" 2>&1 ||
    { cat "$ordner/cpack.log" >&2; fehler "cpack failed"; }
[ -f "$deb" ] || fehler "no $(basename "$deb"): $(ls "$ordner")"
chmod 644 "$deb"

# lintian leaves files in its TMPDIR behind.
TMPDIR="$ordner" lintian --fail-on error "$deb" >"$ordner/lintian.log" 2>&1 || { cat "$ordner/lintian.log" >&2; fehler "lintian reports errors"; }
sed '/running with root privileges/d; s/^/lintian: /' "$ordner/lintian.log"

# The library links give the rest; these three are loaded at run time.
abhaengig=$(dpkg-deb -f "$deb" Depends)
for paket in libqt6widgets6 qt6-qpa-plugins fonts-liberation qt6-translations-l10n; do
    grep -qE "(^|, )$paket( |,|$)" <<<"$abhaengig" || fehler "the package does not depend on $paket: $abhaengig"
done

# apt brings what is missing; whatever it brings goes again at the end.
vorher=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort)
installiert=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=300 "$deb" >"$ordner/apt.log" 2>&1 ||
    { cat "$ordner/apt.log" >&2; fehler "apt-get install failed"; }
while read -r paket; do
    [ "$paket" = selvarot ] || grep -qxF "$paket" <<<"$vorher" || mitgebracht+=("$paket")
done < <(sed -n 's/^Setting up \([^: ]*\).*/\1/p' "$ordner/apt.log")
[ ${#mitgebracht[@]} -eq 0 ] || echo "apt brought: ${mitgebracht[*]}"

[ "$(command -v selvarot)" = /usr/bin/selvarot ] || fehler "selvarot is not on the PATH"
[ /usr/bin/selvarot -ef /usr/lib/selvarot/selvarot ] || fehler "/usr/bin/selvarot does not start /usr/lib/selvarot/selvarot"
ordnerstand() { find /usr/lib/selvarot -printf '%P %s %m %T@\n' | sort; }
stand=$(ordnerstand)

# An ordinary user with a fresh home and runtime folder of the test's own, and nothing else of
# the caller's environment.
mkdir "$heim"
mkdir -m 700 "$laufzeit"
chown nobody:nogroup "$heim" "$laufzeit"
starte_xvfb
# No session bus: the address names none, so that the bus library does not try to launch one
# for the X display. The sanitizer run's options go along, so that a report there fails. The
# program ends with the test, even when the test is killed outright.
als_nutzer() {
    (cd "$heim" && exec env -i HOME="$heim" XDG_RUNTIME_DIR="$laufzeit" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$heim/kein-bus" \
        ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
        setpriv --reuid=nobody --regid=nogroup --clear-groups --pdeathsig TERM "$@") >>"$protokoll" 2>&1 &
    programm_pid=$!
    merke_startzeit "$programm_pid"
}

# "Ende" with "Ja"; the program must end without any further message (such as a failed save).
beende() {
    tippe "$1" alt+e
    tippe "$(fenster "Beenden ?")" Return
    for _ in $(seq 200); do laeuft "$programm_pid" || break; sleep 0.05; done
    if laeuft "$programm_pid"; then
        fehler "the program did not end; open: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
    fi
    local status=0
    wait "$programm_pid" || status=$?
    programm_pid=
    [ "$status" -eq 0 ] || fehler "the program ended with status $status"
}

# First start: the About dialog, then topic 1 (the list starts on it) quizzed to the end.
als_nutzer selvarot
tippe "$(fenster "Info zu Selvarot I/II - Theorie")" Return
haupt=$(fenster "Selvarot I/II - Theorie")
# Desktops tell the program's windows by the class that the desktop entry names.
klasse=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/example.funkkurs.selvarot.desktop)
xprop -id "$haupt" WM_CLASS | grep -q ", \"$klasse\"\$" ||
    fehler "window class $(xprop -id "$haupt" WM_CLASS) is not the desktop entry's \"$klasse\""
tippe "$haupt" space alt+a
abfrage=$(fenster "Kontrolle")
fragen=$(tail -n +2 /usr/lib/selvarot/QXV.1 | grep -c ,)
[ "$fragen" -gt 30 ] && fragen=30
richtig=0
for frage in $(seq "$fragen"); do
    tippe "$abfrage" $((frage % 4 + 1)) space
    [ "$(urteil "$abfrage")" = richtig ] && richtig=$((richtig + 1))
    sleep 1
    tippe "$abfrage" space
done
tippe "$(fenster "Ergebnis")" Return
weg "Ergebnis"
weg "Kontrolle"
schliesse_tipp
beende "$haupt"

note=$(awk -v n="$fragen" -v r="$richtig" 'BEGIN { p = (100.0 / n) * r; print (p >= 99 ? 4 : p >= 80 ? 3 : 2) }')
erwartet=$(printf '" "," "\r\n%s\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n' "$note" | od -c)
user="$heim/.local/share/selvarot/USER.QXV"
pruefe_user() {
    [ -f "$user" ] || fehler "no USER.QXV in the user's data folder after $1: $(cd "$heim" && find . | tr '\n' ' ')"
    [ "$(od -c <"$user")" = "$erwartet" ] || fehler "USER.QXV after $1 holds $(od -c <"$user")"
    [ "$(stat -c %U "$user")" = nobody ] || fehler "USER.QXV does not belong to the user"
    [ "$(ordnerstand)" = "$stand" ] || fehler "the program folder changed after $1: $(ordnerstand)"
}
pruefe_user "the first run"

# Second start: the grade is read back, so the main window comes up directly.
als_nutzer selvarot
haupt=
for _ in $(seq 200); do
    xdotool search --onlyvisible --name "$(muster "Info zu Selvarot I/II - Theorie")" >/dev/null 2>&1 &&
        fehler "the About dialog shows on the second start"
    haupt=$(xdotool search --onlyvisible --name "$(muster "Selvarot I/II - Theorie")" 2>/dev/null | tail -n 1 || true)
    [ -n "$haupt" ] && break
    sleep 0.05
done
[ -n "$haupt" ] || fehler "no main window on the second start"
beende "$haupt"
pruefe_user "the second run"
dpkg --verify selvarot || fehler "files of the package changed"

# Purged, the package leaves nothing behind.
dateien=$(dpkg-query -L selvarot)
entferne_paket || fehler "apt-get purge failed"
while read -r pfad; do
    [ -d "$pfad" ] && [ ! -L "$pfad" ] && continue
    [ -e "$pfad" ] || [ -L "$pfad" ] && fehler "$pfad is left after the purge"
done <<<"$dateien"
for pfad in /usr/lib/selvarot /usr/share/doc/selvarot; do
    [ -e "$pfad" ] && fehler "$pfad is left after the purge"
done
status=$(dpkg-query -W -f='${db:Status-Status}' selvarot 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] || fehler "selvarot is still known to dpkg: $status"
echo "1 passed, 0 failed ($richtig of $fragen right, grade $note kept in the user's data folder)"
