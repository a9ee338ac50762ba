#!/bin/bash
# run.sh - install what is missing, build, and show the provider at work.
#
# Makes a CVS repository in a temporary folder and takes a project through a whole round
# trip with scchost, which drives the provider exactly as an IDE does: connect a new folder
# (a new, empty module is made for it), add files, check them in, check one out, edit it, look at the
# statuses, check it in, undo a check-out, rename a file and remove one. What the provider
# prints for the IDE's output pane and every status are shown as they come. Nothing outside
# the temporary folder is touched; it is removed at the end.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/install-deps.sh

mkdir -p build
if ! { cmake --preset default && cmake --build --preset default -j"$(nproc)" --target scchost MorvekCVS; } \
        >build/run-build.log 2>&1; then
    cat build/run-build.log >&2
    exit 1
fi
scchost=$PWD/build/default/bin/scchost

demo=$(mktemp -d "${TMPDIR:-/tmp}/morvek-demo.XXXXXX")
trap 'rm -rf "$demo"' EXIT
# The provider's settings and trace go into the demo's own home.
export HOME=$demo/home XDG_CONFIG_HOME=$demo/home/.config XDG_DATA_HOME=$demo/home/.local/share
export CVSROOT=$demo/repository
mkdir -p "$HOME"
say() {
    local line
    line=$(printf ' %q' "$@")
    printf '\n$%s\n' "${line//$demo/\$demo}"
    "$@"
}
host() { say scchost --ui headless "$@"; }
scchost() { "$scchost" "$@"; }

cvs -Q init

# A new folder is bound to a new, empty module of the repository.
mkdir -p "$demo/tool/src"
printf 'a tool\n' >"$demo/tool/notes.txt"
cd "$demo/tool"
host --answer "cvsroot=$CVSROOT" connect
say cat .scchost-project

# New files go in, with a comment for the check-in dialog: an add (committed at once, as the
# provider's AUTOCOMMIT setting says), and a check-in of a file CVS does not know yet.
printf 'int main(void) { return 0; }\n' >src/main.c
printf 'all:\n\tcc -o tool src/main.c\n' >Makefile
host status -R
host add -m "the first sources" Makefile src
host checkin -m "notes too" notes.txt
host status -R

# Check out, edit, look, check in.
host checkout notes.txt
printf 'a tool\nthat builds\n' >notes.txt
host status notes.txt
host checkin -m "say what it does" notes.txt
host status notes.txt

# A check-out undone: the edit goes, and cvs keeps it beside the file.
host checkout src/main.c
printf 'broken\n' >src/main.c
host status src
host uncheckout src/main.c
say cat src/main.c
host status src

# Rename and remove.
host rename Makefile GNUmakefile
host remove -m "no notes" notes.txt
host status -R

# What the repository holds now, seen from another working copy.
cd "$demo"
say cvs -Q checkout -d check tool
say ls -A check check/src
