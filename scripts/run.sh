#!/usr/bin/env bash
# Installs what is missing, builds the trainer and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target selvarot
exec build/programm/selvarot "$@"
