#!/bin/sh
# Fails when a C++ file that git tracks is out of the layout of .clang-format, naming it: the
# layout holds by this check, not by everyone's discipline. scripts/format.sh puts it right.
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
