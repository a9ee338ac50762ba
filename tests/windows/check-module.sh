#!/bin/bash
# check-module.sh OBJDUMP MODULE EXPORTS-FILE
#
# The Windows module exports exactly the names in EXPORTS-FILE (one per line, undecorated)
# and imports only Windows system DLLs, so that it loads on a machine with nothing else
# installed; and it carries a version resource (type 16), which installers and the file
# manager read.
set -eu
objdump=$1 module=$2 expected=$3
dump=$("$objdump" -p "$module")

actual=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
         sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
wanted=$(grep -v '^#' "$expected" | sed '/^$/d' | sort)
if [ "$actual" != "$wanted" ]; then
    echo "exports of $module differ from $expected:" >&2
    diff <(echo "$wanted") <(echo "$actual") >&2 || true
    exit 1
fi

system='^(KERNEL32|msvcrt|USER32|ADVAPI32|SHLWAPI|SHELL32|VERSION|GDI32|COMCTL32|comdlg32|ole32|OLEAUT32|WS2_32|PSAPI|bcrypt|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | while read -r dll; do
    if ! printf '%s\n' "$dll" | grep -Eiq "$system"; then
        echo "$module depends on $dll, which is not a Windows system DLL" >&2
        exit 1
    fi
done
# The type entries are the first level of the resource directory (three spaces in).
if ! printf '%s\n' "$dump" | sed -n '/The .rsrc Resource Directory section/,$p' |
     grep -Eq '^[0-9a-f]+   Entry: ID: 0x000010,'; then
    echo "$module has no version resource" >&2
    exit 1
fi
echo "$module: $(echo "$actual" | wc -l) exports as expected, system DLLs only, a version resource"
