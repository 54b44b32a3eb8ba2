#!/usr/bin/env bash
# Builds the benchmark in build-bench/ and measures start-up and memory of the trainer against
# the toolkit's floor, headless and under Xvfb, and what 100 MB more in every topic file cost.
# Prints the figures with their targets; it never fails because the machine is slow or busy,
# but gives steadier figures on an idle one.
#
#   bash scripts/bench.sh [runs]      (default 21)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh xvfb xauth
[ -f build-bench/CMakeCache.txt ] ||
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSELVAROT_BENCH=ON
cmake --build build-bench -j2 --target selvarot_bench

# An X server of our own on the first free display from :90 on.
anzeige=90
while [ -e /tmp/.X11-unix/X$anzeige ] || [ -e /tmp/.X$anzeige-lock ]; do anzeige=$((anzeige + 1)); done
Xvfb :$anzeige -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -e /tmp/.X11-unix/X$anzeige ] && break
    sleep 0.1
done
if [ -e /tmp/.X11-unix/X$anzeige ]; then
    export DISPLAY=:$anzeige
else
    echo "Xvfb did not start; measuring headless only"
    unset DISPLAY
fi
build-bench/bench/selvarot_bench "${1:-21}"
