#!/usr/bin/env bash
# Installs what is missing and builds everything into build/ (the other scripts start here).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
