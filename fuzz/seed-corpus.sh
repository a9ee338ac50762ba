#!/bin/bash
# seed-corpus.sh - writes the real-cvs seeds of the fuzz corpora (fuzz/corpus/TARGET/cvs-*)
# from a scratch repository: logs of files with branches and tags, Entries and Entries.Log
# after add, remove and a conflict, Root and Repository, refusals of a server, listings.
# Run it again when cvs changes; it writes nothing outside the corpora and a temporary folder.
set -euo pipefail
corpus=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work CVS_RSH=false CVSREAD= CVSEDITOR=true
repo=$work/repo
seed() { mkdir -p "$corpus/$1" && cat >"$corpus/$1/cvs-$2"; }
nul() { printf '\0'; }

cvs -Q -d "$repo" init
mkdir -p "$work/import/sub" && cd "$work/import"
printf 'one\n' >a.c && printf 'two\n' >b.txt && printf '\0bin\1' >pic.bin && printf 's\n' >sub/s.c
cvs -Q -d "$repo" import -m "Start" proj vendor start
cd "$work" && cvs -Q -d "$repo" checkout proj && cd proj
printf 'one\nmore\n' >a.c && cvs -Q commit -m "Second revision" a.c
cvs -Q tag rel-1 && cvs -Q tag -b branch-1
cvs -Q update -r branch-1 && printf 'branch\n' >>a.c && cvs -Q commit -m $'On the branch\nwith two lines' a.c
cvs -Q update -A && printf 'head\r\n' >>a.c && cvs -Q commit -m "Head again" a.c
cvs -Q admin -kb pic.bin && rm pic.bin && cvs -Q update pic.bin
printf 'new\n' >new.c && cvs -Q add new.c && cvs -Q remove -f b.txt
seed entries added-removed <CVS/Entries
{ cat CVS/Entries; nul; printf 'A /late.c/0/dummy timestamp//\nR /new.c/0/dummy timestamp//\n'; nul; printf 'new.c'; } | seed entries with-log
cvs -Q commit -m "Add and remove"
printf 'mine\n' >>a.c && cvs -Q update -r 1.2 -p a.c >/dev/null
( cd "$work" && cvs -Q -d "$repo" checkout -d other proj && cd other && printf 'theirs\n' >>a.c && cvs -Q commit -m "Theirs" a.c )
cvs -Q update a.c >/dev/null 2>&1 || true
seed entries conflict <CVS/Entries
seed entries subfolder <sub/CVS/Entries
seed admin_files Root <CVS/Root
seed admin_files Repository <CVS/Repository
printf ':pserver:alice@cvs.example:2401/var/cvs\r\n' | seed admin_files Root-pserver-crlf

cvs log a.c | seed log a.c-branches-tags
{ printf '1.2'; nul; cvs log pic.bin; } | seed log pic.bin-working
cvs log -h | seed log headers-all
cvs log -r1.1 b.txt 2>&1 | seed log removed-file
cvs log -h >"$work/headers" 2>&1
cvs log -h a.c | tr -d '\n' | cut -c1-400 | seed log no-line-ends

# Through the client/server protocol, so that the refusals are a server's.
server=":fork:$repo"
{ cvs -d "$server" co nosuch 2>&1 || true; nul; cvs -d "$server" update -r nosuch a.c 2>&1 || true; } |
    { printf '\2'; cat; } | seed error_text checkout-refused
{ cvs -d "$server" -n update 2>&1 || true; nul; cvs -d "$server" commit -m x nosuch.c 2>&1 || true; } |
    { printf '\1'; cat; } | seed error_text update-seam
{ printf '\6'; cvs -d "$server" rls -e -R proj 2>&1 || true; } | seed console_lines rls
{ printf '\xfd'; cvs log a.c; printf '\x01'; head -c 60 "$work/headers"; printf '\x02\n\n'; } |
    seed console_lines mixed-streams

{ cvs --version; nul; printf '%s' "$server"; nul; cat CVS/Root; nul; printf -- '-q\0ls\0-e\0-R\0proj'; } |
    seed dialect ls-gnu
{ cvs --version; nul; nul; printf ':pserver:bob@host:/r'; nul; printf -- '-d\0:pserver:bob@host:/r\0login'; } |
    seed dialect login
{ nul; nul; head -1 CVS/Entries; nul; printf -- '-z3\0update\0-kvl\0-C\0a.c'; } | seed dialect update-other
{ cvs --version; nul; printf 'proj'; nul; nul; cvs -d "$server" rls -e -R proj 2>/dev/null; } | seed dialect rls-listing
{ cvs --version; nul; nul; nul; printf -- 'rename\0a.c\0b.c'; } | seed dialect rename

printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\software\\Morvek\\VODORO\\SETTINGS]\n"CVSEXEPATH"="%s"\n"MRUTEMPLATE"="Bug fix"\n' \
    "$(command -v cvs)" | seed regfile settings
printf '%s\n%s' "$repo/proj/a.c" "$(cat CVS/Repository)" | tr '\n' '\0' | seed paths repository-path
