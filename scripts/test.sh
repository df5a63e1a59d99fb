#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# GUI and OpenGL tests need an X server: the suite runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja
cmake --build build
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
# -noreset: the server would otherwise reset whenever its last client leaves,
# refusing the next test's connection while it does.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir build --output-on-failure -j2
