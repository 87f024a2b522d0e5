#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds Tarvin with its tests and runs
# every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

export QT_QPA_PLATFORM=offscreen
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
cd build
ctest --output-on-failure --parallel "$(nproc)"
