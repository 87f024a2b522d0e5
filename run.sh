#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds Tarvin and opens it on the bundled
# sample messages. Extra arguments are passed to tarvin instead of the sample.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

# Qt WebEngine refuses to run as root unless its sandbox is off.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [ $# -gt 0 ]; then
    exec build/tarvin "$@"
fi
# The HTML mail with an inline picture shows most of the viewer; any sample will do otherwise.
sample=""
for candidate in samples/Quarterly*.pml samples/*.pml; do
    if [ -f "$candidate" ]; then
        sample=$candidate
        break
    fi
done
if [ -n "$sample" ]; then
    exec build/tarvin "$sample"
fi
exec build/tarvin
