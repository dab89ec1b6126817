#!/usr/bin/env bash
# qorva-convert as other programs use it: its options, operations on stdin and stdout,
# exit codes and the one-line error report. What each converter makes of its input is
# the converter host suite's (tests/model/converter_host_test.cpp).
#   qorva_convert_test.sh QORVA_CONVERT VERSION
set -u
convert="$1"
version="$2"
failures=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

verdict() {  # name, then a command that must succeed; details are shown on failure
    if eval "$2"; then printf 'ok   %s\n' "$1"; else printf 'FAIL %s\n%s\n' "$1" "$3"; failures=$((failures + 1)); fi
}

# name, exit code, stdout, stderr, stdin, arguments... An output of "*" is not looked at;
# a stderr ending in "*" must start with what comes before it, and errors are one line.
expect() {
    local name="$1" code="$2" out="$3" err="$4" input="$5"
    shift 5
    printf '%s' "$input" | "$convert" "$@" >"$work/out" 2>"$work/err"
    got_code=$?
    got_out="$(cat "$work/out"; printf x)"
    got_out="${got_out%x}"
    got_err="$(cat "$work/err")"
    verdict "$name" '[ "$got_code" = "$code" ] && { [ "$out" = "*" ] || [ "$got_out" = "$out" ]; } &&
        { [ "$err" = "*" ] || { [[ "$got_err" != *$'\''\n'\''* ]] && [[ "$got_err" == "${err%\*}"* ]] &&
          { [ "${err%\*}" != "$err" ] || [ "$got_err" = "$err" ]; }; }; }' \
        "$(printf '  exit %s (expected %s)\n  stdout: %q\n  stderr: %q' "$got_code" "$code" "$got_out" "$got_err")"
}

expect "--version" 0 "qorva-convert $version"$'\n' '' '' --version
expect "--help" 0 '*' '' '' --help
expect "an unknown option" 2 '' '*' '' --bogus
expect "a syntax error names its place" 1 '' 'error at line 1, column 13 (offset 12): Expected "\n" or "\r" but " " found.' \
    '![](<a.png>) x' ReadTextFormat
expect "writes with options" 0 $'first  \nsecond\n' '*' \
    '["text",["para",{"level":0},["plain","first"],["break","\n"],["plain","second"]]]' WriteTextFormat --options '{"wrap":false}'
expect "a malformed model" 1 '*' 'error: malformed model: *' '["text",["para",{"level":0},["plain"]]]' WriteTextFormat
expect "bad options" 1 '*' '*' '["text"]' WriteTextFormat --options nonsense
expect "unknown operation" 2 '*' '*' '["text"]' NoSuchOperation
expect "unknown argument" 2 '*' '*' '["text"]' ReadTextFormat --bogus
expect "no operation" 2 '*' '*' '["text"]'

# A document survives the command-line round trip byte for byte.
doc=$'Heading\n=======\n\n-   item with `code` and $x$\n\n    >   quoted\n'
printf '%s' "$doc" | "$convert" ReadTextFormat | "$convert" WriteTextFormat --options '{"wrap":true}' >"$work/out"
verdict "round trip through the command line" '[ "$(cat "$work/out")"$'\''\n'\'' = "$doc" ]' "$(cat "$work/out")"

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
