#!/usr/bin/env bash
# Configures (once) and builds everything into build/. Builds are serialised
# with a lock: the machines have two cores, and two builds at once starve both.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
exec 9>"${TMPDIR:-/tmp}/quillane-build.lock"
flock 9
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --parallel 2 "$@"
