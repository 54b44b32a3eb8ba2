# Helpers for driving the trainer on an X server of its own with real key presses; sourced
# by the end-to-end test and the screenshot script. The caller defines fehler().

# The common start of an end-to-end test: skips (77) where the X tools are missing, makes the
# program folder $ordner, starts Xvfb, and at the end takes away the program (its process id in
# $programm_pid), the X server and the folder, however the test ends.
beginne_e2e() {
    local werkzeug
    for werkzeug in Xvfb xdotool import; do
        command -v "$werkzeug" >/dev/null || { echo "SKIP: $werkzeug is not installed"; exit 77; }
    done
    ordner=$(mktemp -d)
    xvfb_pid=
    programm_pid=
    trap raeume_e2e_auf EXIT
    starte_xvfb
    unset QT_QPA_PLATFORM QT_SCALE_FACTOR
}

raeume_e2e_auf() {
    if [ -n "${programm_pid:-}" ]; then kill "$programm_pid" 2>/dev/null || true; fi
    stoppe_xvfb
    rm -rf "$ordner"
}

# Starts Xvfb on a display it picks itself and exports DISPLAY once the server is ready;
# the caller ends it with stoppe_xvfb.
starte_xvfb() {
    local meldung
    meldung=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$meldung" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        if [ -s "$meldung" ]; then
            export DISPLAY=":$(head -n 1 "$meldung")"
            rm -f "$meldung"
            return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$meldung"
    fehler "Xvfb did not start"
}

stoppe_xvfb() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
}

# xdotool finds windows by a regular expression; titles such as "Beenden ?" are meant literally.
muster() { printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$?+(){}|]/\\&/g')"; }

# Waits for a visible window with exactly this title and prints its id.
fenster() {
    local titel=$1 id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$(muster "$titel")" 2>/dev/null | tail -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    fehler "no window \"$titel\""
}

# Waits until no window with this title is visible.
weg() {
    local titel=$1
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "$(muster "$titel")" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fehler "window \"$titel\" is still open"
}

# Without a window manager each new window is given the keyboard here.
tippe() {
    local id=$1
    shift
    xdotool windowfocus --sync "$id"
    xdotool key --delay 40 "$@"
}

# After the learner's first finished quiz the main window gives one hint, titled "Tipp";
# Enter closes it.
schliesse_tipp() {
    tippe "$(fenster "Tipp")" Return
    weg "Tipp"
}

# The verdict label of the quiz window: pure green for "Richtig !", pure red for "Falsch !".
# A second argument gives the scale of the screen.
urteil() {
    local id=$1 f=${2:-1} farben
    for _ in $(seq 100); do
        farben=$(import -window "$id" png:- 2>/dev/null |
            convert png:- -crop "$((113 * f))x$((33 * f))+$((128 * f))+$((368 * f))" txt:- 2>/dev/null || true)
        grep -q '#00FF00' <<<"$farben" && { echo richtig; return 0; }
        grep -q '#FF0000' <<<"$farben" && { echo falsch; return 0; }
        sleep 0.05
    done
    fehler "no verdict shown"
}
