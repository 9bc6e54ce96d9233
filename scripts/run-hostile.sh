#!/usr/bin/env bash
# The long scenarios that prove the program keeps a user's items under
# hostile conditions (kills during saves, ...): on demand and from
# `make bench`, not part of `make test`.
#
# Usage: run-hostile.sh WIN_BUILD_DIR
#   TILERACK_KILL_RUNS (100), TILERACK_SOAK_PERCENT (100: the whole long day)
set -uo pipefail
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 WIN_BUILD_DIR" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# Under a light window manager: no 2-s wait each time the panel slides out.
export E2E_WINDOW_MANAGER=openbox
exec "$ROOT/tests/e2e/run-e2e.sh" "$1" "--gtest_filter=OnDemand*"
