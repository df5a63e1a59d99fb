#!/usr/bin/env bash
# A small LAN of network namespaces for the discovery tests (ID below):
#
#   vtID-switch   the bridge every host hangs on (no address, no route)
#   vtID-probe    10.213.0.10  where the program under test runs
#   vtID-wsd      10.213.0.11  wsdd announcing WSDPEER
#   vtID-avahi    10.213.0.12  avahi-daemon announcing avahipeer (workstation and ssh)
#   vtID-fake     10.213.0.13  empty; tests run their own hostile peers here
#                 10.213.0.14  (a second address of the fake peer)
#   vtID-alone    10.213.1.1   a host with a working interface and nobody else on it
#
# Each "run" builds a LAN of its own (ID is the script's process id), so test
# runs of several work trees can share the machine; a run that was killed
# leaves its LAN behind, and the next run removes it. "up" and "down" work on
# the LAN with ID $VANTREL_LAN_ID (default 0), for trying things by hand.
#
# Usage: lan.sh up | down | run COMMAND [ARGS...] | run-with-avahi COMMAND [ARGS...]
# "run" brings the LAN up, runs COMMAND inside the probe and always takes the
# LAN down again, passing COMMAND's exit status on. "run-with-avahi" also
# gives the probe a D-Bus system bus and an avahi-daemon of its own, reachable
# through DBUS_SYSTEM_BUS_ADDRESS. Exits 77 (skipped) when
# not root or when wsdd or avahi-daemon is missing.
set -euo pipefail

if [ "${1:-}" = up ] || [ "${1:-}" = down ]; then
    readonly ID=${VANTREL_LAN_ID:-0}
else
    readonly ID=$$
fi
readonly SWITCH=vt$ID-switch PROBE=vt$ID-probe WSD=vt$ID-wsd AVAHI=vt$ID-avahi FAKE=vt$ID-fake ALONE=vt$ID-alone
readonly HOSTS=("$PROBE" "$WSD" "$AVAHI" "$FAKE")
readonly WORK=/tmp/vantrel-lan-$ID
readonly WSD_NAME=WSDPEER
readonly AVAHI_NAME=avahipeer

address_of() {
    case "$1" in
        "$PROBE") echo 10.213.0.10 ;;
        "$WSD") echo 10.213.0.11 ;;
        "$AVAHI") echo 10.213.0.12 ;;
        "$FAKE") echo 10.213.0.13 ;;
    esac
}

skip() {
    echo "lan.sh: skipped: $*" >&2
    exit 77
}

quiet_sysctls() {
    # Addresses usable at once (no duplicate-address detection), no router
    # solicitations leaving, multicast routed out of the one interface.
    local ns=$1
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0 \
        net.ipv6.conf.all.router_solicitations=0 net.ipv6.conf.default.router_solicitations=0
}

# True when process $1 still runs inside one of this LAN's namespaces (a
# recorded pid may have been reused by then).
in_our_lan() {
    local have ns
    have=$(stat -L -c %i "/proc/$1/ns/net" 2>/dev/null) || return 1
    for ns in "${HOSTS[@]}"; do
        [ "$(stat -L -c %i "/run/netns/$ns" 2>/dev/null)" = "$have" ] && return 0
    done
    return 1
}

down() {
    if [ -d "$WORK/pids" ]; then
        for f in "$WORK"/pids/*; do
            [ -e "$f" ] || continue
            in_our_lan "$(cat "$f")" && kill "$(cat "$f")" 2>/dev/null || true
        done
        sleep 0.5
        for f in "$WORK"/pids/*; do
            [ -e "$f" ] || continue
            in_our_lan "$(cat "$f")" && kill -9 "$(cat "$f")" 2>/dev/null || true
            wait "$(cat "$f")" 2>/dev/null || true
        done
    fi
    for ns in "${HOSTS[@]}" "$ALONE" "$SWITCH"; do
        ip netns del "$ns" 2>/dev/null || true
        rm -rf "/etc/netns/$ns"
    done
    rm -rf "$WORK"
}

# Starts a daemon as the exec'd end of a command chain (no shell function in
# the background), so that $! is the daemon itself.
record_pid() { echo "$2" >"$WORK/pids/$1"; }

# The daemon must sit in the namespace it was meant for, not in the host's.
check_namespace() {
    local ns=$1 pid=$2
    local want have
    want=$(stat -L -c %i "/run/netns/$ns")
    have=$(stat -L -c %i "/proc/$pid/ns/net" 2>/dev/null || echo none)
    if [ "$want" != "$have" ]; then
        echo "lan.sh: process $pid is not in namespace $ns" >&2
        return 1
    fi
}

wait_for() {
    local what=$1 tries=$2
    shift 2
    for _ in $(seq "$tries"); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    echo "lan.sh: $what did not come up" >&2
    return 1
}

# LANs of runs that no longer exist.
remove_stale_lans() {
    local f id
    for f in /run/netns/vt*-switch; do
        [ -e "$f" ] || continue
        id=${f#/run/netns/vt}
        id=${id%-switch}
        case "$id" in '' | *[!0-9]* | 0) continue ;; esac
        [ "$id" = "$ID" ] && continue
        kill -0 "$id" 2>/dev/null && continue
        VANTREL_LAN_ID=$id bash "$0" down || true
    done
}

up() {
    down
    remove_stale_lans
    mkdir -p "$WORK/pids"
    ip netns add "$SWITCH"
    ip netns exec "$SWITCH" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip -n "$SWITCH" link add br0 type bridge
    ip -n "$SWITCH" link set br0 up
    for ns in "${HOSTS[@]}"; do
        ip netns add "$ns"
        quiet_sysctls "$ns"
        # Name lookups inside the LAN never reach the host's name servers.
        mkdir -p "/etc/netns/$ns"
        echo "nameserver 127.0.0.1" >"/etc/netns/$ns/resolv.conf"
        printf '127.0.0.1 localhost\n' >"/etc/netns/$ns/hosts"
        port=p${ns##*-}
        ip -n "$SWITCH" link add "$port" type veth peer name eth0 netns "$ns"
        ip -n "$SWITCH" link set "$port" master br0 up
        ip -n "$ns" link set lo up
        ip -n "$ns" addr add "$(address_of "$ns")/24" dev eth0
        ip -n "$ns" link set eth0 up
        ip -n "$ns" route add 224.0.0.0/4 dev eth0
    done
    # A second address on the fake peer: what it announces for that address
    # must not be fetched when the announcement came from the first.
    ip -n "$FAKE" addr add 10.213.0.14/24 dev eth0
    ip netns add "$ALONE"
    quiet_sysctls "$ALONE"
    ip -n "$ALONE" link set lo up
    ip -n "$ALONE" link add eth0 type veth peer name eth1
    ip -n "$ALONE" addr add 10.213.1.1/24 dev eth0
    ip -n "$ALONE" link set eth0 up
    ip -n "$ALONE" link set eth1 up
    ip -n "$ALONE" route add 224.0.0.0/4 dev eth0

    # wsdd in its namespace, announcing a computer name over IPv4 and IPv6.
    ip netns exec "$WSD" wsdd -i eth0 -n "$WSD_NAME" -w LANTEST -s >"$WORK/wsdd.log" 2>&1 &
    record_pid wsdd $!
    # avahi-daemon in its namespace, with a private /run and service folder (both
    # paths are built into Avahi) and its own host name.
    mkdir -p "$WORK/avahi/services"
    cat >"$WORK/avahi/avahi-daemon.conf" <<CONF
[server]
host-name=$AVAHI_NAME
use-ipv4=yes
use-ipv6=yes
allow-interfaces=eth0
enable-dbus=no
[publish]
publish-workstation=yes
CONF
    cat >"$WORK/avahi/services/ssh.service" <<'XML'
<?xml version="1.0" standalone='no'?>
<!DOCTYPE service-group SYSTEM "avahi-service.dtd">
<service-group><name replace-wildcards="yes">%h</name>
<service><type>_ssh._tcp</type><port>22</port></service></service-group>
XML
    ip netns exec "$AVAHI" unshare --mount --propagation private sh -c "
        mount -t tmpfs vantrel-lan-run /run &&
        mount --bind '$WORK/avahi/services' /etc/avahi/services &&
        exec avahi-daemon --no-drop-root --no-chroot --no-rlimits -f '$WORK/avahi/avahi-daemon.conf'
    " >"$WORK/avahi.log" 2>&1 &
    record_pid avahi $!

    wait_for "wsdd" 100 sh -c "ip netns exec '$WSD' ss -ltn | grep -q ':5357'" || return 1
    # Announced once its names have been probed, a second or two after start.
    wait_for "avahi-daemon" 100 grep -q "successfully established" "$WORK/avahi.log" || return 1
    check_namespace "$WSD" "$(cat "$WORK/pids/wsdd")" || return 1
    check_namespace "$AVAHI" "$(cat "$WORK/pids/avahi")" || return 1
}

# A system bus and an avahi-daemon for the probe. Their /run is a folder of
# ours bind-mounted in their own mount namespaces, so the bus socket can be
# handed to the test program that runs outside them.
probe_avahi_up() {
    local run="$WORK/probe-run"
    mkdir -p "$run/dbus" "$WORK/probe-avahi/services"
    chmod 755 "$run" "$run/dbus"
    cat >"$WORK/probe-avahi/avahi-daemon.conf" <<CONF
[server]
allow-interfaces=eth0
enable-dbus=yes
[publish]
publish-workstation=no
CONF
    ip netns exec "$PROBE" unshare --mount --propagation private sh -c "
        mount --bind '$run' /run && exec dbus-daemon --system --nofork --nopidfile
    " >"$WORK/probe-dbus.log" 2>&1 &
    record_pid probe-dbus $!
    wait_for "the probe's system bus" 50 test -S "$run/dbus/system_bus_socket" || return 1
    ip netns exec "$PROBE" unshare --mount --propagation private sh -c "
        mount --bind '$run' /run &&
        mount --bind '$WORK/probe-avahi/services' /etc/avahi/services &&
        exec avahi-daemon --no-drop-root --no-chroot --no-rlimits -f '$WORK/probe-avahi/avahi-daemon.conf'
    " >"$WORK/probe-avahi.log" 2>&1 &
    record_pid probe-avahi $!
    wait_for "the probe's avahi-daemon" 100 grep -q "Server startup complete" "$WORK/probe-avahi.log" || return 1
    check_namespace "$PROBE" "$(cat "$WORK/pids/probe-dbus")" || return 1
    check_namespace "$PROBE" "$(cat "$WORK/pids/probe-avahi")" || return 1
}

run_in_probe() {
    set +e
    VANTREL_LAN_WSD_NAME=$WSD_NAME VANTREL_LAN_WSD_ADDRESS=$(address_of "$WSD") \
    VANTREL_LAN_AVAHI_NAME=$AVAHI_NAME VANTREL_LAN_AVAHI_ADDRESS=$(address_of "$AVAHI") \
    VANTREL_LAN_FAKE_NAMESPACE=$FAKE VANTREL_LAN_FAKE_ADDRESS=$(address_of "$FAKE") \
    VANTREL_LAN_ALONE_NAMESPACE=$ALONE \
        ip netns exec "$PROBE" "$@"
    local status=$?
    set -e
    return $status
}

show_logs() {
    for f in "$WORK"/*.log; do
        [ -e "$f" ] || continue
        echo "--- $f"
        cat "$f"
    done
}

main() {
    [ "$(id -u)" -eq 0 ] || skip "needs root to make network namespaces"
    command -v wsdd >/dev/null || skip "wsdd is not installed (scripts/setup.sh installs it)"
    command -v avahi-daemon >/dev/null || skip "avahi-daemon is not installed (scripts/setup.sh installs it)"
    case "${1:-}" in
        up) up ;;
        down) down ;;
        run | run-with-avahi)
            local mode=$1
            shift
            [ $# -gt 0 ] || { echo "usage: lan.sh $mode COMMAND [ARGS...]" >&2; exit 2; }
            trap down EXIT
            trap "exit 130" INT TERM
            if ! up || { [ "$mode" = run-with-avahi ] && ! probe_avahi_up; }; then
                show_logs
                exit 1
            fi
            if [ "$mode" = run-with-avahi ]; then
                export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/probe-run/dbus/system_bus_socket"
            fi
            local status=0
            run_in_probe "$@" || status=$?
            exit $status
            ;;
        *) echo "usage: lan.sh up | down | run[-with-avahi] COMMAND [ARGS...]" >&2; exit 2 ;;
    esac
}

main "$@"
