#!/usr/bin/env bash
# Prepares a Debian 12 machine to build and test the suite, idempotently:
#   1. installs the Debian packages both builds need;
#   2. cross-builds libjpeg-turbo, zlib-linked libpng, libtiff and GoogleTest
#      (with --bench also Google Benchmark) as static mingw-w64 libraries into
#      the cache folder (default: .cache/deps), from Debian's own source
#      packages of the main suite.
# A stamp file per step makes a second run do nothing.
#   setup.sh           what the builds and tests need
#   setup.sh --bench   also the yardstick libraries of the benchmarks
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps=${VIZCAM_DEPS_DIR:-$root/.cache/deps}
prefix=$deps/mingw64
src=$deps/src
jobs=$(nproc)
mkdir -p "$prefix" "$src"

log() { printf '[setup] %s\n' "$*"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(
    cmake ninja-build pkg-config dpkg-dev
    g++ clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
    binutils-mingw-w64-x86-64 libz-mingw-w64-dev nasm
    wine64 fonts-wine xvfb xauth x11-utils fonts-wqy-microhei
    libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    imagemagick libtiff-tools ffmpeg ghostscript xclip
    aravis-tools
    python3-openpyxl python3-docx python3-xlrd python3-xlwt
)

# Benchmarks compare our kernels with OpenCV's; only the bench preset uses it.
if [ "${1:-}" = "--bench" ]; then
    packages+=(libopencv-dev)
fi

missing_packages() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages)
    if [ -z "$missing" ]; then
        log "Debian packages present"
        return
    fi
    log "installing: $(echo $missing | tr '\n' ' ')"
    as_root apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $missing
}

die() { printf '[setup] error: %s\n' "$*" >&2; exit 1; }

# Prints the Signed-By keyring of the sources entry FILE:N (deb822 stanza N of
# a .sources file, or line N of a one-line .list file); nothing when the entry
# names none and apt's trusted keyrings apply.
signed_by_of() {
    local file=$1 n=$2
    case "$file" in
    *.sources)
        awk -v want="$n" '
            BEGIN { stanza = 1; seen = 0 }
            /^[[:space:]]*$/ { if (seen) { stanza++; seen = 0 } next }
            /^#/ { next }
            { seen = 1 }
            stanza == want && tolower($1) == "signed-by:" { print $2; exit }
        ' "$file"
        ;;
    *)
        sed -n "${n}p" "$file" | grep -o 'signed-by=[^] ]*' | head -n 1 | cut -d= -f2
        ;;
    esac
}

# Source packages come from the main suite only: its pool keeps the exact
# orig tarballs, while the security pool may no longer serve older ones. The
# deb-src entry repeats the machine's own entry for that suite (same URI and
# keyring), so a mirror or proxy the machine uses serves the sources too.
enable_deb_src() {
    local list=/etc/apt/sources.list.d/vizcam-deb-src.sources
    if [ -f "$list" ]; then return; fi
    local codename entry uri where file n keyring
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$codename" ] || die "no VERSION_CODENAME in /etc/os-release"
    entry=$(apt-get indextargets --format '$(REPO_URI) $(SOURCESENTRY)' \
        "Release: $codename" "Component: main" "Target-Of: deb" "Identifier: Packages" | head -n 1)
    [ -n "$entry" ] || die "apt has no '$codename main' source configured; add one (deb822 or one-line) and run again"
    uri=${entry%% *}
    where=${entry#* }
    file=${where%:*}
    n=${where##*:}
    keyring=$(signed_by_of "$file" "$n")
    log "enabling deb-src for $codename main from $uri"
    {
        echo "Types: deb-src"
        echo "URIs: $uri"
        echo "Suites: $codename"
        echo "Components: main"
        if [ -n "$keyring" ]; then echo "Signed-By: $keyring"; fi
    } | as_root tee "$list" >/dev/null
    as_root apt-get update -qq
}

# Unpacks the orig tarball of a Debian source package into $src/<name>
# and prints that folder.
fetch_source() {
    local pkg=$1 dir=$src/$1
    if [ ! -d "$dir" ]; then
        local dl=$src/download-$pkg
        mkdir -p "$dl"
        (cd "$dl" && apt-get source --download-only -qq "$pkg/$(. /etc/os-release && echo "$VERSION_CODENAME")" >&2)
        local tarball
        tarball=$(ls "$dl"/*.orig.tar.* | head -n 1)
        mkdir -p "$dir.tmp"
        tar -xf "$tarball" -C "$dir.tmp" --strip-components=1
        mv "$dir.tmp" "$dir"
    fi
    echo "$dir"
}

toolchain=$root/cmake/mingw-w64-x86_64.cmake

cross_cmake() {
    local source=$1 build=$2
    shift 2
    cmake -S "$source" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_POLICY_DEFAULT_CMP0074=NEW \
        "$@" >/dev/null
    cmake --build "$build" -j "$jobs" >/dev/null
    cmake --install "$build" >/dev/null
}

step() {
    local name=$1
    shift
    local stamp=$deps/stamp-$name
    if [ -f "$stamp" ]; then return; fi
    log "building $name for mingw-w64"
    "$@"
    touch "$stamp"
}

build_libjpeg() {
    local dir
    dir=$(fetch_source libjpeg-turbo)
    cross_cmake "$dir" "$deps/build/libjpeg" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF \
        -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_SYSTEM_PROCESSOR=AMD64
}

build_libpng() {
    local dir
    dir=$(fetch_source libpng1.6)
    cross_cmake "$dir" "$deps/build/libpng" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DZLIB_ROOT=/usr/x86_64-w64-mingw32 -DZLIB_USE_STATIC_LIBS=ON
}

build_libtiff() {
    local dir
    dir=$(fetch_source tiff)
    cross_cmake "$dir" "$deps/build/libtiff" \
        -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
        -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF \
        -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF -Dpixarlog=ON \
        -DZLIB_ROOT=/usr/x86_64-w64-mingw32 \
        -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a"
}

build_gtest() {
    cross_cmake /usr/src/googletest "$deps/build/googletest" \
        -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
}

# The Windows build of the benchmarks (bench-win64 preset) runs the shipped
# machine code under Wine; only the library is built, without its own tests.
build_benchmark() {
    local dir
    dir=$(fetch_source benchmark)
    cross_cmake "$dir" "$deps/build/benchmark" \
        -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
        -DBENCHMARK_ENABLE_LTO=OFF -DBENCHMARK_ENABLE_INSTALL=ON -DBENCHMARK_INSTALL_DOCS=OFF \
        -DBENCHMARK_ENABLE_LIBPFM=OFF -DBUILD_SHARED_LIBS=OFF
}

install_packages
enable_deb_src
step libjpeg build_libjpeg
step libpng build_libpng
step libtiff build_libtiff
step googletest build_gtest
if [ "${1:-}" = "--bench" ]; then
    step benchmark build_benchmark
fi
log "ready: mingw libraries in $prefix"
