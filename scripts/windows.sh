#!/usr/bin/env bash
# Builds the trainer for 64-bit Windows and packs build-win/selvarot-1.6.0-win64.zip:
#
#   bash scripts/windows.sh                  build and pack
#   bash scripts/windows.sh --test           the same, then start the packed program under Wine
#   bash scripts/windows.sh --test --bilder  ... and take the README's pictures of it
#
# Everything comes from the Debian package registry: the MinGW-w64 cross compiler, Wine, and
# the source of Debian's own Qt, from which a static Qt is built once into a cache outside the
# source tree (SELVAROT_CACHE, by default ~/.cache/selvarot), keyed by the Qt version and the
# options below; later runs only build the trainer. The host's Qt gives moc, rcc and uic.
set -euo pipefail
cd "$(dirname "$0")/.."

testen=false
bilder=false
for argument in "$@"; do
    case $argument in
    --test) testen=true ;;
    --bilder) bilder=true ;;
    *) echo "usage: bash scripts/windows.sh [--test [--bilder]]" >&2; exit 2 ;;
    esac
done
if $bilder && ! $testen; then echo "--bilder needs --test" >&2; exit 2; fi
fehler() { echo "FAIL: $*" >&2; exit 1; }
sekunden() { echo "$(($(date +%s) - $1)) s"; }
beginn=$(date +%s)

pakete=(g++-mingw-w64-x86-64-posix dpkg-dev)
$testen && pakete+=(wine xvfb xauth xdotool x11-utils imagemagick dbus-daemon at-spi2-core)
bash scripts/install-deps.sh "${pakete[@]}"

# The static Qt: the same Debian source version as the host's Qt, whose tools it uses.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
host=(-DQT_HOST_PATH=/usr "-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$multiarch/cmake")
toolchain="$PWD/scripts/mingw-w64.cmake"
qt_optionen=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    # The modules the trainer links: Core, Gui, Widgets, and Network for the local socket
    # through which a second start finds the first one.
    -DFEATURE_concurrent=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_sql=OFF
    -DFEATURE_testlib=OFF -DFEATURE_xml=OFF
    # The windows are painted in software: no OpenGL (the Windows plugin of Qt 6.4.2 only
    # builds without it once dynamic OpenGL is off too) and no Vulkan. Direct 2D stays: without
    # it Qt 6.4.2 leaves out the DirectWrite font database that its Windows plugin calls.
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    # No TLS: the program talks to nothing but itself. No ICU: Qt's own locale data suffice.
    -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF -DFEATURE_icu=OFF
    # Debian's source leaves out the tablet header.
    -DFEATURE_tabletevent=OFF
    # The pictures are PNG; resources stay uncompressed by zstd, which the host's rcc would
    # otherwise use.
    -DFEATURE_jpeg=OFF -DFEATURE_zstd=OFF
    # The libraries Qt carries itself, built in.
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
)
compiler=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
schluessel=$(printf '%s\n' "$qt_version" "$compiler" "${qt_optionen[@]}" | cat - "$toolchain" | sha256sum | cut -c 1-12)
cache=${SELVAROT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/selvarot}
qt="$cache/qt-$qt_version-$schluessel"
bau="$qt.bau"

# Debian's Qt source through a source list of its own with one deb-src entry: the archive that
# ships the host's Qt. The system's apt configuration and package lists stay as they are, and no
# other package source is asked.
hole_qt_quelle() {
    local apt="$bau/apt" binaer archiv
    binaer=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    # " qt6-base-dev | 6.4.2+dfsg-10 | http://deb.debian.org/debian bookworm/main amd64 Packages"
    archiv=$(apt-cache madison qt6-base-dev | awk -F ' [|] ' -v v="$binaer" '$2 == v { print $3; exit }')
    [ -n "$archiv" ] || fehler "no package source ships qt6-base-dev $binaer"
    read -r url ort _ <<<"$archiv"
    rm -rf "$apt" "$bau/quelle"
    mkdir -p "$apt/teile" "$apt/listen/partial"
    echo "deb-src $url ${ort%%/*} ${ort#*/}" >"$apt/sources.list"
    local optionen=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/teile"
        -o "Dir::State::Lists=$apt/listen" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
    apt-get "${optionen[@]}" update
    (cd "$apt" && apt-get "${optionen[@]}" source --download-only "qt6-base=$qt_version")
    dpkg-source --no-copy -x "$apt"/qt6-base_*.dsc "$bau/quelle"
    rm -rf "$apt"
}

if [ -f "$qt/fertig" ]; then
    echo "Static Qt $qt_version from the cache: $qt"
else
    echo "Building static Qt $qt_version once into $qt (about half an hour on 2 cores)"
    qt_beginn=$(date +%s)
    rm -rf "$qt"
    mkdir -p "$bau"
    [ -f "$bau/quelle/CMakeLists.txt" ] || hole_qt_quelle
    if [ ! -f "$bau/build/build.ninja" ]; then
        nice -n 10 cmake -S "$bau/quelle" -B "$bau/build" -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" \
            "${host[@]}" "-DCMAKE_INSTALL_PREFIX=$qt" "${qt_optionen[@]}" >"$bau/konfiguration.log" ||
            fehler "configuring Qt failed, see $bau/konfiguration.log"
    fi
    nice -n 10 cmake --build "$bau/build" --parallel "$(nproc)"
    cmake --install "$bau/build" >/dev/null
    touch "$qt/fertig"
    rm -rf "$bau"
    echo "Static Qt built in $(sekunden "$qt_beginn")"
fi

# The trainer, with its own CMake, without its tests; the toolkit's German texts come from the
# host's Qt translations of the same version.
build="build-win"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" "-DSELVAROT_QT=$qt" "${host[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "${launcher[@]}" \
    -DSELVAROT_QT_UEBERSETZUNG=/usr/share/qt6/translations/qtbase_de.qm >/dev/null
cmake --build "$build"
rm -f "$build"/selvarot-*-win64.zip
(cd "$build" && cpack >/dev/null)
archiv=$(ls "$build"/selvarot-*-win64.zip)

# What the archive's program needs of Windows: a window program (no console), stripped, with its
# version, and no DLL of its own beside it.
pruefen=$(mktemp -d)
trap 'rm -rf "$pruefen"' EXIT
cmake -E chdir "$pruefen" cmake -E tar xf "$PWD/$archiv"
exe="$pruefen/selvarot/selvarot.exe"
[ -f "$exe" ] || fehler "the archive holds no selvarot/selvarot.exe"
kopf=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$kopf" || fehler "selvarot.exe is no window program"
abschnitte=$(x86_64-w64-mingw32-objdump -h "$exe")
symbole=$(x86_64-w64-mingw32-objdump -t "$exe")
if grep -q ' \.debug_' <<<"$abschnitte" || grep -q '^\[' <<<"$symbole"; then fehler "selvarot.exe is not stripped"; fi
version=$(sed -n 's/^project(Selvarot VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
texte=$(strings -el "$exe")
if ! grep -qx FileVersion <<<"$texte" || ! grep -qx "$version" <<<"$texte"; then fehler "selvarot.exe carries no version $version"; fi
dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$kopf" | sort -f)
# A DLL of the compiler's runtime or of Qt would have to lie beside the program.
if grep -Eiq '^(lib|qt[0-9])' <<<"$dlls"; then fehler "selvarot.exe needs DLLs of its own: $(tr '\n' ' ' <<<"$dlls")"; fi
echo "selvarot.exe ($(($(stat -c %s "$exe") / 1024 / 1024)) MB) imports: $(tr '\n' ' ' <<<"$dlls")"
echo "Packed $archiv in $(sekunden "$beginn")"

if $testen; then
    ziel=()
    $bilder && ziel=(docs/bilder)
    bash tests/e2e/wine.sh "$archiv" "${ziel[@]}"
fi
