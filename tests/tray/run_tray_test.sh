#!/usr/bin/env bash
# Runs the tray test on a private X display with a tray host; skips where neither exists.
set -u
test_binary="$1"
# The X keyboard library hands strndup() buffers without a terminating zero, which the
# strict string checks take for an overflow; those checks stay on everywhere else.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
fi
if ! command -v xvfb-run >/dev/null || ! command -v trayer >/dev/null; then
    exec "$test_binary"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    trayer --edge top --align right --widthtype pixel --width 64 --heighttype pixel --height 24 &
    host=$!
    KORVANE_TRAY_HOST=1 QT_QPA_PLATFORM=xcb "$0"
    status=$?
    kill "$host" 2>/dev/null
    wait "$host" 2>/dev/null
    exit $status
' "$test_binary"
