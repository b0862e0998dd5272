#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each one briefly over its seed corpus.
# Exits non-zero when a target crashes or finds a fault. Usage: fuzz/run-smoke.sh [seconds per target]
set -euo pipefail

seconds="${1:-20}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLAPIDRAW_GUI=OFF -DLAPIDRAW_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j2

status=0
for source in "$root"/fuzz/*_fuzz.cpp; do
    target="$(basename "$source" .cpp)"
    name="${target%_fuzz}"
    if [ ! -x "$build/fuzz/$target" ]; then
        echo "== $target: not built (it needs Qt), left out"
        continue
    fi
    seeds="$root/fuzz/corpus/$name"
    work="$build/corpus-$name"   # new inputs go here, the seed corpus stays as it is
    mkdir -p "$work"
    echo "== $target: ${seconds}s over $seeds"
    if ! (cd "$build" && "$build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
            -rss_limit_mb=2048 -close_fd_mask=3 -print_final_stats=1 "$work" "$seeds"); then
        echo "== $target FAILED (the reproducer is in $build)" >&2
        status=1
    fi
done
exit $status
