#!/usr/bin/env bash
# A small LAN of network namespaces for the discovery tests:
#
#   vt-switch   the bridge every host hangs on (no address, no route)
#   vt-probe    10.213.0.10  where the program under test runs
#   vt-wsd      10.213.0.11  wsdd announcing WSDPEER
#   vt-avahi    10.213.0.12  avahi-daemon announcing avahipeer (workstation and ssh)
#   vt-fake     10.213.0.13  empty; tests run their own hostile peers here
#               10.213.0.14  (a second address of vt-fake)
#   vt-alone    10.213.1.1   a host with a working interface and nobody else on it
#
# Usage: lan.sh up | down | run COMMAND [ARGS...] | run-with-avahi COMMAND [ARGS...]
# "run" brings the LAN up, runs COMMAND inside vt-probe and always takes the
# LAN down again, passing COMMAND's exit status on. "run-with-avahi" also
# gives vt-probe a D-Bus system bus and an avahi-daemon of its own, reachable
# through DBUS_SYSTEM_BUS_ADDRESS. Exits 77 (skipped) when
# not root or when wsdd or avahi-daemon is missing.
set -euo pipefail

readonly SWITCH=vt-switch
readonly HOSTS=(vt-probe vt-wsd vt-avahi vt-fake)
readonly WORK=/tmp/vantrel-lan
readonly WSD_NAME=WSDPEER
readonly AVAHI_NAME=avahipeer

address_of() {
    case "$1" in
        vt-probe) echo 10.213.0.10 ;;
        vt-wsd) echo 10.213.0.11 ;;
        vt-avahi) echo 10.213.0.12 ;;
        vt-fake) echo 10.213.0.13 ;;
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

down() {
    if [ -d "$WORK/pids" ]; then
        for f in "$WORK"/pids/*; do
            [ -e "$f" ] || continue
            kill "$(cat "$f")" 2>/dev/null || true
        done
        sleep 0.5
        for f in "$WORK"/pids/*; do
            [ -e "$f" ] || continue
            kill -9 "$(cat "$f")" 2>/dev/null || true
            wait "$(cat "$f")" 2>/dev/null || true
        done
    fi
    for ns in "${HOSTS[@]}" vt-alone "$SWITCH"; do
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

up() {
    down
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
        ip -n "$SWITCH" link add "p-$ns" type veth peer name eth0 netns "$ns"
        ip -n "$SWITCH" link set "p-$ns" master br0 up
        ip -n "$ns" link set lo up
        ip -n "$ns" addr add "$(address_of "$ns")/24" dev eth0
        ip -n "$ns" link set eth0 up
        ip -n "$ns" route add 224.0.0.0/4 dev eth0
    done
    # A second address on the fake peer: what it announces for that address
    # must not be fetched when the announcement came from the first.
    ip -n vt-fake addr add 10.213.0.14/24 dev eth0
    ip netns add vt-alone
    quiet_sysctls vt-alone
    ip -n vt-alone link set lo up
    ip -n vt-alone link add eth0 type veth peer name eth1
    ip -n vt-alone addr add 10.213.1.1/24 dev eth0
    ip -n vt-alone link set eth0 up
    ip -n vt-alone link set eth1 up
    ip -n vt-alone route add 224.0.0.0/4 dev eth0

    # wsdd in vt-wsd, announcing a computer name over IPv4 and IPv6.
    ip netns exec vt-wsd wsdd -i eth0 -n "$WSD_NAME" -w LANTEST -s >"$WORK/wsdd.log" 2>&1 &
    record_pid wsdd $!
    # avahi-daemon in vt-avahi, with a private /run and service folder (both
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
    ip netns exec vt-avahi unshare --mount --propagation private sh -c "
        mount -t tmpfs vantrel-lan-run /run &&
        mount --bind '$WORK/avahi/services' /etc/avahi/services &&
        exec avahi-daemon --no-drop-root --no-chroot --no-rlimits -f '$WORK/avahi/avahi-daemon.conf'
    " >"$WORK/avahi.log" 2>&1 &
    record_pid avahi $!

    wait_for "wsdd" 100 sh -c "ip netns exec vt-wsd ss -ltn | grep -q ':5357'" || return 1
    # Announced once its names have been probed, a second or two after start.
    wait_for "avahi-daemon" 100 grep -q "successfully established" "$WORK/avahi.log" || return 1
    check_namespace vt-wsd "$(cat "$WORK/pids/wsdd")" || return 1
    check_namespace vt-avahi "$(cat "$WORK/pids/avahi")" || return 1
}

# A system bus and an avahi-daemon for vt-probe. Their /run is a folder of
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
    ip netns exec vt-probe unshare --mount --propagation private sh -c "
        mount --bind '$run' /run && exec dbus-daemon --system --nofork --nopidfile
    " >"$WORK/probe-dbus.log" 2>&1 &
    record_pid probe-dbus $!
    wait_for "vt-probe's system bus" 50 test -S "$run/dbus/system_bus_socket" || return 1
    ip netns exec vt-probe unshare --mount --propagation private sh -c "
        mount --bind '$run' /run &&
        mount --bind '$WORK/probe-avahi/services' /etc/avahi/services &&
        exec avahi-daemon --no-drop-root --no-chroot --no-rlimits -f '$WORK/probe-avahi/avahi-daemon.conf'
    " >"$WORK/probe-avahi.log" 2>&1 &
    record_pid probe-avahi $!
    wait_for "vt-probe's avahi-daemon" 100 grep -q "Server startup complete" "$WORK/probe-avahi.log" || return 1
    check_namespace vt-probe "$(cat "$WORK/pids/probe-dbus")" || return 1
    check_namespace vt-probe "$(cat "$WORK/pids/probe-avahi")" || return 1
}

run_in_probe() {
    set +e
    VANTREL_LAN_WSD_NAME=$WSD_NAME VANTREL_LAN_WSD_ADDRESS=$(address_of vt-wsd) \
    VANTREL_LAN_AVAHI_NAME=$AVAHI_NAME VANTREL_LAN_AVAHI_ADDRESS=$(address_of vt-avahi) \
    VANTREL_LAN_FAKE_NAMESPACE=vt-fake VANTREL_LAN_FAKE_ADDRESS=$(address_of vt-fake) \
    VANTREL_LAN_ALONE_NAMESPACE=vt-alone \
        ip netns exec vt-probe "$@"
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
