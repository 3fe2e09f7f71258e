#!/usr/bin/env bash
# Runs cppcheck (warnings, performance, portability) over every source of the module, the
# stand-ins, the programs and their kit in a build's compile database; any finding fails.
# Usage: check_cppcheck.sh SOURCE_DIR BUILD_DIR CPPCHECK
set -uo pipefail
source_dir=$1 build_dir=$2 cppcheck=$3

work=$build_dir/cppcheck
mkdir -p "$work"
python3 - "$source_dir" "$build_dir/compile_commands.json" "$work/compile_commands.json" <<'PY' || exit 1
import json, re, sys
source, database, selected = sys.argv[1:]
folders = re.compile(re.escape(source) + r"/(qx|com|propertybag|expert|platform|cli|host|validate)/")
entries = [e for e in json.load(open(database)) if folders.match(e["file"])]
print(f"checking {len(entries)} files")
json.dump(entries, open(selected, "w"))
sys.exit(0 if entries else 1)
PY
"$cppcheck" --project="$work/compile_commands.json" --enable=warning,performance,portability \
    --inline-suppr --suppressions-list="$source_dir/tests/cppcheck.suppressions" \
    --suppress='*:/usr/*' --cppcheck-build-dir="$work" -j 2 --quiet --error-exitcode=1
