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

# An X server of our own, on a display it picks itself.
fehler() { return 1; }
# shellcheck source=x11.sh
source scripts/x11.sh
xvfb_pid=
trap stoppe_xvfb EXIT
if ! starte_xvfb 1280x1024x24; then
    echo "Xvfb did not start; measuring headless only"
    unset DISPLAY
fi
build-bench/bench/selvarot_bench "${1:-21}"
