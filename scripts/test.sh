#!/bin/bash
# test.sh [PRESET...] - install what is missing, build, and run every test.
#
# Presets: default (Linux), asan (Linux with sanitizers), mingw64 (Windows, under Wine).
# Without arguments all three run, in that order; the first failure stops the run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/install-deps.sh

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(default asan mingw64)
jobs=$(nproc)

for preset in "${presets[@]}"; do
    echo "== $preset: configure and build" >&2
    log=build/$preset-build.log
    mkdir -p build
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j"$jobs"; } >"$log" 2>&1; then
        cat "$log" >&2
        echo "== $preset: build failed" >&2
        exit 1
    fi
    echo "== $preset: test" >&2
    if [ "$preset" = mingw64 ]; then
        scripts/wine-run.sh --init
        trap 'scripts/wine-run.sh --stop' EXIT
    fi
    log=build/$preset-test.log
    if ! ctest --preset "$preset" -j"$jobs" >"$log" 2>&1; then
        cat "$log" >&2
        echo "== $preset: tests failed" >&2
        exit 1
    fi
    grep -E 'tests passed|Skipped|Not Run' "$log" >&2 || true
    if [ "$preset" = mingw64 ]; then
        scripts/wine-run.sh --stop
        trap - EXIT
    fi
done
echo "== all tests passed (${presets[*]})" >&2
