#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time, starting from the seed
# corpus in fuzz/corpus/. Fails on the first finding; the input that caused it is left in
# build-fuzz/funde/. A longer run goes on from the corpus that the runs before gathered in
# build-fuzz/corpus/.
#
#   bash scripts/fuzz.sh [seconds-per-target] [target...]
#
# Targets: feldleser, thema, user, verlauf (all of them if none is named).
set -euo pipefail
cd "$(dirname "$0")/.."

sekunden=${1:-10}
shift || true
ziele=("$@")
[ ${#ziele[@]} -eq 0 ] && ziele=(feldleser thema user verlauf)

bash scripts/install-deps.sh clang libclang-rt-14-dev
[ -f build-fuzz/CMakeCache.txt ] ||
    cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j2

mkdir -p build-fuzz/funde
# libFuzzer checks an input for leaks when it allocated more than it freed.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
zusammenfassung=()
for ziel in "${ziele[@]}"; do
    korpus=build-fuzz/corpus/$ziel
    mkdir -p "$korpus"
    protokoll=build-fuzz/$ziel.log
    echo "== fuzz_$ziel for ${sekunden}s"
    status=0
    build-fuzz/fuzz_"$ziel" -max_total_time="$sekunden" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
        -dict=fuzz/felder.dict -artifact_prefix=build-fuzz/funde/"$ziel"- \
        "$korpus" fuzz/corpus/"$ziel" >"$protokoll" 2>&1 || status=$?
    if [ $status -ne 0 ]; then
        tail -n 40 "$protokoll"
        echo "fuzz_$ziel found a fault; the input is in build-fuzz/funde/"
        exit 1
    fi
    laeufe=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$protokoll" | grep -o '[0-9]*$' || echo '?')
    stand=$(grep -E '^#[0-9]+' "$protokoll" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' || true)
    zusammenfassung+=("fuzz_$ziel: $laeufe executions in ${sekunden}s, $stand, no finding")
done
printf '%s\n' "${zusammenfassung[@]}"
