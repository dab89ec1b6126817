#!/usr/bin/env bash
# qorva-convert as other programs use it: operations on stdin and stdout, exit codes,
# and the one-line error report. What each converter makes of its input is the
# converter host suite's (tests/model/converter_host_test.cpp).
set -u
convert="$1"
failures=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

check() {  # name, expected, actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    else
        printf 'ok   %s\n' "$1"
    fi
}

run() {  # stdin text, arguments...; sets out, err, code
    local input="$1"
    shift
    printf '%s' "$input" | "$convert" "$@" >"$work/out" 2>"$work/err"
    code=$?
    out="$(cat "$work/out"; printf x)"
    out="${out%x}"
    err="$(cat "$work/err")"
}

run $'Some *word*.\n' ReadTextFormat
check "reads a document" '["text",["para",{"level":0},["plain","Some "],["emph","word"],["plain","."]]]' "$out"
check "reading exits 0" 0 "$code"

run '![](<a.png>) x' ReadTextFormat
check "syntax error exit code" 1 "$code"
check "syntax error line" 'error at line 1, column 13 (offset 12): Expected "\n" or "\r" but " " found.' "$err"
check "nothing on stdout after an error" "" "$out"

run '["text",["para",{"level":0},["plain","first"],["break","\n"],["plain","second"]]]' WriteTextFormat --options '{"wrap":false}'
check "writes with options" $'first  \nsecond\n' "$out"

run '["text",["para",{"level":0},["plain"]]]' WriteTextFormat --options '{"wrap":true}'
check "malformed model exit code" 1 "$code"
check "malformed model message" 'error: malformed model: block 0, span 0 does not have exactly two elements' "$err"

run '{"wrap":' WriteTextFormat
check "broken JSON exit code" 1 "$code"
check "broken JSON is one line" 1 "$(printf '%s\n' "$err" | wc -l)"
case "$err" in error:\ invalid\ JSON:*) check "broken JSON message" ok ok ;; *) check "broken JSON message" "error: invalid JSON: ..." "$err" ;; esac

printf 'a\377\376b' | "$convert" ReadTextFormat >"$work/out" 2>/dev/null
check "invalid UTF-8 reads as replacement characters" '["text",["para",{"level":0},["plain","a��b"]]]' "$(cat "$work/out")"

# name|arguments|expected exit code
for usage in "bad options|WriteTextFormat --options nonsense|1" "unknown operation|NoSuchOperation|2" \
             "unknown argument|ReadTextFormat --bogus|2" "no operation||2"; do
    IFS='|' read -r name arguments expected <<<"$usage"
    # shellcheck disable=SC2086 # the arguments are split on purpose
    run '["text"]' $arguments
    check "$name exit code" "$expected" "$code"
done

for op in ReadPandocJson WritePandocJson ReadPlainText WriteHtml WriteLatex; do
    run '["text"]' "$op"
    check "$op is built in" 1 "$([ "$code" -le 1 ] && echo 1 || echo "$code: $err")"
done

# A document survives the command-line round trip byte for byte.
doc=$'Heading\n=======\n\n-   item with `code` and $x$\n\n    >   quoted\n'
printf '%s' "$doc" | "$convert" ReadTextFormat | "$convert" WriteTextFormat --options '{"wrap":true}' >"$work/out"
check "round trip through the command line" "$doc" "$(cat "$work/out")"$'\n'

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
