#!/usr/bin/env bash
# Builds the Debian package build/qorva_VERSION_ARCH.deb from the normal build
# (installs what is missing first, like the other scripts).
#   scripts/package.sh            then: sudo apt-get install ./build/qorva_*.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"

bash scripts/build.sh
(cd build && cpack -G DEB)
ls -1 "$here"/build/qorva_*.deb
