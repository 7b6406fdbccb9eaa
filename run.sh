#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvane.
source "$(dirname "$0")/scripts/common.sh"
cd "$KORVANE_ROOT"
korvane_install_packages

BUILD="$KORVANE_ROOT/build"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_BUILD_TESTS=OFF
cmake --build "$BUILD" -j "$(korvane_jobs)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
    echo "No display: Korvane runs offscreen."
fi
exec "$BUILD/mainwindow/korvane" "$@"
