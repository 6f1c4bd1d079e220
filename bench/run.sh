#!/bin/sh
# Times midibas against its floor on the two worst-case inputs, with
# standard output to a file and to a pipe, and counts the heap allocations
# of a converting run. Run by `make bench` after it has built the tools.
#   bench/run.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${2:-21}
cd "$build/bench"
echo "midibas against the floor, median of $runs alternating runs each"
echo
echo "| input              | stdout | midibas      | floor        | ratio |"
echo "|--------------------|--------|--------------|--------------|-------|"
status=0
./timeit "$runs" . search.mid "$build/midibas" ./floor-search || status=$?
./timeit "$runs" . convert.mid "$build/midibas" ./floor-convert || status=$?
rm -f stdout.txt tvcsound.txt
echo
echo "heap allocations (valgrind):"
[ "$status" -eq 0 ] || echo "a ratio is above 1.10"
sh "$here/tests/heap.sh" "$build/midibas" "$build/bench/bench-empty" "$build/mktune" || status=$?
exit "$status"
