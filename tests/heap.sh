#!/bin/sh
# Proves that midibas makes no heap allocation of its own: under valgrind it
# allocates exactly what an empty C++ program built the same way allocates
# (the language runtime's own start-up), on a converting run and on a
# search through a whole 60001-byte buffer.
#   heap.sh MIDIBAS EMPTY_PROGRAM MKTUNE
set -eu
command -v valgrind >/dev/null || { echo "skipped: valgrind is not installed"; exit 77; }
midibas=$1 empty=$2 mktune=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

allocs() {
  valgrind --tool=memcheck --log-file=vg.log "$@" </dev/null >/dev/null 2>&1 || true
  sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' vg.log | tr -d ,
}

base=$(allocs "$empty")
[ -n "$base" ] || { echo "no valgrind summary for the empty program"; cat vg.log; exit 1; }
"$mktune" bench-convert convert.mid
"$mktune" bench-search search.mid
for input in convert.mid search.mid; do
  n=$(allocs "$midibas" "$input")
  echo "$input: midibas $n allocations, empty program $base"
  [ "$n" = "$base" ] || { echo "FAIL: midibas allocates on the heap"; exit 1; }
  grep -q "ERROR SUMMARY: 0 errors" vg.log || { echo "FAIL: memcheck errors"; cat vg.log; exit 1; }
done
[ -s tvcsound.txt ] || { echo "FAIL: the converting run wrote no listing"; exit 1; }
echo "no heap allocation of the program's own"
