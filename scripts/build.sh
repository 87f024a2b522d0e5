#!/usr/bin/env bash
# Configures and builds Tarvin into ./build (Release). BUILD_DIR names another build folder;
# arguments are passed to the configuration (e.g. -DTARVIN_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
launcher=()
# ccache, where installed, makes rebuilds of other checkouts of the same tree cheap.
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
