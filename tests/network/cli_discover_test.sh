#!/usr/bin/env bash
# vantrel-cli discover on the namespace LAN (run through lan.sh, inside
# vt-probe): the real peers appear with their addresses and how they were
# found; a bad timeout and a namespace without a network fail with exit 1.
# Usage: cli_discover_test.sh PATH/TO/vantrel-cli
set -uo pipefail
cli=$1
failures=0

check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}

out=$("$cli" discover --timeout 2)
status=$?
printf '%s\n' "$out"
check "exit status 0" test "$status" -eq 0
tab=$'\t'
check "this computer first" test "$(printf '%s\n' "$out" | head -1 | cut -f3)" = self
check "the wsdd peer" grep -qx "${VANTREL_LAN_WSD_NAME}${tab}${VANTREL_LAN_WSD_ADDRESS}${tab}wsd" <<<"$out"
check "the avahi peer" grep -qx "${VANTREL_LAN_AVAHI_NAME}${tab}${VANTREL_LAN_AVAHI_ADDRESS}${tab}mdns" <<<"$out"
check "three computers" test "$(printf '%s\n' "$out" | wc -l)" -eq 3

"$cli" discover --timeout nonsense >/dev/null 2>&1
check "a bad timeout is refused" test $? -eq 1

err=$(unshare --net "$cli" discover --timeout 1 2>&1 >/dev/null)
status=$?
check "no network: exit 1" test "$status" -eq 1
check "no network: the network error text" test "$err" = "Node not accessible! (please check your network connections)"

exit $((failures > 0))
