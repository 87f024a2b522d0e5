#!/usr/bin/env bash
# Builds and runs the viewer benchmark: median times from FileName being set to the body being
# shown, plain text and HTML, for the samples and a 5 MB message. Extra arguments go to the
# driver (--runs N, message files).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target view_bench -j2 >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/bench/view_bench "$@"
