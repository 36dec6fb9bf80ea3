#!/usr/bin/env bash
# Installs what is needed, builds the Release plug-in, installs the bundle into ~/.vst3 and
# renders the built-in demo in every analysis mode into out/.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs="${ZELTO_JOBS:-$(nproc)}"

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DZELTO_TESTS=OFF -DZELTO_LTO=ON
cmake --build build-release -j "$jobs" --target OrvantaZeltoMeter_VST3 zelto-snapshot

bundle="build-release/OrvantaZeltoMeter_artefacts/Release/VST3/Orvanta Zelto Meter.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/Orvanta Zelto Meter.vst3"
cp -R "$bundle" "$HOME/.vst3/"
echo "Installed: $HOME/.vst3/Orvanta Zelto Meter.vst3"

# The built-in demo through every analysis mode, as PNG files in out/.
echo "Rendered:"
build-release/tools/zelto-snapshot --out out
