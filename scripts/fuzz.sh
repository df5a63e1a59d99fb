#!/usr/bin/env bash
# Builds the .x reader's libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in its own build folder and runs it briefly,
# seeded with our own fixtures and the shared third-party .x files.
# Usage: scripts/fuzz.sh [SECONDS]   (default 25)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-25}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

# The corpus lives in the build folder: seeds are copied, never committed.
corpus="$build/corpus"
mkdir -p "$corpus"
cp tests/engine3d/data/*.x "$corpus/"
if [ -d ../shared/fixtures/xfiles ]; then
  find ../shared/fixtures/xfiles -name '*.x' -size -200k -exec cp {} "$corpus/" \;
fi

"$build/xfile_fuzz" "$corpus" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/"
