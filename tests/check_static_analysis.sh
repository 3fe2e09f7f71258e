#!/usr/bin/env bash
# Runs clang-tidy, with the checks of the top .clang-tidy, over every source of the module,
# the stand-ins, the programs and their kit in a build's compile database, two files
# at a time.
# Usage: check_static_analysis.sh SOURCE_DIR BUILD_DIR RUN_CLANG_TIDY CLANG_TIDY
set -uo pipefail
source_dir=$1 build_dir=$2 run_clang_tidy=$3 clang_tidy=$4

# Every file named, so that a folder dropped from the pattern shows here as a count.
folders="${source_dir}/(qx|com|propertybag|expert|platform|cli|host|validate)/"
count=$(grep -cE "\"file\": \"${folders}" "$build_dir/compile_commands.json")
echo "checking $count files"
((count > 0)) || exit 1

output=$("$run_clang_tidy" -quiet -j 2 -p "$build_dir" -clang-tidy-binary "$clang_tidy" \
    "^${folders}" 2>&1)
status=$?
output=$(sed 's/\x1b\[[0-9;]*m//g' <<<"$output") # clang-tidy colours its output
# Only the findings and the lines that show them; not the command lines or counts.
grep -E -A3 '(warning|error): ' <<<"$output"
findings=$(grep -cE '(warning|error): ' <<<"$output")
echo "$findings findings"
((status == 0 && findings == 0))
