#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vantrel need.
# Only missing packages are installed. Works as root, or through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libqt6opengl6-dev libgl-dev libegl-dev libopengl-dev libgl1-mesa-dri libegl-mesa0
  libpng-dev libjpeg-dev libdeflate-dev libfreetype-dev fonts-dejavu-core
  zlib1g-dev libudev-dev udev libcurl4-openssl-dev libpugixml-dev nlohmann-json3-dev libavahi-client-dev
  libsqlite3-dev libpq-dev postgresql
  wsdd avahi-daemon iproute2
  wsl uuid-runtime curl libxml2-utils
  libssh-dev openssh-server openssh-client openssl
  libcpp-httplib-dev libssl-dev libsodium-dev libkrb5-dev gss-ntlmssp krb5-kdc krb5-admin-server krb5-user
  libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev assimp-utils lshw
  clang libclang-rt-14-dev
  xvfb xauth
  chromium python3 python3-websocket python3-jsonschema
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
else
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
