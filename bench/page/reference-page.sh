#!/bin/sh
# Builds the editor page of an earlier commit into one file, to measure the
# page of today against it side by side (frame-bench.mjs, page_engine_bench):
# its test page where it has one, as the benchmarks drive the page by name.
# The commit's own page modules, style sheet and assembler are bundled the way
# its editor/CMakeLists.txt does, with this checkout's node_modules.
# Usage: bench/page/reference-page.sh COMMIT OUT.html
set -eu
if [ $# -ne 2 ]; then
  echo "usage: $0 COMMIT OUT.html" >&2
  exit 2
fi
commit=$1
out=$(realpath -m "$2")
top=$(git rev-parse --show-toplevel)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git -C "$top" archive "$commit" editor | tar -x -C "$work"
ln -s "$top/node_modules" "$work/node_modules"
cd "$work/editor"
# The commit's esbuild options, read from its build rule.
options=$(sed -n '/ESBUILD_EXECUTABLE} [^ ]*[{/]entry}/,/--outfile/p' CMakeLists.txt | tr ' ' '\n' | grep '^--' | grep -v '^--outfile' | tr '\n' ' ')
entry=scripts/page.js
if [ -f scripts/test-page.js ]; then entry=scripts/test-page.js; fi
esbuild $entry $options --outfile="$work/bundle.js"
# Pages with the libraries made live on first use take their bundle too; pages
# from before the formula style sheet take one argument fewer.
if [ -f scripts/libraries-bundle.js ]; then
  esbuild scripts/libraries-bundle.js --bundle --format=iife --global-name=formulaLibraries --target=es2020 \
    --charset=utf8 --minify-whitespace --minify-syntax --log-level=warning --outfile="$work/libraries.js"
  node tools/assemble.mjs page.html style/editor.css "$top/node_modules/katex/dist/katex.min.css" "$work/libraries.js" \
    "$work/bundle.js" "$out"
elif grep -q FORMULA_STYLE tools/assemble.mjs; then
  node tools/assemble.mjs page.html style/editor.css "$top/node_modules/katex/dist/katex.min.css" "$work/bundle.js" "$out"
else
  node tools/assemble.mjs page.html style/editor.css "$work/bundle.js" "$out"
fi
echo "$out"
