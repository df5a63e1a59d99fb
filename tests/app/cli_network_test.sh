#!/usr/bin/env bash
# vantrel-cli network on the namespace LAN (run through lan.sh, inside
# vt-probe), on a real program folder before and after: a five-node table
# (one node without an address, one with its own login, one "Jump", one
# "False") taken through "network --rescan" with nobody answering, then
# "network" with the LAN's real peers, keeps every record, login and address;
# the peers are added after the known nodes.
# Usage: cli_network_test.sh PATH/TO/vantrel-cli
set -uo pipefail
cli=$1
failures=0
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}

crlf() { printf '%s\r\n' "$@"; }
table=$(crlf PC-A 10.213.9.1 "Front desk" True "" "" Scanned \
             GHOST "" GHOST True "" "" False \
             BOSS 10.213.9.2 "Boss desk" True admin secret Scanned \
             JUMPER 10.213.9.3 JUMPER Jump "" "" False \
             GONE 10.213.9.4 GONE False "" "" Scanned)
printf '%s' "$table" >"$home/lg.ini"
records() { head -c "${#table}" "$home/lg.ini"; }

# Nobody answers but this computer: the known records stay whole, the failed
# lookups keep the addresses, and this computer is the one node added.
out=$(ip netns exec "$VANTREL_LAN_ALONE_NAMESPACE" "$cli" --home "$home" network --rescan --timeout 1)
status=$?
printf '%s\n' "$out"
check "rescan alone: exit 0" test "$status" -eq 0
check "rescan alone: the five records unchanged" test "$(records)" = "$table"
tab=$'\t'
for node in PC-A BOSS JUMPER GONE; do
    check "rescan alone: $node keeps its address" grep -q "^kept${tab}${node}${tab}10.213.9." <<<"$out"
done
check "rescan alone: GHOST still has none" grep -qx "unresolved${tab}GHOST" <<<"$out"
check "rescan alone: one computer added" test "$(grep -c '^added' <<<"$out")" -eq 1

# The LAN's peers come after the known nodes, which keep their records.
out=$("$cli" --home "$home" network --timeout 2)
status=$?
printf '%s\n' "$out"
check "network: exit 0" test "$status" -eq 0
check "network: the five records unchanged" test "$(records)" = "$table"
check "network: the wsdd peer added" grep -qx "added${tab}${VANTREL_LAN_WSD_NAME}${tab}${VANTREL_LAN_WSD_ADDRESS}" <<<"$out"
check "network: the avahi peer added" grep -qx "added${tab}${VANTREL_LAN_AVAHI_NAME}${tab}${VANTREL_LAN_AVAHI_ADDRESS}" <<<"$out"
nodes=$("$cli" --home "$home" nodes)
check "nodes: eight in all: the five, this computer and the two peers" test "$(printf '%s\n' "$nodes" | wc -l)" -eq 8
check "nodes: the known five first" test "$(printf '%s\n' "$nodes" | head -5 | cut -f1 | tr '\n' ' ')" = "PC-A GHOST BOSS JUMPER GONE "
check "network: a folder per node" test -d "$home/$VANTREL_LAN_WSD_NAME"

# No network at all: nothing changes.
before=$(cat "$home/lg.ini")
unshare --net "$cli" --home "$home" network --timeout 1 >/dev/null 2>&1
check "no network: exit 1" test $? -eq 1
check "no network: the table untouched" test "$(cat "$home/lg.ini")" = "$before"

exit $((failures > 0))
