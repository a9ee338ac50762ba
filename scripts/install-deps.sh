#!/bin/bash
# install-deps.sh - install what building and testing need on Debian 12, only what is missing.
#
# Quiet and idempotent: a machine that has everything is left alone and nothing is printed.
set -euo pipefail

packages=(
    cmake make g++ googletest libbenchmark-dev # the Linux build and its tests
    cvs perl procps util-linux bsdutils       # the real cvs, the pserver fixture, pty tests
    g++-mingw-w64-x86-64 mingw-w64-tools      # the Windows build
    wine wine64 xvfb                          # running the Windows tests, their windows
    clang libclang-rt-14-dev                  # the fuzz targets (libFuzzer, sanitizers)
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" != 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq >/dev/null
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
