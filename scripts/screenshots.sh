#!/usr/bin/env bash
# Takes the README's pictures of every window from the real program on an X server of its
# own, so that they can be taken again after a change: bash scripts/screenshots.sh
# The pictures go to docs/bilder/; a second pass at twice the scale shows high-resolution screens.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh xvfb xauth xdotool imagemagick python3
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target selvarot

ziel=docs/bilder
mkdir -p "$ziel"
ordner=$(mktemp -d)
xvfb_pid=
programm_pid=
aufraeumen() {
    beende_prozess "$programm_pid"
    stoppe_xvfb
    rm -rf "$ordner"
}
trap aufraeumen EXIT
fehler() { echo "FAIL: $*" >&2; exit 1; }
source scripts/x11.sh

bild() { import -window "$1" "$ziel/$2.png"; echo "$ziel/$2.png"; }

# Where the catalogue has no explanation file for a topic yet, the pictures take one whose texts
# say that they hold the place, written for every question of the topic file.
platzhalter_erlaeuterungen() {
    python3 - "$1" <<'PYTHON'
import csv, io, pathlib, sys
ordner = pathlib.Path(sys.argv[1])
for nr in range(1, 12):
    thema, erl = ordner / f"QXV.{nr}", ordner / f"QXV.{nr}.ERL"
    if erl.exists() or not thema.exists():
        continue
    zeilen = list(csv.reader(io.StringIO(thema.read_bytes().decode("cp1252"), newline="")))
    text = ["\"Platzhalter\",\"\",0"]
    for feld in zeilen[1:]:
        if len(feld) == 6 and feld[5].strip() in "1234" and feld[5].strip():
            text.append('"%s","%s","%s","%s"' % (feld[0], feld[int(feld[5])],
                        "Platzhalter, bis die Erläuterungen des Katalogs fertig sind: Hier steht in ein bis drei "
                        "Sätzen die Regel, aus der die richtige Antwort folgt, und warum die naheliegende falsche "
                        "nicht stimmt.", "Quelle in Kurzform"))
    erl.write_bytes(("\r\n".join(text) + "\r\n").encode("cp1252"))
PYTHON
}

# Clicks a point of a window, in its own pixels at scale 1.
klicke() {
    local id=$1 x=$2 y=$3 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove --sync $((X + x * faktor)) $((Y + y * faktor)) click 1
}

lauf() {
    faktor=$1
    local endung=$2 haupt info lernen abfrage ergebnis frage rueckblick bogen pergebnis stand erlaeuterung heute
    starte_xvfb "$((1024 * faktor))x$((768 * faktor))x24"
    export QT_SCALE_FACTOR=$faktor
    unset QT_QPA_PLATFORM
    rm -rf "${ordner:?}"/*
    cp build/programm/selvarot build/programm/QXV.* build/programm/PRUEFUNG.QXV build/programm/Readme.txt "$ordner/"
    platzhalter_erlaeuterungen "$ordner"
    printf '" "," "\r\n4\r\n3\r\n2\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n' > "$ordner/USER.QXV"
    (cd "$ordner" && exec ./selvarot) &
    programm_pid=$!
    merke_startzeit "$programm_pid"

    haupt=$(fenster "Selvarot I/II - Theorie")
    tippe "$haupt" Down Down Down Down Down space
    sleep 0.3
    bild "$haupt" "hauptfenster$endung"

    tippe "$haupt" alt+i
    info=$(fenster "Info zu Selvarot I/II - Theorie")
    sleep 0.3
    bild "$info" "info$endung"
    tippe "$info" Return
    weg "Info zu Selvarot I/II - Theorie"

    tippe "$haupt" alt+l
    lernen=$(fenster "Lernen")
    sleep 0.3
    bild "$lernen" "lernen-frage$endung"
    tippe "$lernen" space
    sleep 0.3
    bild "$lernen" "lernen-antwort$endung"
    klicke "$lernen" 500 220
    frage=$(fenster "Beenden ?")
    tippe "$frage" Return
    weg "Lernen"

    tippe "$haupt" alt+a
    abfrage=$(fenster "Kontrolle")
    tippe "$abfrage" 2
    sleep 0.3
    bild "$abfrage" "abfrage$endung"
    tippe "$abfrage" space
    urteil "$abfrage" "$faktor" >/dev/null
    sleep 0.3
    bild "$abfrage" "abfrage-geprueft$endung"
    # Why: F1 once the verdict is shown.
    sleep 0.5
    tippe "$abfrage" F1
    erlaeuterung=$(fenster "Erläuterung")
    sleep 0.3
    bild "$erlaeuterung" "erlaeuterung$endung"
    tippe "$erlaeuterung" Escape
    weg "Erläuterung"
    # Through the rest of the topic to the result.
    while true; do
        sleep 0.8
        tippe "$abfrage" space
        if ergebnis=$(xdotool search --onlyvisible --name '^Ergebnis$' 2>/dev/null | tail -n 1) && [ -n "$ergebnis" ]; then
            break
        fi
        tippe "$abfrage" 1 space
        urteil "$abfrage" "$faktor" >/dev/null
    done
    sleep 0.3
    bild "$ergebnis" "ergebnis$endung"
    tippe "$ergebnis" Return
    weg "Kontrolle"
    tipp=$(fenster "Tipp")
    sleep 0.3
    bild "$tipp" "tipp$endung"
    schliesse_tipp

    # The practice from the context menu, on the answers just given; the menu opens below the topic.
    tippe "$haupt" shift+F10
    sleep 0.3
    import -window root -crop "$((300 * faktor))x$((350 * faktor))+$(xdotool getwindowgeometry --shell "$haupt" |
        sed -n 's/^X=//p')+$(xdotool getwindowgeometry --shell "$haupt" | sed -n 's/^Y=//p')" \
        "$ziel/kontextmenue$endung.png"
    tippe "$haupt" r
    rueckblick=$(fenster "Rückblick")
    sleep 0.3
    bild "$rueckblick" "rueckblick$endung"
    tippe "$rueckblick" Escape
    weg "Rückblick"

    tippe "$haupt" shift+F10 p
    bogen=$(fenster "Prüfungssimulation")
    for ziffer in 3 1; do
        tippe "$bogen" "$ziffer"
        sleep 0.3
        tippe "$bogen" alt+w
        sleep 0.3
    done
    tippe "$bogen" 2
    sleep 0.3
    bild "$bogen" "pruefung$endung"
    tippe "$bogen" alt+a
    tippe "$(fenster "Abgeben ?")" Return
    pergebnis=$(fenster "Prüfungsergebnis")
    sleep 0.3
    bild "$pergebnis" "pruefungsergebnis$endung"
    tippe "$pergebnis" Return
    weg "Prüfungssimulation"

    # What is due today, across the topics: one question answered, the rest left.
    tippe "$haupt" shift+F10 h
    heute=$(fenster "Kontrolle")
    tippe "$heute" 2
    sleep 0.3
    bild "$heute" "heute-ueben$endung"
    tippe "$heute" space
    urteil "$heute" "$faktor" >/dev/null
    sleep 0.8
    klicke "$heute" 484 380
    frage=$(fenster "Beenden ?")
    tippe "$frage" Return
    weg "Kontrolle"

    tippe "$haupt" shift+F10 s
    stand=$(fenster "Lernstand")
    sleep 0.3
    bild "$stand" "lernstand$endung"
    tippe "$stand" Escape
    weg "Lernstand"

    tippe "$haupt" alt+e
    frage=$(fenster "Beenden ?")
    tippe "$frage" Return
    wait "$programm_pid" || true
    programm_pid=
    stoppe_xvfb
}

lauf 1 ""
lauf 2 "-2x"
