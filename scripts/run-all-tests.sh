#!/usr/bin/env bash
# Everything `make test` runs: the native unit tests and layer checks
# (ctest), then the Windows build, its end-to-end tests under Wine on a
# private display and the check of the release downloads. Ends with one line
# "N passed, N failed" over all, and a non-zero status on any failure.
#
# Usage: run-all-tests.sh NATIVE_BUILD_DIR WIN_BUILD_DIR
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 NATIVE_BUILD_DIR WIN_BUILD_DIR" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
NATIVE=$1
WIN=$2
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

passed=0
failed=0
problems=()

# --- Native unit tests ----------------------------------------------------------
echo "== native build ($NATIVE)"
if cmake -S "$ROOT" -B "$NATIVE" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$NATIVE" -j "$JOBS"; then
    echo "== unit tests"
    (cd "$NATIVE" && ctest --output-on-failure -j "$JOBS") 2>&1 | tee "$NATIVE/ctest.log"
    ctest_status=${PIPESTATUS[0]}
    # "100% tests passed, 0 tests failed out of 57"
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$NATIVE/ctest.log" | tail -n1)
    if [ -n "$summary" ]; then
        unit_failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        unit_total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
        passed=$((passed + unit_total - unit_failed))
        failed=$((failed + unit_failed))
        [ "$ctest_status" -ne 0 ] && [ "$unit_failed" -eq 0 ] && problems+=("ctest failed (status $ctest_status)")
    elif grep -q 'No tests were found' "$NATIVE/ctest.log"; then
        echo "(no unit tests found)"
    else
        problems+=("ctest gave no summary (status $ctest_status)")
    fi
else
    problems+=("native build failed")
fi

# --- Windows build and end-to-end tests -----------------------------------------
echo "== Windows build ($WIN)"
if cmake -S "$ROOT" -B "$WIN" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$WIN" -j "$JOBS"; then
    echo "== end-to-end tests"
    "$ROOT/tests/e2e/run-e2e.sh" "$WIN" 2>&1 | tee "$WIN/e2e.log"
    e2e_status=${PIPESTATUS[0]}
    summary=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed' "$WIN/e2e.log" | tail -n1)
    if [ -n "$summary" ]; then
        e2e_failed=$(sed -E 's/^e2e: [0-9]+ passed, ([0-9]+) failed.*/\1/' <<<"$summary")
        passed=$((passed + $(sed -E 's/^e2e: ([0-9]+) passed.*/\1/' <<<"$summary")))
        failed=$((failed + e2e_failed))
        [ "$e2e_status" -ne 0 ] && [ "$e2e_failed" -eq 0 ] && problems+=("end-to-end run failed (status $e2e_status)")
    else
        problems+=("end-to-end run gave no summary (status $e2e_status)")
    fi

    # --- The release downloads: made twice and compared, installed, updated
    # and uninstalled under Wine (tests/dist/run-dist-check.sh).
    echo "== release downloads"
    "$ROOT/tests/dist/run-dist-check.sh" "$WIN" "$(dirname "$WIN")/dist" 2>&1 | tee "$WIN/dist-check.log"
    dist_status=${PIPESTATUS[0]}
    summary=$(grep -E '^dist: [0-9]+ passed, [0-9]+ failed' "$WIN/dist-check.log" | tail -n1)
    if [ -n "$summary" ]; then
        dist_failed=$(sed -E 's/^dist: [0-9]+ passed, ([0-9]+) failed.*/\1/' <<<"$summary")
        passed=$((passed + $(sed -E 's/^dist: ([0-9]+) passed.*/\1/' <<<"$summary")))
        failed=$((failed + dist_failed))
        [ "$dist_status" -ne 0 ] && [ "$dist_failed" -eq 0 ] && problems+=("release check failed (status $dist_status)")
    else
        problems+=("release check gave no summary (status $dist_status)")
    fi
else
    problems+=("Windows build failed")
fi

# A stage that could not run counts as a failure of its own.
for problem in "${problems[@]}"; do
    echo "FAILED: $problem"
    failed=$((failed + 1))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
