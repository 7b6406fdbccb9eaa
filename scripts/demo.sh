# The demo that run.sh starts: a program folder made from demo/home, logging in by
# itself to the local OSCAR server. Sourced after common.sh.

KORVANE_DEMO_ACCOUNTS="$KORVANE_ROOT/demo/accounts.txt"
KORVANE_DEMO_TEMPLATE="$KORVANE_ROOT/demo/home"

# The accounts' roles, in the order demo/accounts.txt lists them.
korvane_demo_account() { # line (1 main bot, 2 secondary bot, 3 user) -> "number password"
    grep -v '^\s*#' "$KORVANE_DEMO_ACCOUNTS" | grep -v '^\s*$' | sed -n "${1}p"
}

# The stored number as the auto-login page keeps it: (N * 23 / 3 + 10) / 50.
korvane_scramble_number() {
    awk -v n="$1" 'BEGIN { printf "%.15g", (n * 23 / 3 + 10) / 50 }'
}

# Four digits per character: its code plus 1 at odd places, plus 2 at even ones (ASCII passwords).
korvane_scramble_password() {
    local password="$1" i code out=""
    for ((i = 0; i < ${#password}; i++)); do
        printf -v code '%d' "'${password:i:1}"
        printf -v code '%04d' $((code + (i % 2 == 0 ? 1 : 2)))
        out+="$code"
    done
    printf '%s' "$out"
}

# A UTF-8 text as the program's files are: Windows-1251 with CR LF.
korvane_to_1251() { # source destination
    iconv -f UTF-8 -t CP1251 "$1" | sed 's/\r$//; s/$/\r/' >"$2"
}

# Writes stdin to a program file, owner-only when it holds a password.
korvane_demo_file() { # path [private]
    local tmp
    tmp=$(mktemp)
    cat >"$tmp"
    mkdir -p "$(dirname "$1")"
    korvane_to_1251 "$tmp" "$1"
    rm -f "$tmp"
    if [ "${2:-}" = private ]; then chmod 600 "$1"; fi
}

# Recreates the demo program folder for a server listening on 127.0.0.1:port.
korvane_demo_prepare_home() { # home port
    local home="$1" port="$2" bot secondary src
    bot=($(korvane_demo_account 1))
    secondary=($(korvane_demo_account 2))
    # A Korvane still running on the demo folder holds its lock file (first line: its pid).
    local holder=""
    if [ -f "$home/Korvane.lock" ]; then
        holder=$(head -n 1 "$home/Korvane.lock" 2>/dev/null | tr -dc '0-9')
    fi
    if [ -n "$holder" ] && kill -0 "$holder" 2>/dev/null; then
        echo "The demo folder $home is in use by a running Korvane (process $holder); stop it first." >&2
        return 1
    fi
    rm -rf "$home"
    mkdir -p "$home"
    (cd "$KORVANE_DEMO_TEMPLATE" && find . -type f) | while read -r src; do
        mkdir -p "$home/$(dirname "$src")"
        korvane_to_1251 "$KORVANE_DEMO_TEMPLATE/$src" "$home/$src"
    done
    cp "$KORVANE_ROOT/data/погода.txt" "$home/погода.txt"
    cp "$KORVANE_ROOT/data/Помощь.txt" "$home/Помощь.txt"
    mkdir -p "$home/Sounds"
    cp "$KORVANE_ROOT/sounds/sndMsg.wav" "$KORVANE_ROOT/sounds/sndStartup.wav" "$home/Sounds/"
    korvane_demo_file "$home/Настройки/Общие.txt" private <<SETTINGS
Server=127.0.0.1
Port=$port
AutoEnter=1
AutoICQNumber=$(korvane_scramble_number "${bot[0]}")
AutoPassword=$(korvane_scramble_password "${bot[1]}")
PlaySounds=1
SaveStatus=0
SaveRejim=1
SETTINGS
    korvane_demo_file "$home/Настройки/Распределение.txt" private <<LIST
2 ${secondary[0]} ${secondary[1]} 0
LIST
}

# Waits up to the given seconds for a line of the file matching the pattern and prints it.
korvane_demo_wait_for() { # file pattern seconds [pid that must stay alive]
    local file="$1" pattern="$2" tries=$(($3 * 10)) line
    while [ "$tries" -gt 0 ]; do
        if line=$(grep -m1 -E "$pattern" "$file" 2>/dev/null); then
            printf '%s\n' "$line"
            return 0
        fi
        if [ -n "${4:-}" ] && ! kill -0 "$4" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}
