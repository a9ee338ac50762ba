#!/bin/bash
# settings-linux-to-windows.sh SOURCE_DIR WINDOWS_BIN_DIR
#
# The Linux build saves a set of settings into a REGEDIT4 file of its own; Wine's regedit
# imports that file into the Windows build's Wine prefix; the Windows build then loads the
# settings from the registry. Both builds print what they loaded, and the two must agree.
# Exits 77 (skipped) when there is no Linux build of the settings tool to run.
set -euo pipefail
src=$1
winbin=$2

linux_tool=
for preset in default asan; do
    if [ -x "$src/build/$preset/bin/morvek_settings_tool" ]; then
        linux_tool=$src/build/$preset/bin/morvek_settings_tool
        break
    fi
done
if [ -z "$linux_tool" ]; then
    echo "skipped: no Linux build of morvek_settings_tool (build/default or build/asan)"
    exit 77
fi

work=$(mktemp -d)
wine_run=$src/scripts/wine-run.sh
cleanup() {
    "$wine_run" reg delete 'HKCU\software\Morvek' /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# The Linux side, with a user of its own.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config MORVEK_MACHINE_REGISTRY=$work/machine.reg
mkdir -p "$HOME"
"$linux_tool" fill
"$linux_tool" dump >"$work/linux.txt"
reg=$XDG_CONFIG_HOME/Morvek/user.reg
if [ "$(head -n 1 "$reg")" != REGEDIT4 ]; then
    echo "not a REGEDIT4 file: $reg" >&2
    exit 1
fi

# The Windows side: a clean key, the import, and a load.
"$wine_run" reg delete 'HKCU\software\Morvek' /f >/dev/null 2>&1 || true
(cd "$(dirname "$reg")" && "$wine_run" regedit /s user.reg)
"$wine_run" "$winbin/morvek_settings_tool.exe" dump | tr -d '\r' >"$work/windows.txt"

if ! diff -u "$work/linux.txt" "$work/windows.txt"; then
    echo "the Windows build loaded other values than the Linux build saved" >&2
    echo "--- the file imported:" >&2
    cat "$reg" >&2
    exit 1
fi
echo "$(wc -l <"$work/linux.txt") values and list entries agree"
