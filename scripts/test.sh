#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite
# (C++ suites, the editor page in Chromium, the desktop program under Xvfb).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"

bash scripts/build.sh
cd build
ctest --output-on-failure -j2 "$@"
