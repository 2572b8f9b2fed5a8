#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds, installs the VST3 where Linux
# hosts look for it (~/.vst3) and starts the Standalone app.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --target Quillane_VST3 Quillane_Standalone
artefacts="$root/build/Quillane_artefacts/RelWithDebInfo"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/Quillane.vst3"
cp -R "$artefacts/VST3/Quillane.vst3" "$HOME/.vst3/"
echo "run: installed $HOME/.vst3/Quillane.vst3"
exec "$artefacts/Standalone/Quillane" "$@"
