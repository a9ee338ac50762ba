#!/bin/bash
# wine-run.sh PROGRAM [ARGUMENT...] - run a Windows program of the mingw64 build under Wine.
#
# CMake uses this as the emulator of the Windows build, so ctest and test discovery come
# through here. The Wine prefix lives inside the build folder (build/mingw64/wineprefix);
# it is created on first use. A persistent wineserver with Wine's own services already
# running keeps each test program start at a fraction of a second; those services are
# started here with their output on /dev/null, because a service that inherits ctest's pipe
# keeps ctest waiting for ever.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${MORVEK_WINE_BUILD_DIR:-$here/../build/mingw64}
export WINEPREFIX=${MORVEK_WINEPREFIX:-$(cd "$build" && pwd)/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers, no desktop menu entries, and no debugger on a crash: a
# crashing test must simply fail.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"}
unset DISPLAY

ensure_prefix() {
    mkdir -p "$WINEPREFIX"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1 || true
        wineserver -w
    fi
    if [ ! -f "$WINEPREFIX/.warm" ] || ! pgrep -u "$(id -u)" -f "wineserver" >/dev/null 2>&1; then
        wineserver -p </dev/null >/dev/null 2>&1 || true
        wine wineboot </dev/null >/dev/null 2>&1 || true
        touch "$WINEPREFIX/.warm"
    fi
    flock -u 9
}

case "${1:-}" in
--stop)
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    rm -f "$WINEPREFIX/.warm"
    exit 0 ;;
--init)
    ensure_prefix
    exit 0 ;;
esac
ensure_prefix
if [ -t 1 ]; then
    exec wine "$@"
fi
# A process the program starts may outlive it holding the program's output: Wine hands a
# child the parent's standard handles. Written through files, the output reaches whoever
# reads ours as soon as the program itself ends, and a straggler keeps only a deleted file.
out=$(mktemp) err=$(mktemp)
exec 3<"$out" 4<"$err"
rm -f "$out" "$err"
rc=0
wine "$@" >"/proc/self/fd/3" 2>"/proc/self/fd/4" || rc=$?
cat <&3
cat <&4 >&2
exit $rc
