#!/usr/bin/env bash
# Runs the libFuzzer targets (PNG decode, font build) for MINUTES minutes each,
# both at once, from their committed seed corpora. Builds them with clang in
# build-fuzz/, apart from the ordinary build. New inputs go to
# build-fuzz/corpus/, findings to build-fuzz/findings/, logs to build-fuzz/*.log.
#
# Usage: scripts/fuzz.sh [MINUTES]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-5}
seconds=$((minutes * 60))
# libFuzzer stops an input that takes more memory than this; the largest
# picture the loader accepts (8192 x 8192 RGBA) needs 256 MiB.
rss_limit_mb=1024
# The release's own clang: Debian's clang package points at its default version.
cc=$(command -v clang || true)
cxx=$(command -v clang++ || true)
if [ -z "$cc" ] || [ -z "$cxx" ]; then
  echo "fuzz: clang and its libFuzzer are needed (Debian: apt-get install clang libclang-rt-dev)" >&2
  exit 1
fi

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER="$cc" \
  -DCMAKE_CXX_COMPILER="$cxx" -DQUILLORY_FUZZ=ON -DQUILLORY_TESTS=OFF -DQUILLORY_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target png_decode_fuzzer font_build_fuzzer >/dev/null

mkdir -p build-fuzz/findings
pids=()
for target in png_decode:png font_build:font; do
  name=${target%%:*}
  seeds=tests/fuzz/corpus/${target##*:}
  mkdir -p "build-fuzz/corpus/$name"
  "build-fuzz/tests/fuzz/${name}_fuzzer" "build-fuzz/corpus/$name" "$seeds" \
    -max_total_time="$seconds" -rss_limit_mb="$rss_limit_mb" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$name-" >"build-fuzz/$name.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
for name in png_decode font_build; do
  echo "== $name: $(grep -E '^#[0-9]+.*DONE' "build-fuzz/$name.log" | tail -n 1)"
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "build-fuzz/$name.log" || true
done
if [ "$status" -ne 0 ]; then
  echo "fuzz: a fuzzer found a fault; see build-fuzz/*.log and build-fuzz/findings/" >&2
fi
exit "$status"
