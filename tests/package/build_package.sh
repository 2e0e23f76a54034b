#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the Debian package and its debug symbols package from the build
# folder BUILD into OUTPUT (made afresh), as cpack -G DEB does for a release.
# Usage: build_package.sh BUILD OUTPUT
set -eu
build=$1
output=$2
rm -rf "$output"
mkdir -p "$output"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$output" >"$output/cpack.log" 2>&1 ||
    { cat "$output/cpack.log"; exit 1; }
rm -rf "$output/_CPack_Packages"
ls "$output"/*.deb
