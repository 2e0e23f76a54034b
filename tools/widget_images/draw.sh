#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the drawing program in a temporary folder and writes the toolbar
# strip and the status-bar icons into resources/.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/draw_widget_images" "$here/../../resources"
