#!/usr/bin/env bash
# Real OpenSSH servers for the SSH tests, in a network namespace of their
# own (only its loopback), then COMMAND run inside it:
#   127.0.0.1:2222  sshd with host key A, the test's key authorized for root and
#                   for "probe", a second uid 0 account with a plain /bin/sh (a
#                   node whose login runs no shell start-up files)
#   127.0.0.1:2223  sshd with host key B (the same node "reinstalled")
#   127.0.0.1:2224  sshd taking only the password of the user "inventory" (uid 4242),
#                   who exists only in a private copy of /etc/passwd and /etc/shadow
#   127.0.0.1:2225  sshd A whose command ends half-way through its answer
#   127.0.0.1:2226  sshd A whose command never answers
# The command finds the client's files in $VANTREL_SSH_DIR: home/.ssh/id_ed25519
# (the authorized key), other_key (a key nobody authorized), hostkey_a.pub, hostkey_b.pub.
# Usage: ssh_nodes.sh COMMAND [ARGS...]   Exits 77 (skipped) when not root.
set -euo pipefail

[ "$(id -u)" -eq 0 ] || { echo "ssh_nodes.sh: skipped: needs root" >&2; exit 77; }
[ -x /usr/sbin/sshd ] || { echo "ssh_nodes.sh: sshd is missing (openssh-server)" >&2; exit 1; }

ns=vssh$$
work=$(mktemp -d /tmp/vantrel-ssh-XXXXXX)
chmod 755 "$work"
cleanup() {
  ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/home/.ssh" /run/sshd
ssh-keygen -q -t ed25519 -N '' -C hostA -f "$work/hostkey_a"
ssh-keygen -q -t ed25519 -N '' -C hostB -f "$work/hostkey_b"
ssh-keygen -q -t ed25519 -N '' -C test -f "$work/home/.ssh/id_ed25519"
ssh-keygen -q -t ed25519 -N '' -C other -f "$work/other_key"
cp "$work/home/.ssh/id_ed25519.pub" "$work/authorized_keys"

common() {  # common HOSTKEY PIDFILE
  cat <<CONF
ListenAddress 127.0.0.1
HostKey $1
PidFile $2
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin yes
UsePAM no
StrictModes no
KbdInteractiveAuthentication no
LogLevel ERROR
CONF
}
{ echo "Port 2222"; echo "Port 2225"; echo "Port 2226"; common "$work/hostkey_a" "$work/a.pid"
  echo "PasswordAuthentication no"
  echo "Match LocalPort 2225"; echo "  ForceCommand printf 'R 3 1 /proc/cpuinfo\\nprocessor : 0\\n'"
  echo "Match LocalPort 2226"; echo "  ForceCommand sleep 60"; } >"$work/sshd_a"
{ echo "Port 2223"; common "$work/hostkey_b" "$work/b.pid"; echo "PasswordAuthentication no"; } >"$work/sshd_b"
{ echo "Port 2224"; echo "PubkeyAuthentication no"; common "$work/hostkey_a" "$work/p.pid"; echo "PasswordAuthentication yes"; } >"$work/sshd_p"

# The test's accounts, in copies of the account files seen only by the sshds.
mkdir -p "$work/inventory" "$work/probe"
chown 4242:4242 "$work/inventory"
cp /etc/passwd "$work/passwd"
cp /etc/shadow "$work/shadow"
echo "inventory:x:4242:4242::$work/inventory:/bin/sh" >>"$work/passwd"
echo "probe:x:0:0::$work/probe:/bin/sh" >>"$work/passwd"
echo "probe:*:19000:0:99999:7:::" >>"$work/shadow"
echo "inventory:$(openssl passwd -6 inventory-secret):19000:0:99999:7:::" >>"$work/shadow"

ip netns add "$ns"
ip netns exec "$ns" ip link set lo up
for config in sshd_a sshd_b sshd_p; do
  ip netns exec "$ns" unshare -m sh -c "mount --bind '$work/passwd' /etc/passwd && mount --bind '$work/shadow' /etc/shadow && exec /usr/sbin/sshd -f '$work/$config'"
done
for port in 2222 2223 2224 2225 2226; do
  for _ in $(seq 200); do
    ip netns exec "$ns" bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" 2>/dev/null && break
    sleep 0.02
  done
done

export VANTREL_SSH_DIR=$work
status=0
ip netns exec "$ns" env -u SSH_AUTH_SOCK HOME="$work/home" "$@" || status=$?
exit $status
