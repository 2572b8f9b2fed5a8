#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine lacks to build and test Quillane.
# Safe to run again: finished steps are skipped.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
juce_dir="$root/third_party/juce"

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi

packages=(
  build-essential cmake ninja-build pkg-config git
  libasound2-dev libcurl4-openssl-dev libfreetype-dev libfontconfig1-dev
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev
  libpng-dev libjpeg-dev zlib1g-dev libflac-dev libvorbis-dev libogg-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth sox libsndfile1 sndfile-programs ffmpeg lame
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# JUCE 8: Debian 12 ships only JUCE 7, so the module sources and CMake scripts
# come from the trixie suite. A private apt state keeps the machine's own apt
# configuration untouched; the packages are unpacked, never installed.
if [ ! -f "$juce_dir/.complete" ]; then
  echo "setup: fetching JUCE 8 sources from Debian trixie"
  state="$(mktemp -d)"
  trap 'rm -rf "$state"' EXIT
  mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/etc" "$state/debs"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-trixie-stable.gpg,/usr/share/keyrings/debian-archive-trixie-automatic.gpg] http://deb.debian.org/debian trixie main" > "$state/etc/sources.list"
  apt_opts=(
    -o Dir::State="$state" -o Dir::State::Lists="$state/lists"
    -o Dir::State::status=/dev/null
    -o Dir::Cache="$state/cache"
    -o Dir::Etc::SourceList="$state/etc/sources.list"
    -o Dir::Etc::SourceParts=/dev/null
    -o Dir::Etc::Preferences=/dev/null -o Dir::Etc::PreferencesParts=/dev/null
    -o APT::Get::List-Cleanup=0
    -o Debug::NoLocking=1
    -o APT::Sandbox::User=root  # the private state folder is not readable by _apt
  )
  apt-get "${apt_opts[@]}" update -qq
  (cd "$state/debs" && apt-get "${apt_opts[@]}" download juce-modules-source-data juce-modules-source)
  rm -rf "$juce_dir"
  mkdir -p "$juce_dir"
  for deb in "$state/debs"/*.deb; do dpkg-deb -x "$deb" "$juce_dir"; done
  touch "$juce_dir/.complete"
fi

# The build reads the modules and CMake scripts from these places.
modules="$juce_dir/usr/share/juce/modules"
cmake_dir="$(dirname "$(find "$juce_dir" -name JUCEUtils.cmake | head -n 1)")"
version_file="$modules/juce_core/system/juce_StandardHeader.h"
if [ ! -f "$version_file" ] || [ ! -f "$cmake_dir/JUCEModuleSupport.cmake" ]; then
  echo "setup: JUCE sources are incomplete under $juce_dir; delete it and run again" >&2
  exit 1
fi
major="$(sed -n 's/^#define JUCE_MAJOR_VERSION[[:space:]]*\([0-9]*\).*/\1/p' "$version_file")"
if [ "$major" != "8" ]; then
  echo "setup: expected JUCE 8.x but found major version '$major' in $version_file" >&2
  exit 1
fi
echo "setup: JUCE $major ready in $juce_dir"
