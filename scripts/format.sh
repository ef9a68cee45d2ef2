#!/bin/sh
# Lays out every C++ file that git tracks as .clang-format says.
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
