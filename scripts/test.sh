#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds everything and runs the whole test
# suite. Windows need a display: the tests run under a virtual X server.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
mkdir -p "$root/build/test-home"
cd "$root/build"
xvfb-run -a -s "-screen 0 1920x1200x24" ctest --output-on-failure --timeout 900 "$@"
