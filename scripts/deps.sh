#!/usr/bin/env bash
# Installs the Debian packages Orvane needs to build, run and test.
# Safe to run again: apt only installs what is missing.
set -euo pipefail
PKGS=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-tools
  timgm6mb-soundfont
  # tests only: makes the media GStreamer cannot write (RealMedia, a sound ASF)
  ffmpeg
  # tests only: another tagging tool that changes a file while the editor has it open
  id3v2
  # tests only: a private sound server that the media tests start and stop
  pulseaudio pulseaudio-utils gstreamer1.0-pulseaudio
  # tests only: checks the installed desktop entry
  desktop-file-utils
  # tests only: a file system of the tests' own whose reads hang, as a stalled share's do
  fuse3 libfuse3-dev
  xvfb xauth x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei
  # benchmarks only: the scripts that play a song choose it through the window, as a user does
  xdotool
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  # sudo resets the environment, so DEBIAN_FRONTEND goes through env.
  AS_ROOT=()
  if [ "$(id -u)" != 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "deps.sh: missing packages: ${missing[*]}" >&2
      echo "deps.sh: run as root or install sudo" >&2
      exit 1
    fi
    AS_ROOT=(sudo)
  fi
  "${AS_ROOT[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${AS_ROOT[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
