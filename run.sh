#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: a local OSCAR server with a main
# bot, a secondary bot and a user; a program folder that logs the bot in by itself; and
# Korvane. Closing Korvane, Ctrl-C or SIGTERM stops the server too.
source "$(dirname "$0")/scripts/common.sh"
source "$KORVANE_ROOT/scripts/demo.sh"
cd "$KORVANE_ROOT"
korvane_install_packages

BUILD="$KORVANE_ROOT/build"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_BUILD_TESTS=OFF
cmake --build "$BUILD" -j "$(korvane_jobs)" --target korvane bindlet korvane-oscar-server korvane-peer

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
    echo "No display: Korvane runs offscreen until you press Ctrl-C."
fi

# With a program folder of your own, Korvane runs on it alone.
for arg in "$@"; do
    case "$arg" in
    --home | --home=*) exec "$BUILD/mainwindow/korvane" "$@" ;;
    esac
done

DEMO_HOME="$BUILD/demo-home"
SERVER_LOG="$BUILD/demo-server.log"
SERVER_PID=""
KORVANE_PID=""

stop_demo() {
    trap - INT TERM HUP
    # Korvane runs its exit sequence on SIGTERM.
    if [ -n "$KORVANE_PID" ] && kill -0 "$KORVANE_PID" 2>/dev/null; then
        kill -TERM "$KORVANE_PID" 2>/dev/null || true
        wait "$KORVANE_PID" 2>/dev/null || true
    fi
    if [ -n "$SERVER_PID" ] && kill -0 "$SERVER_PID" 2>/dev/null; then
        kill -TERM "$SERVER_PID" 2>/dev/null || true
        wait "$SERVER_PID" 2>/dev/null || true
    fi
}
trap stop_demo EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

read -r BOT BOT_PASSWORD <<<"$(korvane_demo_account 1)"
read -r SECONDARY _ <<<"$(korvane_demo_account 2)"
read -r USER_UIN USER_PASSWORD <<<"$(korvane_demo_account 3)"

"$BUILD/tools/korvane-oscar-server" --accounts "$KORVANE_DEMO_ACCOUNTS" >"$SERVER_LOG" 2>&1 &
SERVER_PID=$!
if ! PORT_LINE=$(korvane_demo_wait_for "$SERVER_LOG" '^login-port [0-9]+$' 10 "$SERVER_PID"); then
    echo "The local OSCAR server did not start:" >&2
    cat "$SERVER_LOG" >&2
    exit 1
fi
PORT=${PORT_LINE#login-port }

korvane_demo_prepare_home "$DEMO_HOME" "$PORT"
"$BUILD/mainwindow/korvane" --home "$DEMO_HOME" "$@" &
KORVANE_PID=$!

if korvane_demo_wait_for "$SERVER_LOG" "^online $BOT\$" 30 "$KORVANE_PID" >/dev/null; then
    echo "Korvane is online as $BOT (secondary bot $SECONDARY) on the local server 127.0.0.1:$PORT."
else
    echo "Korvane has not logged in yet; see $SERVER_LOG." >&2
fi
cat <<TALK

Talk to the bot as the user $USER_UIN from another terminal:

    "$BUILD/tools/korvane-peer" --port $PORT --uin $USER_UIN --password $USER_PASSWORD --to $BOT --text 'привет' --wait 5

The main bot hands each new user over to its secondary bot $SECONDARY, which says so;
write to it next:

    "$BUILD/tools/korvane-peer" --port $PORT --uin $USER_UIN --password $USER_PASSWORD --to $SECONDARY --text 'привет' --wait 5

The command base has "привет", "помощь", "как дела", "кто ты" and "пока". The program
folder is $DEMO_HOME, the server's log $SERVER_LOG.
Stop with Ctrl-C or by closing Korvane.
TALK

wait "$KORVANE_PID" || true
KORVANE_PID=""
