#!/usr/bin/env bash
# Installs what Clinora needs from Debian's packages (only what is missing), builds it
# and then starts the program, runs the whole test suite offscreen, or makes the
# Debian package.
#
#   tools/clinora.sh run [options of the program]   release build, then start Clinora
#   tools/clinora.sh test                            release build with debug information (the
#                                                    benchmarks compiled, not run), every test, the
#                                                    package made from the same build and checked,
#                                                    then the same tests again under the sanitizers
#                                                    with the fuzz targets' short runs
#   tools/clinora.sh package                         release build, then build-release/clinora_*.deb
#   tools/clinora.sh bench [--pares N] [name ...]    release build of the benchmarks, then every
#                                                    benchmark (or those named) at 37,200 and
#                                                    372,000 rows and one table of the figures
set -euo pipefail

cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev pxlib-dev
          fonts-liberation2 qt6-translations-l10n xvfb xauth
          cmark-gfm dpkg-dev file desktop-file-utils appstream
          clang libclang-rt-14-dev lintian
          libcups2-dev cups printer-driver-cups-pdf poppler-utils)

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

release_build() {
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCLINORA_TESTS=OFF -DCLINORA_BENCH=OFF
    cmake --build build-release
}

# Every test again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer
# (light optimisation and line tables only, to keep the build short), with the fuzz
# targets of the file readers: their seeds replayed and a short run of each.
sanitizer_tests() {
    cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
          "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DCLINORA_FUZZ=ON -DCLINORA_BENCH=OFF \
          -DCMAKE_UNITY_BUILD=ON
    cmake --build build-san
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-san --output-on-failure -j2
}

# The .deb of a build folder; prints its path.
deb_of() {
    rm -f "$1"/clinora_*.deb
    (cd "$1" && cpack -G DEB >&2)
    ls "$1"/clinora_*.deb
}

mode="${1:-}"
[ $# -gt 0 ] && shift
case "$mode" in
    run)
        install_missing
        release_build
        exec build-release/src/clinora "$@"
        ;;
    test)
        install_missing
        # One gcc build serves the tests and the package: optimised as shipped, with
        # debug information for a failure's trace, warnings as errors.
        cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLINORA_WERROR=ON \
              -DCMAKE_UNITY_BUILD=ON
        cmake --build build-test
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
        tools/check_package.sh "$(deb_of build-test)"
        sanitizer_tests
        ;;
    bench)
        install_missing
        cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCLINORA_TESTS=OFF -DCLINORA_BENCH=ON >&2
        cmake --build build-bench --target bench_all >&2
        exec build-bench/bench/bench_all "$@"
        ;;
    package)
        install_missing
        release_build >&2
        deb_of build-release
        ;;
    *)
        echo "uso: $0 run|test|package" >&2
        exit 2
        ;;
esac
