#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tarvin need.
# Only missing packages are installed; nothing is downloaded from elsewhere.
set -euo pipefail

packages=(
    g++ cmake make ninja-build pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev qt6-webengine-dev qt6-pdf-dev qt6-svg-dev libqt6svg6
    libxml2-dev zlib1g-dev libglib2.0-dev libxcb1-dev
    libgtest-dev googletest
    libxml2-utils xdg-utils shared-mime-info time
    desktop-file-utils appstream file
    xvfb xauth
    cups cups-client cups-filters poppler-utils
    libqpdf-dev
    fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends \
    "${missing[@]}"
