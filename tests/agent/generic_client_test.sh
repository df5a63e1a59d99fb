#!/usr/bin/env bash
# vantrel-agent as a generic WS-Management client sees it: the wsl shell
# client (Debian's "wsl" package) identifies the service and enumerates a
# class with and without a WQL filter, optimized or not; Identify without a
# login is answered only when the request says it is unauthenticated.
# Usage: generic_client_test.sh VANTREL_AGENT PROFILE.json
set -euo pipefail

agent=$(realpath "$1")
profile=$(realpath "$2")
work=$(mktemp -d)
agent_pid=
cleanup() {
  [ -n "$agent_pid" ] && kill "$agent_pid" 2>/dev/null && wait "$agent_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

failures=0
check() {  # check NAME FILE EXPECTED-TEXT...
  local name=$1 file=$2
  shift 2
  for expected in "$@"; do
    if ! grep -q -- "$expected" "$file"; then
      echo "FAIL: $name: no '$expected' in:"
      cat "$file"
      failures=$((failures + 1))
      return
    fi
  done
  echo "ok: $name"
}

printf 'secret\n' | "$agent" adduser --users users admin >/dev/null
"$agent" serve --listen 127.0.0.1:0 --users users --state state --profile "$profile" >agent.out 2>&1 &
agent_pid=$!
for _ in $(seq 500); do
  grep -q "Listening on" agent.out 2>/dev/null && break
  sleep 0.01
done
endpoint=$(sed -n 's/^Listening on \(127\.0\.0\.1:[0-9]*\)$/\1/p' agent.out)
[ -n "$endpoint" ] || { echo "the agent does not listen:"; cat agent.out; exit 1; }

# wsl verifies the node with the certificate named after the endpoint.
cp state/agent-cert.pem "$endpoint.crt"
export HOME=$work KEEPHISTORY=0 WSAUTOMATED=1 WSENDPOINT=$endpoint WSUSER=admin WSPASS=secret
cimv2=http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2
wql=http://schemas.microsoft.com/wbem/wsman/1/WQL

wslid check >identify.txt 2>&1 || true
cp request-1.xml identify-request.xml
check "Identify with a login" identify.txt "IdentifyResponse" "<wsmid:ProductVendor>Vantrel</wsmid:ProductVendor>"

wslenum "$cimv2/Win32_Processor" >class.txt 2>&1 || true
check "every instance of a class, no filter" class.txt "PullResponse" "<p:Win32_Processor xmlns:p=\"$cimv2/Win32_Processor\">" \
  "<p:Name xsi:type=\"cim:cimString\">" "<n:EndOfSequence/>"

wslenum "$cimv2/*" -dialect "$wql" -filter "Select Name From Win32_Processor" >wql.txt 2>&1 || true
check "a WQL filter" wql.txt "PullResponse" "<w:XmlFragment>" "<Name xsi:type=\"cim:cimString\">"

wslenum "$cimv2/*" -dialect "$wql" -filter "Select * From Win32_OperatingSystem" -opti 5 >optimized.txt 2>&1 || true
check "a WQL filter, optimized" optimized.txt "EnumerateResponse" "<w:Items>" "<Caption xsi:type=\"cim:cimString\">"

WSPASS=guess wslenum "$cimv2/Win32_Processor" >refused.txt 2>&1 || true
if grep -q "Win32_Processor xmlns" refused.txt; then
  echo "FAIL: a wrong password was answered"; failures=$((failures + 1))
else
  echo "ok: a wrong password gets nothing"
fi

# wsl's own Identify request, sent without a login: answered only when it
# says it is unauthenticated, as the protocol wants.
post() {
  curl -s --cacert "$endpoint.crt" -o "$1" -w '%{http_code}' -H 'Content-Type: application/soap+xml;charset=UTF-8' \
    "${@:2}" --data-binary @identify-request.xml "https://$endpoint/wsman"
}
status=$(post anonymous.xml -H 'WSMANIDENTIFY: unauthenticated')
echo "status $status" >>anonymous.xml
check "Identify without a login" anonymous.xml "IdentifyResponse" "status 200"
status=$(post bare.xml)
[ "$status" = 401 ] && echo "ok: no login, no header: 401" || { echo "FAIL: no login answered $status"; failures=$((failures + 1)); }

exit $((failures > 0))
