#!/usr/bin/env bash
# Cross-builds the Windows executable on Debian 12 with MinGW-w64 (posix threads):
# installs what it needs, builds static libpng and libjpeg-turbo from Debian's own
# source packages (once, cached in the build tree), builds Davirodir.exe (static:
# no MinGW DLLs beside it), the zip Davirodir-<version>-windows-x64.zip, and the
# test-only winmm.dll the Wine tests use. The last line printed is the exe's path.
#   tools/build-windows.sh [build-dir]      default: <repo>/build-win
# Environment: JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build-win"}
mkdir -p "$build"
build=$(cd "$build" && pwd)
jobs=${JOBS:-2}
toolchain=$root/tools/windows/mingw-w64-x86_64-posix.cmake
deps=$build/deps
prefix=$deps/prefix
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work} CCACHE_NOHASHDIR=1

source "$root/tools/lib.sh"
install_missing cmake ninja-build ccache dpkg-dev juce-modules-source g++-mingw-w64-x86-64-posix mingw-w64-tools \
    libz-mingw-w64-dev wine wine64 xvfb xauth xdotool imagemagick x11-utils

# deb-src entries for a private apt state, made from the machine's own sources
# (the same archives), so the system's apt configuration is left as it is.
derive_source_entries() { # apt-dir
    local apt=$1 list parts f
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    rm -rf "$apt"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    : >"$apt/sources.list"
    if [ -n "${list:-}" ] && [ -f "$list" ]; then
        awk '$1=="deb"{$1="deb-src"; print} $1=="deb-src"{print}' "$list" >"$apt/sources.list"
    fi
    for f in "${parts:-/nonexistent/}"*.list; do
        [ -f "$f" ] || continue
        awk '$1=="deb"{$1="deb-src"; print} $1=="deb-src"{print}' "$f" >"$apt/sources.list.d/$(basename "$f")"
    done
    for f in "${parts:-/nonexistent/}"*.sources; do
        [ -f "$f" ] || continue
        sed 's/^[Tt][Yy][Pp][Ee][Ss]:.*/Types: deb-src/' "$f" >"$apt/sources.list.d/$(basename "$f")"
    done
    if [ ! -s "$apt/sources.list" ] && [ -z "$(ls -A "$apt/sources.list.d")" ]; then
        echo "no apt sources to derive deb-src entries from" >&2
        exit 1
    fi
}

source_dir() { # glob under $deps/src: the one directory it matches
    local d
    for d in "$deps/src"/$1; do
        [ -d "$d" ] && { echo "$d"; return 0; }
    done
    return 1
}

# Debian's JUCE forces JUCE_INCLUDE_{ZLIB,PNGLIB,JPEGLIB}_CODE=0 and ships without
# those copies; Windows always compiles JUCE's PNG and JPEG loaders, and Debian
# has no MinGW libpng or libjpeg.
if [ ! -f "$prefix/.complete" ]; then
    mkdir -p "$deps/src"
    if ! source_dir 'libpng1.6/libpng1.6-*' >/dev/null || ! source_dir 'libjpeg-turbo/libjpeg-turbo-*' >/dev/null; then
        derive_source_entries "$deps/apt"
        apt_options=(-o "Dir::Etc::SourceList=$deps/apt/sources.list"
                     -o "Dir::Etc::SourceParts=$deps/apt/sources.list.d"
                     -o "Dir::State::Lists=$deps/apt/lists" -o "Dir::Cache=$deps/apt/cache")
        apt-get "${apt_options[@]}" update -qq
        for package in libpng1.6 libjpeg-turbo; do
            # Newest first; a mirror may list a version whose files it lacks.
            fetched=0
            for v in $(apt-cache "${apt_options[@]}" showsrc "$package" | sed -n 's/^Version: //p' | sort -Vru); do
                rm -rf "$deps/src/$package"
                mkdir -p "$deps/src/$package"
                if (cd "$deps/src/$package" && apt-get "${apt_options[@]}" source -qq "$package=$v"); then
                    fetched=1
                    break
                fi
                echo "$package $v could not be fetched; trying an older version" >&2
            done
            [ "$fetched" -eq 1 ] || { echo "no source of $package could be fetched" >&2; exit 1; }
        done
    fi
    png_src=$(source_dir 'libpng1.6/libpng1.6-*')
    jpeg_src=$(source_dir 'libjpeg-turbo/libjpeg-turbo-*')
    rm -rf "$prefix" "$deps/build"
    cmake -S "$png_src" -B "$deps/build/png" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
        -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
        -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a >/dev/null
    cmake --build "$deps/build/png" -j"$jobs" --target install >/dev/null
    cmake -S "$jpeg_src" -B "$deps/build/jpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -Wno-dev >/dev/null
    cmake --build "$deps/build/jpeg" -j"$jobs" --target install >/dev/null
    # JUCE's JPEG loader defines JPEG_INTERNALS and so includes jpegint.h, which
    # Debian's libjpeg62-turbo-dev installs too.
    cp "$jpeg_src/jpegint.h" "$prefix/include/"
    # The Windows jconfig.h leaves out "typedef unsigned char boolean" once
    # windows.h has declared ::boolean; JUCE includes jpeglib.h inside a namespace
    # and names jpeglibNamespace::boolean. The same type the library was built
    # with, declared always, keeps the ABI.
    sed -i 's|^#ifndef __RPCNDR_H__.*$|#if 1 /* always: JUCE names jpeglibNamespace::boolean */|' \
        "$prefix/include/jconfig.h"
    grep -q "JUCE names jpeglibNamespace::boolean" "$prefix/include/jconfig.h"
    touch "$prefix/.complete"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DDAVIRODIR_BUILD_TESTS=OFF \
    -DDAVIRODIR_WINDOWS_DEPS="$prefix" \
    -DJUCE_DIR=/usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5 >/dev/null
cmake --build "$build" -j"$jobs" --target Davirodir
exe=$build/Davirodir_artefacts/Release/Davirodir.exe

# No MinGW runtime DLL may be needed beside the exe.
if x86_64-w64-mingw32-objdump -p "$exe" | grep -iE 'DLL Name: *(lib(stdc|gcc|winpthread|png|jpeg)|zlib)'; then
    echo "the exe needs MinGW DLLs" >&2
    exit 1
fi

# The test-only winmm.dll (never shipped).
mkdir -p "$build/tests"
x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -Werror -Wno-attributes -shared -static-libgcc \
    -o "$build/tests/winmm.dll" "$root/tests/windows/TestWinmm.c"

version=$(sed -n 's/^project(Davirodir VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
package=$build/package
rm -rf "$package"
mkdir -p "$package"
x86_64-w64-mingw32-strip -o "$package/Davirodir.exe" "$exe"
cp "$root/README.md" "$root/LICENSE" "$package/"
zip=$build/Davirodir-$version-windows-x64.zip
rm -f "$zip"
(cd "$package" && cmake -E tar cf "$zip" --format=zip Davirodir.exe README.md LICENSE)
echo "$zip"
echo "$exe"
