# Shared by run.sh and test.sh: installs the missing Debian packages listed in packages.txt.
set -euo pipefail

KORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

korvane_install_packages() {
    local wanted missing=() pkg
    wanted=$(grep -v '^\s*#' "$KORVANE_ROOT/packages.txt" | grep -v '^\s*$')
    for pkg in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

korvane_jobs() {
    nproc 2>/dev/null || echo 2
}
