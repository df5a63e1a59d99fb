#!/usr/bin/env bash
# Installs what is missing, builds the desktop program and starts it.
# Extra arguments go to the program (for instance --home DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja
cmake --build build --target vantrel
exec build/bin/vantrel "$@"
