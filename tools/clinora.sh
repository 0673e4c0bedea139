#!/usr/bin/env bash
# Installs what Clinora needs from Debian's packages (only what is missing), builds it
# and then either starts the program or runs the whole test suite offscreen.
#
#   tools/clinora.sh run [options of the program]   release build, then start Clinora
#   tools/clinora.sh test                            debug build, then every test
set -euo pipefail

cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev pxlib-dev
          fonts-liberation2 qt6-translations-l10n xvfb xauth)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Instalando: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

mode="${1:-}"
[ $# -gt 0 ] && shift
case "$mode" in
    run)
        install_missing
        cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
              -DCLINORA_TESTS=OFF -DCLINORA_BENCH=OFF
        cmake --build build-release
        exec build-release/src/clinora "$@"
        ;;
    test)
        install_missing
        cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCLINORA_WERROR=ON
        cmake --build build-test
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
        ;;
    *)
        echo "uso: $0 run|test" >&2
        exit 2
        ;;
esac
