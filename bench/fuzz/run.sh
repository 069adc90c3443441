#!/usr/bin/env bash
# Builds the fuzz target with clang in build-fuzz/ and runs it for SECONDS
# (default 60) on the kept corpus (the seeds here plus every test and
# benchmark script, read in place), with the sanitizers on. New inputs go to
# build-fuzz/corpus; a crash, leak or timeout leaves its input in
# build-fuzz/artifacts and fails the run. Usage: bench/fuzz/run.sh [SECONDS]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"

"$root/scripts/deps" --fuzz
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DZORV_FUZZ=ON -DZORV_BUILD_TESTS=OFF -DZORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_vbscript -j 2

mkdir -p "$build/corpus" "$build/artifacts"
cd "$build"
# Per input: at most 2 s and 512 MB in one allocation (the engine's own
# guards stop far sooner: 200 ms, 64 MiB of script memory). The process as a
# whole may reach 2 GB: the sanitizer's allocator keeps what inputs freed,
# size class by size class, so its footprint is a high-water mark of many
# inputs; a smaller quarantine and frequent release keep it lower.
ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64:allocator_release_to_os_interval_ms=100 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ./bin/fuzz_vbscript -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -max_len=4096 -artifact_prefix="$build/artifacts/" "$build/corpus" "$here/corpus" "$root/tests/vbscript" "$root/bench/scripts"
