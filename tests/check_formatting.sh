#!/bin/sh
# Every C++ file of the tree is formatted as .clang-format says: reports each file that
# clang-format would change and fails.
# Usage: check_formatting.sh SOURCE_DIR
set -eu
cd "$1"
format=$(command -v clang-format-14 || command -v clang-format)
git ls-files -z '*.cpp' '*.h' | xargs -0 "$format" --dry-run --Werror
