#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
# Arguments go to the program: a document path, or --welcome.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"

bash scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: Qorva is a desktop program and needs an X11 or Wayland session" >&2
  echo "(or run it under a virtual one: xvfb-run -a build/bin/qorva)." >&2
  exit 1
fi
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
if [ "$#" -eq 0 ]; then set -- --welcome; fi
exec build/bin/qorva "$@"
