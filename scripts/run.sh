#!/bin/bash
# run.sh - install what is missing, build, and show the provider at work.
#
# Makes a CVS repository with a small module in a temporary folder, checks it out, and asks
# the provider through scchost what it sees there; then connects a new folder to the
# repository (a new, empty module is made for it), opens that project and lists the
# repository.
# Nothing outside the temporary folder is touched; it is removed at the end.
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
export HOME=$demo/home CVSROOT=$demo/repository
mkdir -p "$HOME" "$demo/import/src" "$demo/plain"
say() { printf '\n$ %s\n' "$*"; "$@"; }

cvs -Q init
printf 'hello\n' >"$demo/import/readme.txt"
printf 'int main(void) { return 0; }\n' >"$demo/import/src/main.c"
(cd "$demo/import" && cvs -Q import -m "first import" demo morvek start)
(cd "$demo" && cvs -Q checkout -d work demo)

cd "$demo"
say "$scchost" version
say "$scchost" dirstatus "$demo/work" "$demo/work/src" "$demo/plain"

# A new folder becomes a module of the repository, and the project is opened from inside it.
mkdir -p "$demo/tool/src"
printf 'a tool\n' >"$demo/tool/notes.txt"
cd "$demo/tool"
say "$scchost" --ui headless --answer "cvsroot=$CVSROOT" connect
say cat .scchost-project
cd src
say "$scchost" --ui headless open
say "$scchost" --ui headless modules "$CVSROOT"
