#!/usr/bin/env bash
# Installs every Debian package the build, tests, benchmarks and tools need.
# Idempotent and non-interactive; runs as root or through sudo.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache git
    juce-modules-source
    libfftw3-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxcomposite-dev
    libfreetype-dev libfontconfig1-dev libasound2-dev
    libflac-dev libvorbis-dev libogg-dev
    fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    clang libclang-rt-14-dev
)

if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
else
    sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
