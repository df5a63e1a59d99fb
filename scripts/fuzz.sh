#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own build folder and runs each briefly:
# the .x reader (seeded with our own fixtures and the shared third-party .x
# files) for SECONDS, the report loader, the profile round trip and the
# discovery parsers for a third of that each.
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

# Discovery's parsers, seeded with a probe match, metadata and a DNS answer.
seeds="$build/corpus-discovery"
mkdir -p "$seeds"
printf '%s' '<soap:Envelope xmlns:soap="http://www.w3.org/2003/05/soap-envelope" xmlns:wsa="http://schemas.xmlsoap.org/ws/2004/08/addressing" xmlns:wsd="http://schemas.xmlsoap.org/ws/2005/04/discovery" xmlns:pub="http://schemas.microsoft.com/windows/pub/2005/07"><soap:Body><wsd:ProbeMatches><wsd:ProbeMatch><wsa:EndpointReference><wsa:Address>urn:uuid:1</wsa:Address></wsa:EndpointReference><wsd:Types>pub:Computer</wsd:Types><wsd:XAddrs>http://10.0.0.1:5357/1</wsd:XAddrs></wsd:ProbeMatch></wsd:ProbeMatches><pub:Computer>PC/Workgroup:W</pub:Computer></soap:Body></soap:Envelope>' >"$seeds/probe-match"
printf '\x00\x00\x84\x00\x00\x00\x00\x03\x00\x00\x00\x00\x05_ssh_\x04_tcp\x05local\x00\x00\x0c\x00\x01\x00\x00\x00\x0a\x00\x05\x02pc\xc0\x0c\xc0\x27\x00\x21\x00\x01\x00\x00\x00\x0a\x00\x0e\x00\x00\x00\x00\x00\x16\x02pc\x05local\x00\xc0\x39\x00\x01\x00\x01\x00\x00\x00\x0a\x00\x04\x0a\x00\x00\x01' >"$seeds/dns-answer"
"$build/discovery_fuzz" "$seeds" -max_total_time="$short" -max_len=40000 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/discovery-"
