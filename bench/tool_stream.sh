#!/usr/bin/env bash
# Instructions per value of `isofmt format E8601DT19 -` over a stream, against
# the rendering alone: callgrind over the tool with 100k seeded values on
# standard input (half whole seconds, half with 3 decimals, 1900-2100 as
# seconds from 1960, a third negative), minus the same run with none. The
# rendering is the inclusive cost of f8601dt (with the host services it
# calls) in the same profile. Usage: bench/tool_stream.sh [BIN_DIR]
set -euo pipefail
bin=${1:-build/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/values" <<'PY'
import random, sys
r = random.Random(7)
lo, hi = -60 * 365.2425 * 86400, 140 * 365.2425 * 86400
with open(sys.argv[1], "w") as f:
    for i in range(100000):
        v = r.uniform(lo, hi)
        v = -abs(v) if r.random() < 1 / 3 else abs(v)
        f.write("%d\n" % int(v) if i % 2 == 0 else "%.3f\n" % v)
PY
: >"$work/none"
total() { callgrind_annotate "$1" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'; }
for run in none values; do
  valgrind --tool=callgrind --callgrind-out-file="$work/cg.$run" "$bin/isofmt" format E8601DT19 - \
    <"$work/$run" >/dev/null 2>&1
done
none=$(total "$work/cg.none")
values=$(total "$work/cg.values")
rendering=$(callgrind_annotate --inclusive=yes "$work/cg.values" | awk '/:f8601dt / && !found { found = 1; gsub(",", "", $1); print $1 }')
per_value=$(( (values - none) / 100000 ))
/usr/bin/python3 -c "import sys; p, r = int(sys.argv[1]), int(sys.argv[2]) / 100000; print('per value %d, rendering %.0f, ratio %.2f' % (p, r, p / r))" "$per_value" "$rendering"
