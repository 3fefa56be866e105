#!/usr/bin/env bash
# End-to-end speed of vandra-cli as a user sees it: whole processes on a generated grid model
# (bench/make_grid.py: ~52,000 joints, 150,000 frames, 150,000 load lines, ~16 MB).
# Prints, for `info` and `tcl`, the median of RUNS runs (default 5) of wall-clock time and of CPU
# time (user + system), and the throughput: file MB/s for info, script MB/s for tcl. On a machine
# shared with other work the wall time says little: --instructions adds each command's instruction
# count under callgrind, the figure to compare two versions by.
# Usage: bench/end_to_end.sh [--runs N] [--instructions] [path/to/vandra-cli]
#        (default build/vandra-cli)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
runs=5
instructions=0
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    --instructions) instructions=1; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
cli="${1:-$here/../build/vandra-cli}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

model="$work/grid.s2k"
python3 "$here/make_grid.py" "$model"
model_bytes=$(stat -c %s "$model")
"$cli" tcl "$model" -o "$work/grid.tcl"
script_bytes=$(stat -c %s "$work/grid.tcl")

# Median of RUNS runs of a command: "wall cpu" in seconds, to the millisecond.
measure() {
    local walls=() cpus=() wall user sys
    for ((r = 0; r < runs; ++r)); do
        { TIMEFORMAT='%3R %3U %3S'; time "$@" >/dev/null 2>/dev/null; } 2>"$work/time"
        read -r wall user sys <"$work/time"
        walls+=("$wall")
        cpus+=("$(echo "$user + $sys" | bc -l)")
    done
    local middle=$(((runs + 1) / 2))
    echo "$(printf '%s\n' "${walls[@]}" | sort -g | sed -n "${middle}p")" \
        "$(printf '%s\n' "${cpus[@]}" | sort -g | sed -n "${middle}p")"
}

# Instructions of one run under callgrind, in millions.
count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        awk '/Collected :/ { printf "%.0f", $NF / 1e6 }'
}

report() {
    local name=$1 bytes=$2 wall=$3 cpu=$4 extra=""
    shift 4
    [[ $instructions == 1 ]] && extra="   $(count "$@") M instructions"
    awk -v n="$name" -v b="$bytes" -v w="$wall" -v c="$cpu" -v x="$extra" 'BEGIN {
        mb = b / 1e6;
        printf "%-5s %6.1f MB  wall %.3f s = %6.1f MB/s   cpu %.3f s = %6.1f MB/s%s\n",
               n, mb, w, (w > 0 ? mb / w : 0), c, (c > 0 ? mb / c : 0), x }'
}

read -r wall cpu <<<"$(measure "$cli" info "$model")"
report info "$model_bytes" "$wall" "$cpu" "$cli" info "$model"
read -r wall cpu <<<"$(measure "$cli" tcl "$model")"
report tcl "$script_bytes" "$wall" "$cpu" "$cli" tcl "$model"
echo "(median of $runs; info counts the model file, tcl the script written; load average:" \
    "$(cut -d' ' -f1-3 /proc/loadavg))"
