#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own build folder and runs each briefly:
# the .x reader (seeded with our own fixtures and the shared third-party .x
# files) for SECONDS, the report loader and the profile round trip for a
# third of that each.
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

short=$(( seconds / 3 > 5 ? seconds / 3 : 5 ))
for target in report_loader_fuzz:report profile_roundtrip_fuzz:json; do
  name="${target%%:*}"
  seeds="$build/corpus-$name"
  mkdir -p "$seeds"
  cp tests/collect/fixtures/*."${target##*:}" "$seeds/"
  "$build/$name" "$seeds" -max_total_time="$short" -max_len=65536 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$build/$name-"
done

# The WS-Management answer parser, seeded with the recorded Windows answers.
seeds="$build/corpus-wsman"
mkdir -p "$seeds"
if [ -d ../shared/fixtures/wsman ]; then
  find ../shared/fixtures/wsman -name '*.xml' -size -64k -exec cp {} "$seeds/" \;
fi
"$build/wsman_response_fuzz" "$seeds" -max_total_time="$short" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/wsman-"
