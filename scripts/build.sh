#!/usr/bin/env bash
# Configures and builds Tarvin into ./build (Release). BUILD_DIR names another build folder;
# arguments are passed to the configuration (e.g. -DTARVIN_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
options=()
# ccache, where installed, makes rebuilds of other checkouts of the same tree cheap.
if command -v ccache >/dev/null 2>&1; then
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# A new build folder uses Ninja where installed: it keeps every core busy across targets, where
# make waits for each library to be linked before compiling what uses it.
if [ ! -f "$build_dir/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
    options+=(-G Ninja)
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "${options[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
