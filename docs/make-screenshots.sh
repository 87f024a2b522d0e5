#!/usr/bin/env bash
# Takes the manual's screenshots of Tarvin's windows (docs/screenshots/*.png), offscreen, on a
# copy of the sample messages in a private home and settings folder. Run it after a change to
# the windows and commit the pictures; the build itself only reads them.
#   docs/make-screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --parallel 2 --target tarvin_screenshots

# A fixed place, so that the folder names in the pictures stay the same from run to run.
work=${TMPDIR:-/tmp}/tarvin-screenshots
rm -rf "$work"
mkdir -m 700 "$work"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home/robin"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME/Archive" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp samples/*.pml "$HOME/Archive/"
export QT_QPA_PLATFORM=offscreen
export QT_SCALE_FACTOR=1
export QT_FONT_DPI=96
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
# One date and time format in every picture, whatever this machine's locale.
if locale -a 2>/dev/null | grep -qi '^en_GB\.utf-\?8$'; then
    export LANG=en_GB.UTF-8 LC_ALL=en_GB.UTF-8
else
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
fi
"$build_dir/docs/tarvin_screenshots" "$HOME/Archive" docs/screenshots
