#!/usr/bin/env bash
# Long fuzzing runs: builds the libFuzzer targets with clang and the sanitizers when
# needed, then fuzzes each target in turn for its share of the time, several processes
# per target. Grown corpora and crash artefacts stay under the build folder, so a later
# run goes on from where the last one stopped.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ALL_TARGETS=(fuzz_flap fuzz_login fuzz_incoming fuzz_session fuzz_lists fuzz_distribution
             fuzz_storage fuzz_chat fuzz_files fuzz_web)

usage() {
    cat <<EOF
Usage: fuzz/run-long.sh [-j JOBS] [-b BUILD_DIR] [DURATION] [TARGET...]

Fuzzes every target (or the ones named) for DURATION in all, split evenly between
them and run one after another, each with JOBS fuzzing processes (libFuzzer's fork
mode: a crash is saved and the run goes on).

  DURATION    total time: a number of seconds, or with s, m or h (90m, 4h). Default 4h.
  TARGET      one of: ${ALL_TARGETS[*]}
  -j JOBS     processes per target (default: half the cores, at least 1)
  -b DIR      build folder (default: build-fuzz in the source tree)
  -h          this text

Results, per target, in DIR/fuzz-runs/<target>/:
  corpus/     the grown corpus (the committed seeds in fuzz/corpus/ are read, never written)
  artifacts/  crash-*, leak-*, timeout-*, oom-* inputs; replay one with
              DIR/fuzz/<target> DIR/fuzz-runs/<target>/artifacts/<file>
  log.txt     the fuzzer's output

Examples:
  fuzz/run-long.sh                       # 4 hours over all targets
  fuzz/run-long.sh -j 8 8h               # a night, 8 processes
  fuzz/run-long.sh 30m fuzz_session      # half an hour on the session handler
EOF
}

seconds_of() {
    local text="$1"
    case "$text" in
        *h) echo $(( ${text%h} * 3600 )) ;;
        *m) echo $(( ${text%m} * 60 )) ;;
        *s) echo $(( ${text%s} )) ;;
        *) echo $(( text )) ;;
    esac
}

cores=$(nproc 2>/dev/null || echo 2)
JOBS=$(( cores / 2 > 0 ? cores / 2 : 1 ))
BUILD="$ROOT/build-fuzz"
while getopts "j:b:h" option; do
    case "$option" in
        j) JOBS="$OPTARG" ;;
        b) BUILD="$(realpath -m "$OPTARG")" ;;
        h) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

DURATION=4h
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+[smh]?$ ]]; then
    DURATION="$1"
    shift
fi
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
    TARGETS=("${ALL_TARGETS[@]}")
fi
for target in "${TARGETS[@]}"; do
    if [[ ! " ${ALL_TARGETS[*]} " =~ " $target " ]]; then
        echo "Unknown target: $target" >&2
        usage >&2
        exit 2
    fi
done
if ! [[ "$JOBS" =~ ^[1-9][0-9]*$ ]]; then
    echo "JOBS must be a positive number: $JOBS" >&2
    exit 2
fi

total=$(seconds_of "$DURATION")
share=$(( total / ${#TARGETS[@]} ))
if [ "$share" -lt 1 ]; then
    echo "Duration $DURATION is too short for ${#TARGETS[@]} targets" >&2
    exit 2
fi

# Optimised, with debug information for the reports; ninja rebuilds only what changed.
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DKORVANE_BUILD_FUZZ=ON -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCH=OFF
fi
cmake --build "$BUILD" -j "$cores" --target "${TARGETS[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

echo "Fuzzing ${TARGETS[*]} for $DURATION in all: ${share}s each, $JOBS process(es) per target"
found=0
for target in "${TARGETS[@]}"; do
    runs="$BUILD/fuzz-runs/$target"
    mkdir -p "$runs/corpus" "$runs/artifacts"
    seeds="$ROOT/fuzz/corpus/${target#fuzz_}"
    echo "== $target ($(date '+%H:%M:%S'), until $(date -d "+${share} seconds" '+%H:%M:%S'))"
    status=0
    (cd "$runs" && "$BUILD/fuzz/$target" \
        -fork="$JOBS" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$share" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$runs/artifacts/" \
        "$runs/corpus" "$seeds") >"$runs/log.txt" 2>&1 || status=$?
    artefacts=$(find "$runs/artifacts" -type f | wc -l)
    echo "   corpus: $(find "$runs/corpus" -type f | wc -l) inputs, artefacts: $artefacts, exit status $status"
    found=$(( found + artefacts ))
done

if [ "$found" -gt 0 ]; then
    echo "Artefacts to look at:"
    find "$BUILD/fuzz-runs" -path '*/artifacts/*' -type f | sort
    exit 1
fi
echo "No crash, leak, hang or sanitizer report."
