#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds,
# starting from a corpus seeded with the test fixtures and a few item files
# made here. Fails on any crash, hang or sanitizer report; the input that
# caused it is left under BUILD_DIR/artifacts/<fuzzer>/.
#
#   tests/fuzz/run-fuzzers.sh BUILD_DIR SECONDS
# FUZZERS="name ..." runs only those targets.
set -euo pipefail
export LC_ALL=C

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
seconds=$2
data="$root/tests/data"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTILERACK_FUZZ=ON -DTILERACK_BENCH=OFF >"$build/configure.log"
fuzzers=()
for src in "$root"/tests/fuzz/*_fuzz.cpp; do fuzzers+=("$(basename "$src" .cpp)"); done
if [ -n "${FUZZERS:-}" ]; then read -ra fuzzers <<<"$FUZZERS"; fi
cmake --build "$build" -j "${JOBS:-2}" --target "${fuzzers[@]}"

# ---- seed corpora -------------------------------------------------------
le32() { printf "$(printf '\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
text() { local LC_ALL=C; le32 ${#1}; printf '%s' "$1"; }
# One record: the five texts, TrackDrives, the button slot, then an image file.
record() {
    text "$1"; text "$2"; text "$3"; text "$4"; text "$5"
    printf '\x01'; le32 305419896
    if [ -n "$6" ]; then cat "$6"; fi
}

seed_bmp="$build/seeds/bmp_reader_fuzz"
seed_items="$build/seeds/shortcut_file_fuzz"
seed_icons="$build/seeds/icons_dat_fuzz"
seed_settings="$build/seeds/settings_values_fuzz"
rm -rf "$build/seeds"
mkdir -p "$seed_bmp" "$seed_items" "$seed_icons" "$seed_settings"
cp "$data"/*.bmp "$seed_bmp/"

le32 0 >"$seed_items/empty-list"
n=0
for image in "$data"/*.bmp; do
    n=$((n + 1))
    { le32 1; record "-p" 'C:\prog.exe' "Item $n" 'C:\' $'line one\r\nline two' "$image"; } >"$seed_items/one-$n"
done
{
    le32 3
    record "" 'C:\a.exe' "A" "" "" "$data/gradient-info24.bmp"
    record "" 'C:\b.exe' "B" "" "" "$data/primaries-info4.bmp"
    record "" 'C:\c.exe' "C" "" "" ""   # last record without an image
} >"$seed_items/three-records"
# Texts stored as UTF-8 behind EF BB BF: whole names, and bad UTF-8 behind the mark.
{
    le32 2
    record "" $'\xEF\xBB\xBFC:\\\xE8\xAE\xB0\xE4\xBA\x8B.exe' $'\xEF\xBB\xBF\xF0\x9F\x98\x80 R\xC3\xA9sum\xC3\xA9' "" "" "$data/gradient-info24.bmp"
    record $'\xEF\xBB\xBF\xC3(\xE8\xAE' 'C:\b.exe' $'\xEF\xBB\xBF\xED\xA0\x80' "" "" ""
} >"$seed_items/utf8-texts"

# Icon collections: none, the first pictures of the shipped one, and the
# fixtures (of other sizes and depths) after a count.
le32 0 >"$seed_icons/empty"
{ le32 2; head -c 6256 "$root/res/icons/icons.dat" | tail -c +5; } >"$seed_icons/shipped-two"
n=0
for image in "$data"/*.bmp; do
    n=$((n + 1))
    { le32 2; cat "$image" "$image"; } >"$seed_icons/fixture-$n"
done

# Settings values, one per line in the order Side, Width, TimeOut, Opacity,
# Color, OnTop.
printf '0\n64\n300\n50\n16048352\n0' >"$seed_settings/defaults"
printf '257\n10\n-1\n0x1E\n$FFFFFFFF\n256' >"$seed_settings/odd"
printf ' +1\n99999999999\nabc\n$\n-2147483648\n-1' >"$seed_settings/edges"

# ---- run ----------------------------------------------------------------
failed=0
for fuzzer in "${fuzzers[@]}"; do
    corpus="$build/corpus/$fuzzer"
    artifacts="$build/artifacts/$fuzzer"
    mkdir -p "$corpus" "$artifacts"
    log="$build/$fuzzer.log"
    echo "== $fuzzer for ${seconds}s"
    set +e
    # The corpus kept in the repository (what earlier long runs found worth
    # keeping) is read along with the seeds.
    kept="$root/tests/fuzz/kept-corpus/$fuzzer"
    mkdir -p "$kept"
    "$build/$fuzzer" "$corpus" "$build/seeds/$fuzzer" "$kept" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1
    rc=$?
    set -e
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+ +DONE' "$log" || true
    if [ $rc -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        echo "FAILED: $fuzzer (exit $rc); see $log and $artifacts" >&2
        grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -5 >&2 || true
        failed=1
    fi
done
exit $failed
