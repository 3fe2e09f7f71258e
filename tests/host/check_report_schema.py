#!/usr/bin/python3
"""Validates the host program's --json report against its JSON Schema (draft 2020-12) for
the default boards, one item (also by another spelling), names only, a board file with no
boards and a board the module did not report, and makes sure the schema refuses reports
that break it.
Usage: check_report_schema.py HOST SCHEMA WORKDIR EXAMPLE_BOARDS"""
import copy
import json
import os
import subprocess
import sys

import jsonschema


def report(host, *arguments, expected=0):
    run = subprocess.run([host, "--json", *arguments], capture_output=True, text=True, timeout=60)
    if run.returncode != expected:
        sys.exit(f"{host} {' '.join(arguments)} failed ({run.returncode}): {run.stderr}")
    return json.loads(run.stdout)


def main():
    host, schema_path, workdir, example = sys.argv[1:5]
    with open(schema_path, encoding="utf-8") as file:
        schema = json.load(file)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)

    no_boards = os.path.join(workdir, "no_boards.toml")
    with open(no_boards, "w", encoding="utf-8") as file:
        file.write("driver_version = 0x15030000\n")
    cases = {
        "default boards": report(host),
        "one item": report(host, "--item", "img1"),
        "another spelling": report(host, "--item", "IMG1"),
        "names only": report(host, "--names-only"),
        "no boards": report(host, "--boards", no_boards),
        "a board not reported": report(host, "--boards", example, "--serial", "00E93B15",
                                       expected=10),
    }
    failed = 0
    for name, document in cases.items():
        errors = list(validator.iter_errors(document))
        for error in errors:
            print(f"{name}: {error.json_path}: {error.message}")
        failed += bool(errors)
    if cases["default boards"]["boards"][0]["properties"]["serial_number"] != "01C4A2F0":
        print("default boards: expected boards[0].properties.serial_number 01C4A2F0")
        failed += 1
    if cases["another spelling"]["boards"][0]["listedName"] != "img1":
        print("another spelling: expected the listed name img1")
        failed += 1
    missed = cases["a board not reported"]
    if missed["boards"] != [] or missed["unreportedBoards"] != [
            {"serialNumber": "00E93B15", "pciLocation": "07:02.0",
             "reason": "claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED)"}]:
        print(f"a board not reported: expected it alone in unreportedBoards: {missed}")
        failed += 1
    if cases["no boards"]["itemNames"] != [] or cases["no boards"]["boards"] != []:
        print("no boards: expected no item names and no items")
        failed += 1

    # Changes the schema must refuse: a value of the wrong type, a key it does not know.
    wrong_value = copy.deepcopy(cases["one item"])
    wrong_value["boards"][0]["typedProperties"][1]["value"] = "1"  # an integer property
    wrong_key_type = copy.deepcopy(cases["one item"])
    wrong_key_type["boards"][0]["properties"]["pci_bus"] = "03"
    unknown_key = copy.deepcopy(cases["names only"])
    unknown_key["extra"] = 1
    bad_guid = copy.deepcopy(cases["names only"])
    bad_guid["product"]["id"] = "2AB917E5-7A6D-4F53-A31F-048F22A05608"
    for name, document in {"wrong value type": wrong_value, "unknown key": unknown_key,
                           "GUID without braces": bad_guid,
                           "keyed value of the wrong type": wrong_key_type}.items():
        if validator.is_valid(document):
            print(f"the schema accepts a report with a {name}")
            failed += 1

    print(f"report schema: {len(cases)} reports and 4 refusals checked, {failed} failures")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
