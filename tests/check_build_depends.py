#!/usr/bin/env python3
"""Fails when a program the build or the tests run comes from a package that debian/control's
Build-Depends does not bring, directly or through what its packages depend on, or when a
package listed there is not installed (dpkg-checkbuilddeps). The programs are those the build
found: every FILEPATH entry of the build's CMake cache that names an installed file.

usage: check_build_depends.py SOURCE_DIR CMAKE_CACHE [PATH | NAME=PATH ...]
(a NAME=PATH whose PATH ends in -NOTFOUND is a program the build did not find)"""
import os
import re
import subprocess
import sys


def build_depends(control):
    field, lines = False, []
    for line in open(control, encoding="utf-8"):
        if line.startswith("Build-Depends:"):
            field, line = True, line[len("Build-Depends:"):]
        elif not line[:1].isspace():
            field = False
        if field:
            lines.append(line)
    relations = " ".join(lines).replace("|", ",").split(",")
    return {re.split(r"[\s(<\[:]", r.strip())[0] for r in relations if r.strip()}


def installed_packages():
    """Each installed package's dependencies (Depends, Pre-Depends) and what it provides."""
    out = subprocess.run(
        ["dpkg-query", "-W", "-f=${db:Status-Abbrev}\t${Package}\t${Essential}\t"
         "${Depends}, ${Pre-Depends}\t${Provides}\n"],
        capture_output=True, text=True, check=True).stdout
    depends, providers, essential = {}, {}, set()
    names = lambda text: {re.split(r"[\s(:]", r.strip())[0]
                          for r in text.replace("|", ",").split(",") if r.strip()}
    for line in out.splitlines():
        status, package, is_essential, deps, provides = line.split("\t")
        if not status.startswith("ii"):
            continue
        depends[package] = names(deps)
        if is_essential == "yes":
            essential.add(package)
        for virtual in names(provides) | {package}:
            providers.setdefault(virtual, set()).add(package)
    return depends, providers, essential


def closure(roots, depends, providers):
    seen, todo = set(), list(roots)
    while todo:
        for package in providers.get(todo.pop(), ()):
            if package not in seen:
                seen.add(package)
                todo.extend(depends.get(package, ()))
    return seen


def owner(path):
    result = subprocess.run(["dpkg-query", "-S", path], capture_output=True, text=True)
    return result.stdout.split(":")[0].split(",")[0].strip() if result.returncode == 0 else None


def main(source_dir, cache, arguments):
    absent = [a.split("=")[0] for a in arguments if a.endswith("-NOTFOUND")]
    if absent:
        sys.exit(f"not installed: {' '.join(absent)}\nrun scripts/install-deps.sh")
    programs = [a.split("=", 1)[-1] for a in arguments]
    checked = subprocess.run(["dpkg-checkbuilddeps"], cwd=source_dir,
                             capture_output=True, text=True)
    if checked.returncode != 0:
        sys.exit(f"{checked.stderr.strip()}\nrun scripts/install-deps.sh")
    for line in open(cache, encoding="utf-8"):
        match = re.match(r"^[A-Za-z_0-9]+:FILEPATH=(/.+)$", line.strip())
        if match and os.access(match.group(1), os.X_OK):
            programs.append(match.group(1))
    depends, providers, essential = installed_packages()
    allowed = closure(build_depends(os.path.join(source_dir, "debian/control"))
                      | {"build-essential"} | essential, depends, providers)
    missing = []
    for program in sorted(set(programs)):
        # The file as installed, as dpkg recorded it (/usr/bin/x, not a merged /bin/x).
        real = os.path.realpath(program)
        package = owner(real) or owner(re.sub(r"^/usr/", "/", real))
        if package and package not in allowed:
            missing.append(f"{program} (package {package})")
    if missing:
        sys.exit("not brought by debian/control's Build-Depends:\n  " + "\n  ".join(missing))
    print(f"{len(set(programs))} programs checked, every one from the list")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
