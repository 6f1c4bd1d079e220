#!/bin/sh
# Times midibas against its floor on the two worst-case inputs, with
# standard output to a file and to a pipe, and counts the heap allocations
# of a converting run. Run by `make bench` after it has built the tools.
#   bench/run.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "$1" && pwd)
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
if command -v valgrind >/dev/null; then
  count() {
    valgrind --log-file=vg.log "$@" </dev/null >/dev/null 2>&1 || true
    sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' vg.log | tr -d ,
  }
  echo "heap allocations (valgrind): midibas on convert.mid $(count "$build/midibas" convert.mid)," \
       "an empty C++ program $(count ./bench-empty)"
  rm -f vg.log tvcsound.txt
else
  echo "heap allocations: valgrind is not installed"
fi
[ "$status" -eq 0 ] || echo "a ratio is above 1.10"
exit "$status"
