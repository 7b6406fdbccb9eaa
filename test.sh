#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test headless through CTest.
source "$(dirname "$0")/scripts/common.sh"
cd "$KORVANE_ROOT"
korvane_install_packages

# How long each step took, for the CI log.
step_start=$SECONDS
step_done() {
    echo "test.sh: $1 took $((SECONDS - step_start)) s (total $SECONDS s)"
    step_start=$SECONDS
}

BUILD="$KORVANE_ROOT/build-test"
cmake -S . -B "$BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DKORVANE_SANITIZE=ON -DKORVANE_BUILD_TESTS=ON -DKORVANE_BUILD_FUZZ=ON -DKORVANE_BUILD_BENCH=ON
cmake --build "$BUILD" -j "$(korvane_jobs)"
step_done "the clang build"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$KORVANE_ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$BUILD" --output-on-failure -j "$(korvane_jobs)"
step_done "the clang tests"

# The same tests built with the default compiler (g++), without sanitizers: the code
# must build and pass with both compilers.
GCC_BUILD="$KORVANE_ROOT/build-test-gcc"
cmake -S . -B "$GCC_BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
    -DKORVANE_BUILD_TESTS=ON -DKORVANE_BUILD_FUZZ=OFF -DKORVANE_BUILD_BENCH=OFF
cmake --build "$GCC_BUILD" -j "$(korvane_jobs)"
step_done "the g++ build"
ctest --test-dir "$GCC_BUILD" --output-on-failure -j "$(korvane_jobs)"
step_done "the g++ tests"
