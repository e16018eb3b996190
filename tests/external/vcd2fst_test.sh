#!/usr/bin/env bash
# GTKWave's converter reads both kinds of VCD file qiro-cli writes. Skipped (77) without it.
set -euo pipefail
cli=$1
root=$2
command -v vcd2fst >/dev/null || { echo "vcd2fst not installed"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$root"
"$cli" simulate examples/counter.sch --until 2000 --vcd "$tmp/traces.vcd" --vcd-nodes "$tmp/nodes.vcd" >/dev/null
for f in traces nodes; do
  vcd2fst "$tmp/$f.vcd" "$tmp/$f.fst" >"$tmp/$f.log" 2>&1 || { cat "$tmp/$f.log"; exit 1; }
  [ -s "$tmp/$f.fst" ] || { echo "vcd2fst wrote nothing for $f.vcd"; exit 1; }
done
echo "vcd2fst test: ok"
