#!/usr/bin/env bash
# Fails when a tracked C or C++ source differs from the layout .clang-format gives it.
# Skipped (exit 77) outside a git checkout, where there is no list of tracked files.
# Usage: check_format.sh SOURCE_DIR CLANG_FORMAT
set -uo pipefail
source_dir=$1 clang_format=$2

cd "$source_dir" || exit 1
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "not a git checkout: no tracked files to check"
    exit 77
fi
mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h')
echo "checking ${#files[@]} files"
((${#files[@]} > 0)) || exit 1
"$clang_format" --dry-run -Werror "${files[@]}"
