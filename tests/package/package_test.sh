#!/usr/bin/env bash
# The Debian package as a user gets it: made with cpack from this build, checked by
# lintian, installed with apt-get, started from /usr/bin under Xvfb on a Markdown
# file, asked for a PDF, its manual read, then removed without a trace under /usr.
# Needs root (it installs into the system): skipped otherwise; a missing tool fails.
#   package_test.sh BUILD_DIR VERSION
set -uo pipefail
build="$1"
version="$2"
skip=77

if [ "$(id -u)" -ne 0 ]; then echo "SKIP: installing a package needs root"; exit $skip; fi
for tool in cpack apt-get dpkg lintian desktop-file-validate appstreamcli man xvfb-run xdotool pdftotext; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
if dpkg-query -W -f='${Status}' qorva 2>/dev/null | grep -q 'ok installed'; then
  echo "FAIL: a qorva package is already installed; remove it first (apt-get purge qorva)"
  exit 1
fi

work="$(mktemp -d)"
installed=0
passes=0
failures=0
cleanup() {
  if [ "$installed" -eq 1 ]; then apt_quiet purge qorva >/dev/null 2>&1; fi
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # name, then a command that must succeed; fails as the command does
  local name="$1"
  shift
  if "$@" >"$work/check.log" 2>&1; then
    printf 'ok   %s\n' "$name"
    passes=$((passes + 1))
  else
    printf 'FAIL %s\n' "$name"
    sed 's/^/     /' "$work/check.log" | tail -20
    failures=$((failures + 1))
    return 1
  fi
}
apt_quiet() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"; }

# --- the package -------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb="$(ls "$work"/deb/qorva_"$version"_*.deb 2>/dev/null | head -1)"
[ -n "$deb" ] || { ls "$work/deb"; echo "FAIL: no qorva_${version}_ARCH.deb"; exit 1; }
# Errors fail; warnings are shown, each one kept for a reason given in the README.
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.log"
check "lintian reports no errors" test "${PIPESTATUS[0]}" -eq 0
check "shared libraries come from the dependency scan" grep -q 'libqt6webenginewidgets6' <(dpkg-deb --field "$deb" Depends)
check "pandoc is recommended" grep -qw 'pandoc' <(dpkg-deb --field "$deb" Recommends)
check "Hunspell dictionaries are suggested" grep -qw 'hunspell-dictionary' <(dpkg-deb --field "$deb" Suggests)

# --- installed -----------------------------------------------------------------
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^$' >"$work/paths"
check "apt-get installs the package" apt_quiet install --no-install-recommends "$deb" || exit 1
installed=1

check "desktop entry is valid" desktop-file-validate /usr/share/applications/qorva.desktop
check "desktop entry opens several files and Markdown" \
  grep -qx 'Exec=qorva %F' /usr/share/applications/qorva.desktop
# The system's triggers have taken in the file type and the desktop entry.
check ".text files have their own file type" grep -q 'text/x-qorva:\*\.text' /usr/share/mime/globs2
check "the desktop entry is offered for Markdown" \
  grep -Eq '^text/markdown=(.*;)?qorva\.desktop;' /usr/share/applications/mimeinfo.cache
check "AppStream metadata is valid" appstreamcli validate --no-net /usr/share/metainfo/app.qorva.Qorva.metainfo.xml
check "qorva --version" test "$(/usr/bin/qorva --version)" = "qorva $version"
check "the package leaves updates to the package manager" test -e /usr/share/qorva/updates-by-package-manager
check "man qorva renders" bash -c 'MANWIDTH=80 man -P cat qorva 2>/dev/null | grep -q "edit Markdown documents visually"'
check "man qorva-convert renders" bash -c 'MANWIDTH=80 man -P cat qorva-convert 2>/dev/null | grep -q "ReadTextFormat"'
check "the dictionary lies in the data folder" test -s /usr/share/qorva/en-US.bdic

printf 'Installed\n=========\n\nThe *package* works.\n' >"$work/installed.text"
check "qorva-convert exports a PDF" /usr/bin/qorva-convert export --to pdf "$work/installed.text" "$work/installed.pdf"
check "the PDF holds the document's text" bash -c "pdftotext '$work/installed.pdf' - | grep -q 'package works'"

# The installed program under a virtual display, with a home of its own.
mkdir -p "$work/home"
printf '# Notes\n\nOpened from the file manager.\n' >"$work/home/notes.md"
cat >"$work/window.sh" <<'INNER'
/usr/bin/qorva "$1" >"$2" 2>&1 &
pid=$!
title=""
for _ in $(seq 1 600); do
  title="$(xdotool search --onlyvisible --name ' - Qorva$' getwindowname 2>/dev/null | head -1)"
  [ -n "$title" ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
echo "$title"
INNER
title="$(cd "$work/home" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
  XDG_RUNTIME_DIR="$work/home" QTWEBENGINE_DISABLE_SANDBOX=1 timeout 120 xvfb-run -a bash "$work/window.sh" \
  "$work/home/notes.md" "$work/program.log")"
check "the installed program shows the Markdown file in its title" test "$title" = "$work/home/notes.md - Qorva"
[ "$title" = "$work/home/notes.md - Qorva" ] || { echo "     title: '$title'"; tail -5 "$work/program.log"; }

# --- removed -------------------------------------------------------------------
check "apt-get purges the package" apt_quiet purge qorva && installed=0
# Left behind: any file of the package, or a folder of it left empty. Folders still
# holding other packages' files stay, as they should.
: >"$work/left"
while read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    [ -z "$(ls -A "$path")" ] && echo "$path" >>"$work/left"
  elif [ -e "$path" ] || [ -L "$path" ]; then
    echo "$path" >>"$work/left"
  fi
done <"$work/paths"
check "nothing of the package is left under /usr" test ! -s "$work/left"
[ -s "$work/left" ] && sed 's/^/     left: /' "$work/left"

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
