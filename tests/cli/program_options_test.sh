#!/usr/bin/env bash
# --help, --version and unknown options of both programs, from the outside: what
# goes to stdout and stderr, and the exit codes. No display is needed for any.
#   program_options_test.sh QORVA QORVA_CONVERT VERSION
set -u
qorva="$1"
convert="$2"
version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passes=0
failures=0

# program, arguments, expected exit code, stdout pattern, stderr pattern (grep -E;
# "-" means the stream must be empty)
cases=(
  "$qorva|--help|0|^Usage: qorva |-"
  "$qorva|-h|0|--welcome +open the welcome document|-"
  "$qorva|--version|0|^qorva $version\$|-"
  "$qorva|--bogus|2|-|^qorva: unknown option '--bogus'\$"
  "$qorva|-x notes.text|2|-|^Try 'qorva --help'"
  "$convert|--help|0|^  WriteHtml |-"
  "$convert|-h|0|^Usage: qorva-convert OPERATION|-"
  "$convert|--version|0|^qorva-convert $version\$|-"
  "$convert|--bogus|2|-|^Usage: qorva-convert OPERATION"
  "$convert||2|-|^Usage: qorva-convert OPERATION"
)

stream_matches() {  # file, pattern
  if [ "$2" = "-" ]; then [ ! -s "$1" ]; else grep -Eq -- "$2" "$1"; fi
}

for entry in "${cases[@]}"; do
  IFS='|' read -r program arguments code out_pattern err_pattern <<<"$entry"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" $arguments </dev/null >"$work/out" 2>"$work/err"
  actual=$?
  name="$(basename "$program") $arguments"
  if [ "$actual" = "$code" ] && stream_matches "$work/out" "$out_pattern" && stream_matches "$work/err" "$err_pattern"; then
    printf 'ok   %s\n' "$name"
    passes=$((passes + 1))
  else
    printf 'FAIL %s: exit %s (expected %s)\n  stdout: %s\n  stderr: %s\n' "$name" "$actual" "$code" \
      "$(head -3 "$work/out")" "$(head -3 "$work/err")"
    failures=$((failures + 1))
  fi
done
echo "options: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
