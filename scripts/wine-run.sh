#!/bin/bash
# wine-run.sh PROGRAM [ARGUMENT...] - run a Windows program of the mingw64 build under Wine.
#
# CMake uses this as the emulator of the Windows build, so ctest and test discovery come
# through here. The Wine prefix lives inside the build folder (build/mingw64/wineprefix);
# it is created on first use. A persistent wineserver with Wine's own services already
# running keeps each test program start at a fraction of a second; those services are
# started here with their output on /dev/null, because a service that inherits ctest's pipe
# keeps ctest waiting for ever.
#
# Windows need an X display: --init starts an Xvfb on a free display (when Xvfb is
# installed and MORVEK_TEST_DISPLAY does not name one already) and --stop stops it by its
# pid. Only the programs named gui_* get it as DISPLAY; every other program runs without a
# display, as a CI machine without one would run it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${MORVEK_WINE_BUILD_DIR:-$here/../build/mingw64}
export WINEPREFIX=${MORVEK_WINEPREFIX:-$(cd "$build" && pwd)/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers, no desktop menu entries, and no debugger on a crash: a
# crashing test must simply fail.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"}
unset DISPLAY
xvfb_pid=$WINEPREFIX.xvfb.pid
xvfb_display=$WINEPREFIX.xvfb.display

start_xvfb() {
    [ -n "${MORVEK_TEST_DISPLAY:-}" ] && return 0
    command -v Xvfb >/dev/null || return 0
    if [ -f "$xvfb_pid" ] && kill -0 "$(cat "$xvfb_pid")" 2>/dev/null; then
        return 0
    fi
    local fifo number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
    echo $! >"$xvfb_pid"
    read -r -t 10 number <"$fifo" || number=
    rm -f "$fifo"
    if [ -n "$number" ]; then
        echo ":$number" >"$xvfb_display"
    else
        kill "$(cat "$xvfb_pid")" 2>/dev/null || true
        rm -f "$xvfb_pid" "$xvfb_display"
    fi
}

stop_xvfb() {
    if [ -f "$xvfb_pid" ]; then
        kill "$(cat "$xvfb_pid")" 2>/dev/null || true
        rm -f "$xvfb_pid" "$xvfb_display"
    fi
}

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
    # Without a window manager Wine waits for one at every window unless its windows are
    # unmanaged.
    if [ ! -f "$WINEPREFIX/.unmanaged" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            </dev/null >/dev/null 2>&1 && touch "$WINEPREFIX/.unmanaged"
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
    stop_xvfb
    exit 0 ;;
--init)
    ensure_prefix
    start_xvfb
    exit 0 ;;
esac
ensure_prefix
case "$(basename "${1:-}")" in
gui_*)
    display=${MORVEK_TEST_DISPLAY:-$(cat "$xvfb_display" 2>/dev/null || true)}
    if [ -n "$display" ]; then
        export DISPLAY=$display
        # A desktop of its own: the shared one may have been started by a program without
        # a display, and then no window of any program on it can be made.
        program=$(basename "$1")
        program=${program%.exe}.exe
        if [ ! -f "$WINEPREFIX/.desktop-$program" ]; then
            wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\Explorer" /v Desktop \
                /t REG_SZ /d gui /f </dev/null >/dev/null 2>&1 &&
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v gui /t REG_SZ /d 1280x1024 /f \
                </dev/null >/dev/null 2>&1 &&
            touch "$WINEPREFIX/.desktop-$program"
        fi
    fi ;;
esac
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
