#!/usr/bin/env bash
# Installs the built trainer into fresh prefixes and packs the portable archive, and checks
# that each holds exactly what it should: the program folder, stripped, and on Linux the start
# command, the desktop entry, the icons, the AppStream data and the documentation.
# Usage: installation.sh <build folder>
set -euo pipefail

build=$(cd "$1" && pwd)
quelle="$(dirname "$0")/../.."
ziel=$(mktemp -d)
trap 'rm -rf "$ziel"' EXIT
fehler() { echo "FAIL: $*" >&2; exit 1; }

ordner_dateien="Readme.txt PRUEFUNG.QXV QXV.1 QXV.2 QXV.3 QXV.4 QXV.5 QXV.6 QXV.7 QXV.8 QXV.9 QXV.10 QXV.11"
# The explanation files that the catalogue has go with the topic files.
for nr in $(seq 1 11); do
    [ -f "$quelle/catalog/QXV.$nr.ERL" ] && ordner_dateien="$ordner_dateien QXV.$nr.ERL"
done
id=example.funkkurs.selvarot

# Users get the program without debug information or symbol table.
gestrippt() {
    ! readelf -S "$1" | grep -qE '\.(debug_[a-z]+|symtab) ' || fehler "$2 is not stripped"
}

# Checks a full install under the prefix $1; the prefix is named in the desktop entry.
pruefe_installation() {
    local prefix=$1 programm=$1/lib/selvarot/selvarot inhalt erwartet exec
    inhalt=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
    erwartet=$(
        echo bin/selvarot
        for datei in selvarot $ordner_dateien; do echo "lib/selvarot/$datei"; done
        for groesse in 16 32 48 64 128 256; do echo "share/icons/hicolor/${groesse}x${groesse}/apps/selvarot.png"; done
        echo "share/applications/$id.desktop"
        echo "share/metainfo/$id.metainfo.xml"
        echo share/man/man1/selvarot.1.gz
        echo share/doc/selvarot/copyright
        echo share/doc/selvarot/changelog.gz
    )
    [ "$inhalt" = "$(sort <<<"$erwartet")" ] || fehler "$prefix holds: $inhalt"

    [ -x "$programm" ] || fehler "program missing"
    gestrippt "$programm" "the installed program"
    for datei in $ordner_dateien; do
        cmp -s "$prefix/lib/selvarot/$datei" "$quelle/catalog/$datei" || fehler "$datei differs"
    done
    # A relative link, so that the program finds its folder through it.
    [ "$(readlink "$prefix/bin/selvarot")" = ../lib/selvarot/selvarot ] || fehler "bin/selvarot is not the relative link"
    [ "$prefix/bin/selvarot" -ef "$programm" ] || fehler "bin/selvarot does not lead to the program"

    local eintrag="$prefix/share/applications/$id.desktop"
    case $prefix in
    *" "*) exec="Exec=\"$programm\"" ;;
    *) exec="Exec=$programm" ;;
    esac
    grep -qxF "$exec" "$eintrag" || fehler "desktop entry does not start the installed program: $(grep Exec "$eintrag")"
    grep -qxF "Path=$prefix/lib/selvarot" "$eintrag" || fehler "desktop entry does not start in the program folder"
    grep -qx "Icon=selvarot" "$eintrag" || fehler "desktop entry has no icon"
    desktop-file-validate "$eintrag" || fehler "desktop entry is not valid"
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
        fehler "AppStream data: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
        fehler "AppStream data do not name the desktop entry"
}

cmake --install "$build" --prefix "$ziel/prefix" --strip >/dev/null
pruefe_installation "$ziel/prefix"
# A home folder may hold spaces; the desktop entry must quote the program then.
cmake --install "$build" --prefix "$ziel/mit Leerzeichen" --strip >/dev/null
pruefe_installation "$ziel/mit Leerzeichen"

# The archive holds the program folder alone, stripped.
(cd "$ziel" && cpack --config "$build/CPackConfig.cmake" -B "$ziel/paket" >/dev/null)
archiv=$(ls "$ziel"/paket/*.tar.gz)
inhalt=$(tar tzf "$archiv" | grep -v '/$' | sort)
erwartet=$(for datei in selvarot $ordner_dateien; do echo "selvarot/$datei"; done | sort)
[ "$inhalt" = "$erwartet" ] || fehler "archive holds: $inhalt"
mkdir "$ziel/entpackt"
tar xzf "$archiv" -C "$ziel/entpackt"
gestrippt "$ziel/entpackt/selvarot/selvarot" "the program in the archive"
echo "1 passed, 0 failed ($(basename "$archiv"))"
