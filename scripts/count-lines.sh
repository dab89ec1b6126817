#!/usr/bin/env bash
# Lines of tracked source (C++, JavaScript, C, shell, CMake) in the product and in its tests.
# Product: every folder the program, the converter and the package are built from.
# Tests: tests/. Benchmarks and fuzzing harnesses are counted apart, in neither.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -E '\.(cpp|h|c|js|mjs|sh|cmake)$|CMakeLists\.txt$' | xargs -r cat | wc -l
}
product=$(count CMakeLists.txt model convert editor tools src cli resources packaging scripts cmake)
tests=$(count tests)
other=$(count bench fuzz)
echo "product code: $product lines"
echo "tests:        $tests lines ($(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.1f", 100 * t / p }')% of the product code)"
echo "benchmarks and fuzzing (in neither): $other lines"
