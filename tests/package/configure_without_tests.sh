#!/bin/sh
# SPDX-License-Identifier: MIT
# Configures the project as a package build does (-DBUILD_TESTING=OFF) with
# GoogleTest and Google Benchmark made unfindable: it must configure, and
# build the program alone.
# Usage: configure_without_tests.sh SOURCE FOLDER
set -eu
source=$1
folder=$2
rm -rf "$folder"
cmake -S "$source" -B "$folder" -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$folder.log" 2>&1 ||
    { cat "$folder.log"; echo "FAIL: a package build wants a test framework"; exit 1; }
targets=$(cmake --build "$folder" --target help)
echo "$targets" | grep -q '\.\.\. codicefiscale$' || { echo "FAIL: no program target"; exit 1; }
if echo "$targets" | grep -E '_(tests?|bench)$'; then
    echo "FAIL: a package build would build the tests or benchmarks above"
    exit 1
fi
rm -rf "$folder" "$folder.log"
echo "PASS: configured with BUILD_TESTING=OFF and no test framework; only the program is built"
