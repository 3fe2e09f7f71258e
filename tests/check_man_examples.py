#!/usr/bin/env python3
"""Compiles every EXAMPLE of the manual pages of section 3 as a host would, warning-free under
-Wall -Wextra -Werror -pedantic. An example is one or more parts separated by .PP; a part in
C++ (it names qxzeva:: or a class, or writes // comments) is compiled as C++17, any other as
C99. A part that defines a function or a type stands at file scope; any other is the body of
a function whose parameters are the names the pages take as given: module, expert, names,
bag, name, result, bus, device, function, first.
The simulated driver's headers (DRIVER_DIR/*.h) are staged where an install puts them.
Usage: check_man_examples.py CC CXX INCLUDE_DIR... -- MAN3_DIR DRIVER_DIR WORK_DIR"""
import pathlib
import re
import shutil
import subprocess
import sys

C_PRELUDE = """#include "qxzeva/module_loader.h"
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_version.h"
#include "qxzeva/zevadriver/zevadriver_control.h"
#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
"""
C_GIVEN = ("qx_module* module, IkcSysExpert2* expert, IkcSysEnumStringList* names, "
           "IkcSysPropertyBag3* bag, QX_WCHAR* name, HRESULT result, uint32_t bus, "
           "uint32_t device, uint32_t function")
CXX_PRELUDE = """#include "qxzeva/qxzeva_cxx.h"
#include "qxzeva/qxzeva_host.h"
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
"""
CXX_GIVEN = ("qx_module* module, IkcSysExpert2* expert, IkcSysPropertyBag3* bag, "
             "const qxzeva::Ref<IUnknown>& first")
ROFF = [("\\-", "-"), ("\\e", "\\"), ("\\(aq", "'"), ("\\(dq", '"'), ("\\&", ""),
        ("\\fB", ""), ("\\fI", ""), ("\\fR", ""), ("\\fP", "")]


def parts_of(page):
    text = page.read_text(encoding="utf-8")
    match = re.search(r"^\.SH EXAMPLE\n(.*?)(?=^\.SH )", text, re.M | re.S)
    if not match:
        return None
    body = match.group(1)
    for roff, plain in ROFF:
        body = body.replace(roff, plain)
    lines = [line for line in body.splitlines() if line not in (".nf", ".fi")]
    parts, current = [], []
    for line in lines:
        if line == ".PP":
            parts.append("\n".join(current))
            current = []
        elif not line.startswith("."):
            current.append(line)
    parts.append("\n".join(current))
    return [part for part in parts if part.strip()]


def translation_unit(part):
    cxx = bool(re.search(r"qxzeva::|^class |//|\bu\"", part, re.M))
    file_scope = bool(re.search(r"^(static |typedef |struct \w+ \{|class |\w[\w ]*[ *]\w+\(.*\) \{$)",
                                part, re.M))
    prelude, given = (CXX_PRELUDE, CXX_GIVEN) if cxx else (C_PRELUDE, C_GIVEN)
    if file_scope:
        return cxx, prelude + part + "\n"
    names = [parameter.split()[-1].lstrip("*&") for parameter in given.split(", ")]
    uses = "".join(f"    (void){name};\n" for name in names)
    return cxx, (f"{prelude}int Example({given});\nint Example({given}) {{\n    {{\n"
                 f"{part}\n    }}\n{uses}    return 0;\n}}\n")


def main(arguments):
    split = arguments.index("--")
    cc, cxx_compiler, *includes = arguments[:split]
    man3, driver, work = map(pathlib.Path, arguments[split + 1:])
    staged = work / "include" / "qxzeva" / "zevadriver"
    staged.mkdir(parents=True, exist_ok=True)
    for header in driver.glob("*.h"):
        shutil.copy(header, staged)
    flags = ["-Wall", "-Wextra", "-Werror", "-pedantic", "-fsyntax-only"]
    flags += [f"-I{folder}" for folder in includes + [str(work / "include")]]
    failures, count = [], 0
    for page in sorted(man3.glob("*.3")):
        parts = parts_of(page)
        if parts is None:
            if not page.read_text(encoding="utf-8").startswith(".so "):
                failures.append(f"{page.name}: no EXAMPLE")
            continue
        for index, part in enumerate(parts):
            cxx, unit = translation_unit(part)
            source = work / f"{page.stem}-{index}.{'cpp' if cxx else 'c'}"
            source.write_text(unit, encoding="utf-8")
            command = ([cxx_compiler, "-std=c++17"] if cxx else [cc, "-std=c99"]) + flags
            run = subprocess.run(command + [str(source)], capture_output=True, text=True)
            count += 1
            if run.returncode != 0:
                failures.append(f"{page.name}, part {index + 1} ({source}):\n{run.stderr}")
    for failure in failures:
        print(failure)
    print(f"{count} example parts compiled, {len(failures)} faults")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
