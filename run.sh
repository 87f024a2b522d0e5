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
# Without a file: the explorer, with its settings in a demo folder under build/ so that the
# user's own settings are never touched. Its first start selects the bundled samples.
demo_config="$PWD/build/demo-config"
settings="$demo_config/Halvorn/Tarvin"
if [ ! -f "$settings/Folders.DAT" ]; then
    mkdir -p "$settings"
    samples=$(printf '%s' "$PWD/samples" | sed 's/\\/\\\\/g; s/"/\\"/g')
    printf '{"views": {"FoldersTreeview": {"expanded": [], "selected": "%s", "focused": "%s", "top": ""}}}\n' \
        "$samples" "$samples" >"$settings/Folders.DAT"
fi
XDG_CONFIG_HOME="$demo_config" exec build/tarvin
