"""What a screen reader receives from the running trainer: reads its windows over AT-SPI, as
a screen reader does, and drives it with real key presses through scripts/x11.sh. Started by
bildschirmleser.sh once the trainer shows its main window.

Usage: bildschirmleser.py <x11.sh> <grades of the eleven topics in USER.QXV>
"""

import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

HAUPTFENSTER = "Selvarot I/II - Theorie"
NOTENTEXT = {
    1: "Noch nicht abgefragt",
    2: "Letzte Abfrage: unter 80 % richtig",
    3: "Letzte Abfrage: 80 bis unter 99 % richtig",
    4: "Letzte Abfrage: mindestens 99 % richtig",
}
# The quiz window's counters, known to a screen reader by their descriptions.
ZAEHLER = {
    "Zahl der richtig beantworteten Fragen": "Richtige Antworten",
    "Zahl der falsch beantworteten Fragen": "Falsche Antworten",
    "Zahl der Fragen des Themas": "Fragen Insgesamt",
}
URTEIL = "Urteil über die gewählte Antwort"

x11, noten = sys.argv[1], [int(n) for n in sys.argv[2:]]
themen = [f"Thema {nr} – Übung" for nr in range(1, 12)]


def fehler(text):
    print(f"FAIL: {text}", file=sys.stderr)
    sys.exit(1)


# What the trainer announced, as a screen reader that listens hears it: (event, name of the
# object, its new check state or description).
HAKEN = "object:state-changed:checked"
BESCHREIBUNG = "object:property-change:accessible-description"
gemeldet = []


def melde(ereignis):
    quelle = ereignis.source
    wert = ereignis.detail1 if ereignis.type == HAKEN else quelle.get_description()
    gemeldet.append((ereignis.type, quelle.get_name(), wert))


# Ended by the test script, it takes its key presses with it (subprocess.run kills them).
signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

horcher = Atspi.EventListener.new(melde)
for art in (HAKEN, BESCHREIBUNG):
    horcher.register(art)
kontext = GLib.MainContext.default()


def warte(was, pruefe, sekunden=15):
    """Waits until pruefe() returns None, handling the events that arrive meanwhile; what it
    returned last, the state found, goes into the failure."""
    ende = time.monotonic() + sekunden
    while True:
        while kontext.iteration(False):
            pass
        try:
            befund = pruefe()
        except GLib.Error as e:  # an object went away while it was read
            befund = str(e)
        if befund is None:
            return
        if time.monotonic() > ende:
            fehler(f"{was}: {befund}")
        time.sleep(0.02)


def tippe(titel, *tasten):
    """Real key presses into the window with this title, as the end-to-end test makes them."""
    skript = ('set -e; fehler() { echo "FAIL: $*" >&2; exit 1; }; source "$0"; '
              'id=$(fenster "$1"); shift; tippe "$id" "$@"')
    if subprocess.run(["bash", "-c", skript, x11, titel, *tasten]).returncode != 0:
        fehler(f"no key presses into \"{titel}\"")


def zustand(knoten, art):
    return knoten.get_state_set().contains(art)


def knoten_unter(wurzel):
    for i in range(wurzel.get_child_count()):
        kind = wurzel.get_child_at_index(i)
        if kind is not None:
            yield kind
            yield from knoten_unter(kind)


def fenster(titel):
    """The top-level object with this title, whatever the application is called."""
    gefunden = []

    def pruefe():
        desktop = Atspi.get_desktop(0)
        for a in range(desktop.get_child_count()):
            anwendung = desktop.get_child_at_index(a)
            for f in range(anwendung.get_child_count() if anwendung else 0):
                kandidat = anwendung.get_child_at_index(f)
                if kandidat and kandidat.get_name() == titel and zustand(kandidat, Atspi.StateType.SHOWING):
                    gefunden.append(kandidat)
                    return None
        return "not in the tree"

    warte(f"window \"{titel}\"", pruefe)
    return gefunden[0]


def mit_rolle(wurzel, rolle):
    return [k for k in knoten_unter(wurzel) if k.get_role() == rolle]


def tastenkuerzel(knoten):
    """The key binding of the first action, where a screen reader looks for a mnemonic."""
    if "Action" not in knoten.get_interfaces() or Atspi.Action.get_n_actions(knoten) == 0:
        return ""
    return Atspi.Action.get_key_binding(knoten, 0)


def themenliste(haupt):
    listen = [k for k in mit_rolle(haupt, Atspi.Role.LIST) if k.get_name() == "Themen"]
    if len(listen) != 1:
        fehler(f"{len(listen)} lists named \"Themen\" in the main window")
    return [k for k in mit_rolle(listen[0], Atspi.Role.LIST_ITEM)]


def erwarte_themen(haupt, angehakt, beschreibungen):
    """Every topic with its title and grade, and exactly the topic `angehakt` checked."""
    soll = [(t, b, nr == angehakt) for nr, (t, b) in enumerate(zip(themen, beschreibungen), 1)]

    def pruefe():
        ist = [(k.get_name(), k.get_description(), zustand(k, Atspi.StateType.CHECKED))
               for k in themenliste(haupt)]
        return None if ist == soll else f"{ist}"

    warte(f"topic list with topic {angehakt} checked", pruefe)


def erwarte_gemeldet(was, ereignis):
    warte(was, lambda: None if ereignis in gemeldet else f"announced only {gemeldet}")


# --- The main window -------------------------------------------------------------------------

haupt = fenster(HAUPTFENSTER)
beschreibungen = [NOTENTEXT.get(n, "Ohne Wertung") for n in noten]
erwarte_themen(haupt, 0, beschreibungen)

knoepfe = {k.get_name(): tastenkuerzel(k) for k in mit_rolle(haupt, Atspi.Role.PUSH_BUTTON)}
soll_knoepfe = {"Lernen": "Alt+L", "Abfragen": "Alt+A", "Info": "Alt+I", "Ende": "Alt+E"}
if knoepfe != soll_knoepfe:
    fehler(f"the main window's buttons are {knoepfe}, not {soll_knoepfe}")

# Space checks the topic under the cursor and takes the check from any other: a screen reader
# hears both changes.
tippe(HAUPTFENSTER, "Down", "space")
erwarte_themen(haupt, 2, beschreibungen)
erwarte_gemeldet("topic 2 checked", (HAKEN, themen[1], 1))
gemeldet.clear()
tippe(HAUPTFENSTER, "Down", "space")
erwarte_themen(haupt, 3, beschreibungen)
erwarte_gemeldet("topic 3 checked", (HAKEN, themen[2], 1))
erwarte_gemeldet("topic 2 no longer checked", (HAKEN, themen[1], 0))
tippe(HAUPTFENSTER, "Up", "space")
erwarte_themen(haupt, 2, beschreibungen)

# --- The quiz window -------------------------------------------------------------------------

tippe(HAUPTFENSTER, "alt+a")
abfrage = fenster("Kontrolle")


def kaestchen():
    boxen = {k.get_name(): k for k in knoten_unter(abfrage) if k.get_name().startswith("Kästchen")}
    if sorted(boxen) != [f"Kästchen {n}" for n in range(1, 5)]:
        fehler(f"the answer boxes are named {sorted(boxen)}")
    return [boxen[f"Kästchen {n}"] for n in range(1, 5)]


def erwarte_kaestchen(was, soll):
    """The description of each box, None for a box hidden after the check."""

    def pruefe():
        ist = [k.get_description() if zustand(k, Atspi.StateType.SHOWING) else None for k in kaestchen()]
        return None if ist == soll else f"{ist}"

    warte(was, pruefe)


def erwarte_zahlen(richtig, falsch):
    soll = {"Richtige Antworten": richtig, "Falsche Antworten": falsch, "Fragen Insgesamt": 3}
    soll = {beschreibung: f"{name}: {soll[name]}" for beschreibung, name in ZAEHLER.items()}

    def pruefe():
        ist = {k.get_description(): k.get_name() for k in mit_rolle(abfrage, Atspi.Role.LABEL)
               if k.get_description() in ZAEHLER}
        return None if ist == soll else f"{ist}"

    warte(f"counters {richtig} right, {falsch} wrong", pruefe)


def erwarte_urteil(soll):
    def pruefe():
        ist = [k.get_name() for k in mit_rolle(abfrage, Atspi.Role.LABEL) if k.get_description() == URTEIL]
        return None if ist == [soll] else f"{ist}"

    warte(f"verdict \"{soll}\"", pruefe)


def kaestchen_der_antwort(text):
    """The number of the box beside the answer with this text: the one in its row."""
    antworten = [k for k in mit_rolle(abfrage, Atspi.Role.TEXT)
                 if zustand(k, Atspi.StateType.READ_ONLY) and Atspi.Text.get_text(k, 0, -1) == text]
    if len(antworten) != 1:
        fehler(f"{len(antworten)} answers read \"{text}\"")
    zeile = Atspi.Component.get_extents(antworten[0], Atspi.CoordType.SCREEN)
    for nr, box in enumerate(kaestchen(), 1):
        b = Atspi.Component.get_extents(box, Atspi.CoordType.SCREEN)
        if zeile.y <= b.y + b.height // 2 < zeile.y + zeile.height:
            return nr
    fehler(f"no box beside the answer \"{text}\"")


def naechste_frage():
    """Space on "Nächste Frage" once the pause has enabled it."""

    def pruefe():
        knopf = [k for k in mit_rolle(abfrage, Atspi.Role.PUSH_BUTTON)
                 if k.get_name() in ("Nächste Frage", "Ergebnis ...")]
        return None if knopf and zustand(knopf[0], Atspi.StateType.ENABLED) else "not enabled"

    warte("button \"Nächste Frage\"", pruefe)
    tippe("Kontrolle", "space")


def kreuze(nr):
    """Crosses box nr with its digit; the box says so, and a screen reader is told."""
    gemeldet.clear()
    tippe("Kontrolle", str(nr))
    erwarte_kaestchen(f"box {nr} crossed",
                      ["angekreuzt" if n == nr else "nicht angekreuzt" for n in range(1, 5)])
    erwarte_gemeldet(f"box {nr} crossed", (BESCHREIBUNG, f"Kästchen {nr}", "angekreuzt"))


NICHTS = ["nicht angekreuzt"] * 4
erwarte_kaestchen("boxes of question 1", NICHTS)
erwarte_zahlen(0, 0)
erwarte_urteil("")

# Question 1 (answer 1 is right): first a wrong box, then the cross moves to the right one.
richtig = kaestchen_der_antwort("Antwort 1")
falsch = richtig % 4 + 1
kreuze(falsch)
kreuze(richtig)
tippe("Kontrolle", "space")
erwarte_urteil("Richtig !")
erwarte_kaestchen("boxes after a right answer",
                  ["gewählt und richtig" if n == richtig else None for n in range(1, 5)])
erwarte_zahlen(1, 0)

# Questions 2 and 3 answered wrong: the chosen box and the right one say what they are.
for frage, falsche in ((2, 1), (3, 2)):
    naechste_frage()
    erwarte_urteil("")
    erwarte_kaestchen(f"boxes of question {frage}", NICHTS)
    richtig = kaestchen_der_antwort(f"Antwort {frage}")
    falsch = richtig % 4 + 1
    kreuze(falsch)
    tippe("Kontrolle", "space")
    erwarte_urteil("Falsch !")
    soll = {richtig: "die richtige Antwort", falsch: "gewählt und falsch"}
    erwarte_kaestchen(f"boxes after a wrong answer to question {frage}", [soll.get(n) for n in range(1, 5)])
    erwarte_zahlen(1, falsche)

# One of three right grades the topic below 80 %, and the list tells it, topic 2 still checked.
naechste_frage()
tippe("Ergebnis", "Return")
tippe("Tipp", "Return")
beschreibungen[1] = NOTENTEXT[2]
erwarte_themen(haupt, 2, beschreibungen)

tippe(HAUPTFENSTER, "alt+e")
tippe("Beenden ?", "Return")
