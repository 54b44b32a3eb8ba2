# Helpers for driving the trainer on an X server of its own with real key presses; sourced
# by the end-to-end tests, the screenshot and the benchmark script. The caller defines fehler().
#
# End-to-end tests run beside each other (ctest -j) and beside those of other checkouts on the
# same machine, so each one lives in a world of its own. A new end-to-end test must:
#   - define fehler(), source this file and call beginne_e2e before it starts anything: it gets
#     a folder of its own, the program folder $ordner in it, a home ($HOME with the XDG_* folders
#     and XDG_RUNTIME_DIR, TMPDIR), an X server ($DISPLAY), a session bus and an accessibility
#     bus ("beginne_e2e barrierefrei" turns accessibility on, as a screen reader's user has it);
#   - start the trainer with starte_programm (more than once for several instances; the id of the
#     latest is in $programm_pid) and register every other process it starts in the background
#     with merke_prozess, so that the end of the test, however it comes, ends them;
#   - write only below its folder or $HOME, never to a fixed path in /tmp or the caller's home,
#     and never name a display number;
#   - signal a process only by its id (kill "$programm_pid"), never by name (pkill, killall), end
#     it through beende_prozess, and ask laeuft rather than kill -0: an id whose process ended
#     may already belong to another test's process.
#   - leave the EXIT trap to beginne_e2e: what it must clean up itself (a daemon that left its
#     parent, such as wineserver, ended with what the program offers for that) goes into a
#     function raeume_test_auf, which the end of the test calls first, while all still stands;
#   - if it truly needs the machine to itself, say so to CTest (RUN_SERIAL) with the reason.

# The start of a process: with its id it names that process, where the id alone may already have
# been handed to another after the process ended. Every process of a test is recorded with it.
declare -gA e2e_start=()
declare -ga e2e_programme=()
startzeit() {
    local stand
    stand=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stand=${stand##*) }
    # shellcheck disable=SC2086
    set -- $stand
    echo "${20}"
}
merke_startzeit() { e2e_start[$1]=$(startzeit "$1"); }
# A process the test started in the background, ended at its end (the latest first).
merke_prozess() {
    merke_startzeit "$1"
    e2e_programme+=("$1")
}

# Whether the recorded process still runs; one that ended but was not yet reaped by its parent
# counts as ended.
laeuft() {
    local pid=$1 stand
    stand=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    stand=${stand##*) }
    [[ $stand != Z* ]] || return 1
    # shellcheck disable=SC2086
    set -- $stand
    # A process recorded without a start had ended before it was recorded.
    [ "${e2e_start[$pid]-${20}}" = "${20}" ]
}

# Ends a recorded process: TERM, and KILL when it is still there after ten seconds.
beende_prozess() {
    local pid=${1:-}
    [ -n "$pid" ] && [ -n "${e2e_start[$pid]:-}" ] || return 0
    if laeuft "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 200); do laeuft "$pid" || break; sleep 0.05; done
        laeuft "$pid" && kill -KILL "$pid" 2>/dev/null
        # Reaps it when it is a child of this shell.
        wait "$pid" 2>/dev/null || true
    fi
    unset "e2e_start[$pid]"
}

# The common start of an end-to-end test (see the top of this file). Skips (77) where a tool is
# missing; at the end, however the test ends, its processes, X server, buses and folder go.
beginne_e2e() {
    local werkzeug barrierefrei=0
    [ "${1:-}" = barrierefrei ] && barrierefrei=1
    for werkzeug in Xvfb xdotool import setpriv dbus-daemon dbus-send /usr/libexec/at-spi-bus-launcher; do
        command -v "$werkzeug" >/dev/null || { echo "SKIP: $werkzeug is not installed"; exit 77; }
    done
    e2e_ordner=$(mktemp -d)
    ordner="$e2e_ordner/programm"
    xvfb_pid=
    programm_pid=
    trap raeume_e2e_auf EXIT
    # A signal ends the test through its cleaning too.
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM

    mkdir "$ordner" "$e2e_ordner/tmp"
    mkdir -m 700 "$e2e_ordner/heim" "$e2e_ordner/laufzeit"
    export HOME="$e2e_ordner/heim" XDG_RUNTIME_DIR="$e2e_ordner/laufzeit" TMPDIR="$e2e_ordner/tmp"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share" \
        XDG_STATE_HOME="$HOME/.local/state" XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/local/share:/usr/share
    export GSETTINGS_BACKEND=memory
    # Nothing of the caller's desktop: its display, session manager, buses and toolkit settings.
    unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_LINUX_ACCESSIBILITY_ALWAYS_ON \
        WAYLAND_DISPLAY XAUTHORITY SESSION_MANAGER AT_SPI_BUS_ADDRESS XDG_SESSION_TYPE XDG_CURRENT_DESKTOP \
        DESKTOP_SESSION
    starte_xvfb
    starte_busse "$barrierefrei"
}

raeume_e2e_auf() {
    # A second signal must not cut the cleaning short.
    trap '' TERM INT HUP
    local i
    if declare -F raeume_test_auf >/dev/null; then raeume_test_auf || true; fi
    for ((i = ${#e2e_programme[@]} - 1; i >= 0; i--)); do beende_prozess "${e2e_programme[i]}"; done
    stoppe_busse
    stoppe_xvfb
    rm -rf "$e2e_ordner"
}

# Starts the program (a copy in $ordner) from its folder with the arguments given, so that it
# ends with the test even when the test is killed outright; its id is in $programm_pid.
starte_programm() {
    local datei
    datei=$(basename "$1")
    shift
    (cd "$ordner" && exec setpriv --pdeathsig TERM -- "./$datei" "$@") &
    programm_pid=$!
    merke_prozess "$programm_pid"
}

# Starts Xvfb on a display it picks itself and exports DISPLAY once the server is ready; the
# caller ends it with stoppe_xvfb. The server listens on the kernel's abstract socket alone,
# which nobody else can bind while it is held and which goes with the server: a socket file in
# /tmp/.X11-unix could be taken over or deleted by another server that starts or ends on the
# same number. Without -noreset the server starts afresh whenever its last client leaves, and a
# client connecting in that moment (the trainer, while xdotool or the accessibility bus launcher
# just left) is turned away: "could not connect to display".
starte_xvfb() {
    local meldung
    meldung=$(mktemp)
    setpriv --pdeathsig TERM -- Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -nolisten unix -noreset \
        3>"$meldung" >/dev/null 2>&1 &
    xvfb_pid=$!
    merke_startzeit "$xvfb_pid"
    for _ in $(seq 200); do
        if [ -s "$meldung" ]; then
            export DISPLAY=":$(head -n 1 "$meldung")"
            rm -f "$meldung"
            return 0
        fi
        laeuft "$xvfb_pid" || break
        sleep 0.05
    done
    rm -f "$meldung"
    fehler "Xvfb did not start"
}

stoppe_xvfb() {
    beende_prozess "${xvfb_pid:-}"
    xvfb_pid=
}

# A session bus of the test's own in its runtime folder, on which nothing is started on demand,
# and on it the accessibility bus as a desktop starts it, with accessibility on (1) or off (0).
starte_busse() {
    local konfiguration="$e2e_ordner/sitzungsbus.conf" adresse="$e2e_ordner/sitzungsbus"
    sitzung_pid=
    busstarter_pid=
    cat >"$konfiguration" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$(printf '%s' "$XDG_RUNTIME_DIR" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g')</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    setpriv --pdeathsig TERM -- dbus-daemon --config-file="$konfiguration" --nofork --print-address=3 3>"$adresse" 2>/dev/null &
    sitzung_pid=$!
    merke_startzeit "$sitzung_pid"
    for _ in $(seq 200); do [ -s "$adresse" ] && break; sleep 0.05; done
    [ -s "$adresse" ] || fehler "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$adresse")
    export DBUS_SESSION_BUS_ADDRESS

    setpriv --pdeathsig TERM -- /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y="$1" >/dev/null 2>&1 &
    busstarter_pid=$!
    merke_startzeit "$busstarter_pid"
    for _ in $(seq 200); do a11y_adresse >/dev/null && return 0; sleep 0.05; done
    fehler "the accessibility bus did not start"
}

a11y_adresse() {
    local adresse
    adresse=$(dbus-send --session --reply-timeout=2000 --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null) || return 1
    adresse=${adresse//[[:space:]]/}
    [ -n "$adresse" ] && echo "$adresse"
}

# The registry of the accessibility bus is started by that bus and leaves its parent, and the
# bus is the launcher's child: both are found while they are there and ended by their id.
stoppe_busse() {
    local adresse pid kinder=()
    if [ -n "${busstarter_pid:-}" ] && laeuft "$busstarter_pid"; then
        if adresse=$(a11y_adresse); then
            pid=$(dbus-send --bus="$adresse" --reply-timeout=2000 --print-reply=literal --dest=org.freedesktop.DBus \
                /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID \
                string:org.a11y.atspi.Registry 2>/dev/null | awk '{ print $2 }') || pid=
            if [ -n "$pid" ]; then
                merke_startzeit "$pid"
                beende_prozess "$pid"
            fi
        fi
        for pid in $(ps -o pid= --ppid "$busstarter_pid" 2>/dev/null); do
            merke_startzeit "$pid"
            kinder+=("$pid")
        done
    fi
    # The launcher takes its accessibility bus with it, unless it had to be killed.
    beende_prozess "${busstarter_pid:-}"
    for pid in "${kinder[@]}"; do beende_prozess "$pid"; done
    beende_prozess "${sitzung_pid:-}"
    busstarter_pid=
    sitzung_pid=
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

# The size of a window's client area, and a test's failure where it is not the expected one.
groesse() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
erwarte_groesse() {
    local g
    g=$(groesse "$1")
    [ "$g" = "$2" ] || fehler "window \"$3\" is $g, not $2"
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
