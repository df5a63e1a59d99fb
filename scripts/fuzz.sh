#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own build folder and runs them for
# SECONDS in all: the .x reader for three fifths of that (seeded with our own
# fixtures, the shared third-party .x files and generated files of nested
# templates); the report loader, the profile round trip, the comparison of
# stored scans, the discovery parsers, the SMBIOS parser (seeded with the
# shared dumps), the WS-Management answers and the PNG reader a fifth each.
# Usage: scripts/fuzz.sh [SECONDS]   (default 40)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-40}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

# Templates whose members are templates multiply what a small file holds: the
# shapes that once kept the reader busy for hours, for the fuzzer to vary.
# nested_templates MEMBERS LEVELS ARRAY: template E, then A1..A<LEVELS> of
# MEMBERS members each (ARRAY=1: the last level an array of two), and one object
# of the last holding all its values; where they would be more than 4096, E is
# empty and the object holds none, as in the files that hung the reader.
nested_templates() {
  local members=$1 levels=$2 array=$3 below=E level m values=1
  for ((level = 1; level <= levels && values <= 4096; level++)); do
    if [ "$array" = 1 ] && [ "$level" = "$levels" ]; then values=$((values * 2)); else values=$((values * members)); fi
  done
  if [ "$values" -gt 4096 ]; then
    values=0
    printf 'xof 0303txt 0032\ntemplate E { }\n'
  else
    printf 'xof 0303txt 0032\ntemplate E { DWORD v; }\n'
  fi
  for ((level = 1; level <= levels; level++)); do
    printf 'template A%d {' "$level"
    if [ "$array" = 1 ] && [ "$level" = "$levels" ]; then
      printf ' DWORD n; array %s items[n];' "$below"
    else
      for ((m = 0; m < members; m++)); do printf ' %s m%d;' "$below" "$m"; done
    fi
    printf ' }\n'
    below="A$level"
  done
  printf '%s top {' "$below"
  [ "$array" = 1 ] && printf ' 2;'
  for ((m = 0; m < values; m++)); do printf ' %d;' "$m"; done
  printf ' }\n'
}

# The corpus lives in the build folder: seeds are copied or made, never committed.
corpus="$build/corpus"
mkdir -p "$corpus"
cp tests/engine3d/data/*.x "$corpus/"
if [ -d ../shared/fixtures/xfiles ]; then
  find ../shared/fixtures/xfiles -name '*.x' -size -200k -exec cp {} "$corpus/" \;
fi
for shape in "2 3 0" "2 3 1" "3 2 0" "4 4 1" "8 5 0" "64 3 0" "64 30 0"; do
  read -r members levels array <<<"$shape"
  nested_templates "$members" "$levels" "$array" >"$corpus/nested_${members}x${levels}_${array}.x"
done

main=$(( seconds * 3 / 5 > 5 ? seconds * 3 / 5 : 5 ))
"$build/xfile_fuzz" "$corpus" -max_total_time="$main" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/"

short=$(( seconds / 5 > 5 ? seconds / 5 : 5 ))
for target in report_loader_fuzz:report profile_roundtrip_fuzz:json scan_comparison_fuzz:report; do
  name="${target%%:*}"
  seeds="$build/corpus-$name"
  mkdir -p "$seeds"
  cp tests/collect/data/*."${target##*:}" "$seeds/"
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
smbios_seeds="$build/corpus-smbios_fuzz"
mkdir -p "$smbios_seeds"
if [ -d ../shared/fixtures/smbios ]; then
  cp ../shared/fixtures/smbios/*.bin "$smbios_seeds/"
fi
"$build/smbios_fuzz" "$smbios_seeds" -max_total_time="$short" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/smbios_fuzz-"
# The WS-Management answer parser, seeded with the recorded Windows answers.
seeds="$build/corpus-wsman"
mkdir -p "$seeds"
if [ -d ../shared/fixtures/wsman ]; then
  find ../shared/fixtures/wsman -name '*.xml' -size -64k -exec cp {} "$seeds/" \;
fi
# An item of thousands of distinct properties, the shape that once made the
# conversion quadratic, within the fuzzer's 64 KiB.
{
  printf '%s' '<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" xmlns:n="http://schemas.xmlsoap.org/ws/2004/09/enumeration"><s:Body><n:PullResponse><n:EnumerationContext>c</n:EnumerationContext><n:Items><p:Win32_Fan xmlns:p="urn:x">'
  for ((i = 0; i < 2900; i++)); do printf '<p:P%d>%d</p:P%d>' "$i" "$i" "$i"; done
  printf '%s' '</p:Win32_Fan></n:Items></n:PullResponse></s:Body></s:Envelope>'
} >"$seeds/many-properties"
"$build/wsman_response_fuzz" "$seeds" -max_total_time="$short" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/wsman-"
# The fast PNG reader against libpng, seeded with the small pictures the
# generator made for the model (when the main build has made them).
seeds="$build/corpus-png"
mkdir -p "$seeds"
if [ -d build/bin/media ]; then
  find build/bin/media -name '*.png' -size -64k -exec cp {} "$seeds/" \;
fi
"$build/png_fuzz" "$seeds" -max_total_time="$short" -max_len=65536 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$build/png-"
