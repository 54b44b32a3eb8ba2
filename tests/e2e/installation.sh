#!/usr/bin/env bash
# Installs the built trainer into a fresh prefix and packs the portable archive, and checks
# that both hold a complete program folder and, on Linux, the desktop entry and icons.
# Usage: installation.sh <build folder>
set -euo pipefail

build=$1
ziel=$(mktemp -d)
trap 'rm -rf "$ziel"' EXIT
fehler() { echo "FAIL: $*" >&2; exit 1; }

ordner_dateien="Readme.txt PRUEFUNG.QXV QXV.1 QXV.2 QXV.3 QXV.4 QXV.5 QXV.6 QXV.7 QXV.8 QXV.9 QXV.10 QXV.11"

cmake --install "$build" --prefix "$ziel/prefix" >/dev/null
[ -x "$ziel/prefix/selvarot/selvarot" ] || fehler "program missing"
for datei in $ordner_dateien; do
    cmp -s "$ziel/prefix/selvarot/$datei" "$(dirname "$0")/../../catalog/$datei" || fehler "$datei differs or is missing"
done
eintrag="$ziel/prefix/share/applications/selvarot.desktop"
grep -qx "Exec=\"$ziel/prefix/selvarot/selvarot\"" "$eintrag" || fehler "desktop entry does not start the installed program"
grep -qx "Icon=selvarot" "$eintrag" || fehler "desktop entry has no icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$eintrag" || fehler "desktop entry is not valid"
fi
for groesse in 16 32 48 64 128 256; do
    [ -s "$ziel/prefix/share/icons/hicolor/${groesse}x${groesse}/apps/selvarot.png" ] || fehler "icon $groesse missing"
done

# The archive holds the program folder alone.
(cd "$ziel" && cpack --config "$build/CPackConfig.cmake" -B "$ziel/paket" >/dev/null)
archiv=$(ls "$ziel"/paket/*.tar.gz)
inhalt=$(tar tzf "$archiv" | grep -v '/$' | sort)
erwartet=$(for datei in selvarot $ordner_dateien; do echo "selvarot/$datei"; done | sort)
[ "$inhalt" = "$erwartet" ] || fehler "archive holds: $inhalt"
echo "1 passed, 0 failed ($(basename "$archiv"))"
