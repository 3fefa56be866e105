#!/usr/bin/env bash
# Installs the Debian packages that building and testing VANDRA needs, when they are missing.
set -euo pipefail
packages=(cmake make g++ ninja-build pkg-config qt6-base-dev libgl-dev
          libgtest-dev libbenchmark-dev tcl fonts-dejavu-core nlohmann-json3-dev
          # pictures and movies: Qt SVG, the FFmpeg libraries (H.264 through libx264, GIF), and
          # ffprobe/ffmpeg with which the tests decode the movies again
          qt6-svg-dev libavcodec-dev libavformat-dev libswscale-dev libavutil-dev ffmpeg
          # what the OpenSees solver needs to run (the solver tests use it when it is found)
          libtcl8.6 liblapack3 libblas3 libgfortran5 zlib1g
          # what bench/end_to_end.sh runs (valgrind for its instruction counts)
          python3 bc valgrind
          # suites on a cluster: the Slurm test starts a one-node cluster of its own
          slurm-wlm munge)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y -q "${missing[@]}"; then
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q "${missing[@]}"
fi
