#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."

# The end-to-end tests need an X server, xdotool, xprop and ImageMagick; the screen reader test
# also a session bus, the accessibility bus and Python's AT-SPI bindings; the install test checks
# the desktop entry and the AppStream data; the package test builds the Debian package
# (dpkg-shlibdeps) and checks it with lintian.
bash scripts/install-deps.sh xvfb xauth xdotool x11-utils imagemagick desktop-file-utils \
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0 appstream dpkg-dev lintian
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
# As many tests at once as the machine has cores: each end-to-end test has its own X server,
# buses and home (scripts/x11.sh), and the package test runs alone.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)"

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer, in a build
# folder of its own; then every fuzz target for ten seconds from the seed corpus.
bash scripts/sanitize.sh
bash scripts/fuzz.sh 10
