#!/usr/bin/env bash
# Starts the Windows build of the trainer under Wine on an X server of its own, unpacked from
# its archive into a fresh program folder, and drives it with real key presses: the first
# start with the About dialog, the main window at its size, the smallest topic quizzed to its
# result, the end, USER.QXV beside the program; then a second start without the About dialog.
# Prints the time from the start to the first window. Every process it starts (the program,
# Wine's server and the programs Wine starts for itself) is ended by its id.
# Usage: wine.sh <selvarot-...-win64.zip> [folder for the README's pictures]
set -euo pipefail

archiv=$(realpath "$1")
bilder=${2:+$(realpath "$2")}
quelle=$(realpath "$(dirname "$0")/../..")
fehler() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x11.sh
source "$quelle/scripts/x11.sh"
command -v wine >/dev/null || { echo "SKIP: wine is not installed"; exit 77; }

# The processes of this test's Wine: the program and what Wine starts for itself (its services,
# its desktop process), found by the prefix in their environment; the server is known by its id.
wine_prozesse() {
    local umgebung pid
    for umgebung in /proc/[0-9]*/environ; do
        pid=${umgebung#/proc/}
        pid=${pid%/environ}
        case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine/*) ;; *) continue ;; esac
        [ "$pid" != "$wineserver_pid" ] && grep -qzxF "WINEPREFIX=$WINEPREFIX" "$umgebung" 2>/dev/null && echo "$pid"
    done
    return 0
}
# Called first by the test's end (scripts/x11.sh): the program, Wine's own processes, which
# left their parents, and then the server, each by its id.
wineserver_pid=
raeume_test_auf() {
    local pid
    beende_prozess "${programm_pid:-}"
    if [ -n "${WINEPREFIX:-}" ]; then
        for pid in $(wine_prozesse); do
            merke_startzeit "$pid"
            beende_prozess "$pid"
        done
    fi
    beende_prozess "$wineserver_pid"
}
beginne_e2e

# Wine in a prefix of its own, quiet, without the offers to install .NET and a browser engine,
# and with a server of its own that stays until the test ends it.
export WINEPREFIX="$e2e_ordner/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
setpriv --pdeathsig TERM -- wineserver -f -p &
wineserver_pid=$!
merke_startzeit "$wineserver_pid"
wine wineboot.exe --init >/dev/null 2>&1 || fehler "Wine did not set up its prefix"
# Windows brings Arial, Wine does not: the windows get Liberation Sans, which has Arial's
# widths and is the font that stands for Arial on Linux too.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1 ||
    fehler "Wine did not take Liberation Sans for Arial"
# The program folder: the archive unpacked, nothing else.
cmake -E chdir "$ordner" cmake -E tar xf "$archiv"
programmordner="$ordner/selvarot"
erwartet=$(
    echo selvarot.exe
    ls "$quelle/catalog"
)
[ "$(ls "$programmordner" | sort)" = "$(sort <<<"$erwartet")" ] || fehler "the archive holds $(ls "$programmordner" | tr '\n' ' ')"
for datei in $(ls "$quelle/catalog"); do
    cmp -s "$programmordner/$datei" "$quelle/catalog/$datei" || fehler "$datei differs from catalog/"
done
zeilen=$(wc -l <"$programmordner/Readme.txt")
[ "$(grep -c $'\r$' "$programmordner/Readme.txt")" = "$zeilen" ] || fehler "Readme.txt has lines without CR LF"

# The program needs no DLL that Windows does not bring: each one it imports is one of Wine's
# own system DLLs, or an API set (api-ms-win-...), which is no file but a name the loader maps
# to a system DLL; that these resolve shows when the program starts below.
system32="$WINEPREFIX/drive_c/windows/system32"
for dll in $(x86_64-w64-mingw32-objdump -p "$programmordner/selvarot.exe" | sed -n 's/^\tDLL Name: //p'); do
    case ${dll,,} in api-ms-win-*) continue ;; esac
    [ -n "$(find "$system32" -maxdepth 1 -iname "$dll")" ] || fehler "selvarot.exe needs $dll, which Windows does not bring"
done

millisekunden() { echo $((($(date +%s%N) - $1) / 1000000)); }
starte() {
    start=$(date +%s%N)
    (cd "$programmordner" && exec setpriv --pdeathsig TERM -- wine ./selvarot.exe) &
    programm_pid=$!
    merke_prozess "$programm_pid"
}
# The first window of a start under Wine may take longer than fenster waits.
erstes_fenster() {
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name "$(muster "$1")" >/dev/null 2>&1 && break
        laeuft "$programm_pid" || fehler "the program ended before its first window"
        sleep 0.5
    done
    fenster "$1"
}
ende() {
    tippe "$haupt" alt+e
    tippe "$(fenster "Beenden ?")" Return
    for _ in $(seq 200); do laeuft "$programm_pid" || break; sleep 0.05; done
    laeuft "$programm_pid" && fehler "the program did not end"
    beende_prozess "$programm_pid"
}
haupttitel="Selvarot I/II - Theorie"
infotitel="Info zu $haupttitel"

# The first start: the About dialog before the main window.
starte
info=$(erstes_fenster "$infotitel")
erster=$(millisekunden "$start")
erwarte_groesse "$info" 382x319 "Info"
xdotool search --onlyvisible --name "$(muster "$haupttitel")" >/dev/null 2>&1 &&
    fehler "the main window shows before the About dialog is closed"
tippe "$info" Return
haupt=$(fenster "$haupttitel")
erwarte_groesse "$haupt" 462x372 "$haupttitel"

# The topic with the fewest questions, checked with the keyboard (the list starts on topic 1)
# and quizzed to its result, always with the first box.
thema=1
fragen=99
for nr in $(seq 1 11); do
    n=$(head -n 1 "$programmordner/QXV.$nr" | tr -d '\r' | LC_ALL=C sed 's/.*,//')
    [ "$n" -lt "$fragen" ] && { thema=$nr; fragen=$n; }
done
runter=()
for _ in $(seq 2 "$thema"); do runter+=(Down); done
tippe "$haupt" "${runter[@]}" space
sleep 0.3
[ -n "$bilder" ] && import -window "$haupt" "$bilder/wine-hauptfenster.png"
tippe "$haupt" alt+a
abfrage=$(fenster "Kontrolle")
erwarte_groesse "$abfrage" 527x410 "Kontrolle"
richtig=0
for frage in $(seq 1 "$fragen"); do
    tippe "$abfrage" 1
    if [ "$frage" = 1 ] && [ -n "$bilder" ]; then sleep 0.3; import -window "$abfrage" "$bilder/wine-abfrage.png"; fi
    tippe "$abfrage" space
    [ "$(urteil "$abfrage")" = richtig ] && richtig=$((richtig + 1))
    sleep 0.8
    tippe "$abfrage" space
done
ergebnis=$(fenster "Ergebnis")
tippe "$ergebnis" Return
weg "Ergebnis"
weg "Kontrolle"
# The first finished quiz brings the hint about the context menu, once.
schliesse_tipp
ende

# The grade as the result dialog gives it: 99 % right and more 4, 80 % and more 3, else 2.
if [ $((richtig * 100)) -ge $((fragen * 99)) ]; then note=4
elif [ $((richtig * 100)) -ge $((fragen * 80)) ]; then note=3
else note=2; fi
noten=()
for nr in $(seq 1 11); do
    if [ "$nr" = "$thema" ]; then noten+=("$note"); else noten+=(1); fi
done
user=$({
    printf '" "," "\r\n'
    printf '%s\r\n' "${noten[@]}"
} | od -c)
[ "$(od -c <"$programmordner/USER.QXV")" = "$user" ] ||
    fehler "USER.QXV holds $(od -c <"$programmordner/USER.QXV")"
verlauf="$programmordner/VERLAUF.QXV"
[ "$(grep -c $'\r$' "$verlauf")" = "$fragen" ] && [ "$(wc -l <"$verlauf")" = "$fragen" ] ||
    fehler "VERLAUF.QXV does not hold the $fragen answers with CR LF"

# The second start: the main window at once, and the grade kept.
starte
haupt=$(erstes_fenster "$haupttitel")
zweiter=$(millisekunden "$start")
xdotool search --onlyvisible --name "$(muster "$infotitel")" >/dev/null 2>&1 && fehler "the About dialog shows again"
# A third start while the second runs hands over through the named pipe and ends quietly with
# status 0; one that could not reach it would wait on "Selvarot läuft bereits." instead.
dritter_status=0
(cd "$programmordner" && exec timeout 60 wine ./selvarot.exe) || dritter_status=$?
[ "$dritter_status" = 0 ] || fehler "a start beside a running trainer ended with status $dritter_status"
laeuft "$programm_pid" || fehler "the running trainer ended when a second one started"
ende
[ "$(od -c <"$programmordner/USER.QXV")" = "$user" ] || fehler "the second run changed USER.QXV"

echo "time to the first window under Wine: $erster ms (first start), $zweiter ms (second start)"
echo "1 passed, 0 failed (topic $thema: $richtig of $fragen right, grade $note stored; a start beside it handed over)"
