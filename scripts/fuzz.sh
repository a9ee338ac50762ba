#!/bin/bash
# fuzz.sh [SECONDS [TARGET...]] - build the fuzz preset and run each target (all by default)
# for SECONDS (default 20), one after the other, starting from its corpus in fuzz/corpus.
#
# New cases go to build/fuzz/work/TARGET, never into the tree; a finding is kept as
# build/fuzz/findings/TARGET-* and stops the run with a failure. Each target's figures
# (executions, coverage, features, time) are printed as it ends.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(entries admin_files paths log error_text console_lines regfile
                                     comment_template dialect)

log=build/fuzz-build.log
mkdir -p build
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "== fuzz: build failed" >&2
    exit 1
fi
mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
    work=build/fuzz/work/$target
    mkdir -p "$work"
    out=build/fuzz/$target.log
    if ! build/fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix=build/fuzz/findings/"$target"- "$work" fuzz/corpus/"$target" >"$out" 2>&1; then
        tail -n 60 "$out" >&2
        echo "== fuzz: $target found a fault (the input is in build/fuzz/findings)" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out")
    last=$(grep -E '^#[0-9]+.*(cov|ft):' "$out" | tail -n 1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    echo "fuzz $target: ${seconds}s, $runs executions, coverage $cov, features $ft" >&2
done
