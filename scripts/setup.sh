#!/usr/bin/env bash
# Installs everything the build, the program and the test suites need on Debian 12.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools libqt6webchannel6-dev
  qt6-l10n-tools libqt6opengl6-dev libgl-dev qt6-declarative-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev libsimdjson-dev libgumbo-dev
  clang
  pandoc cmark libcmark-dev
  texlive-xetex texlive-latex-recommended texlive-fonts-recommended lmodern fonts-dejavu fonts-liberation
  poppler-utils unzip python3 libfontconfig-dev epubcheck
  xvfb xauth xdotool xclip x11-utils imagemagick xdg-utils libx11-dev
  openbox  # the window manager of the desktop benchmark (bench/desktop)
  chromium
  hunspell-en-us
  dpkg-dev file lintian desktop-file-utils appstream man-db
  nodejs esbuild
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The machine image may bring Node.js with its own npm; Debian's npm would conflict with it.
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The editor page bundles KaTeX and highlight.js; page tests drive Debian's Chromium
# through playwright-core (no browser download). All at the versions package-lock.json pins.
here="$(cd "$(dirname "$0")/.." && pwd)"
npm_missing() {
  ! (cd "$here" && node -e '
    const p = require("./package.json");
    const names = Object.keys(Object.assign({}, p.dependencies, p.devDependencies));
    process.exit(names.every((n) => require("fs").existsSync("node_modules/" + n + "/package.json")) ? 0 : 1);')
}
if [ -f "$here/package.json" ] && npm_missing; then
  (cd "$here" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund 2>/dev/null || PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm install --no-audit --no-fund)
fi
