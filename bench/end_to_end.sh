#!/usr/bin/env bash
# End-to-end speed of vandra-cli as a user sees it: whole processes on a generated grid model
# (bench/make_grid.py: ~52,000 joints, 150,000 frames, 150,000 load lines, ~16 MB).
# Prints, for `info` and `tcl`, the median of 5 runs of wall-clock time and of CPU time (user +
# system), and the throughput: file MB/s for info, script MB/s for tcl.
# Usage: bench/end_to_end.sh [path/to/vandra-cli]   (default build/vandra-cli)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build/vandra-cli}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

model="$work/grid.s2k"
python3 "$here/make_grid.py" "$model"
model_bytes=$(stat -c %s "$model")
"$cli" tcl "$model" -o "$work/grid.tcl"
script_bytes=$(stat -c %s "$work/grid.tcl")

# Median of 5 runs of a command: "wall cpu" in seconds.
measure() {
    local walls=() cpus=()
    for _ in 1 2 3 4 5; do
        /usr/bin/time -o "$work/time" -f "%e %U %S" "$@" >/dev/null 2>/dev/null
        read -r wall user sys <"$work/time"
        walls+=("$wall")
        cpus+=("$(echo "$user + $sys" | bc -l)")
    done
    local wall_median cpu_median
    wall_median=$(printf '%s\n' "${walls[@]}" | sort -g | sed -n 3p)
    cpu_median=$(printf '%s\n' "${cpus[@]}" | sort -g | sed -n 3p)
    echo "$wall_median $cpu_median"
}

report() {
    local name=$1 bytes=$2 wall=$3 cpu=$4
    awk -v n="$name" -v b="$bytes" -v w="$wall" -v c="$cpu" 'BEGIN {
        mb = b / 1e6;
        printf "%-5s %6.1f MB  wall %.3f s = %6.1f MB/s   cpu %.3f s = %6.1f MB/s\n",
               n, mb, w, (w > 0 ? mb / w : 0), c, (c > 0 ? mb / c : 0) }'
}

read -r wall cpu <<<"$(measure "$cli" info "$model")"
report info "$model_bytes" "$wall" "$cpu"
read -r wall cpu <<<"$(measure "$cli" tcl "$model")"
report tcl "$script_bytes" "$wall" "$cpu"
echo "(median of 5; info counts the model file, tcl the script written; load average: $(cut -d' ' -f1-3 /proc/loadavg))"
