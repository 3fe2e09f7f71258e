#!/usr/bin/env python3
"""Walks the finished manual pages as a reader follows them: every page is dated with the
release's date; a further name a page's NAME line gives is a one-line .so link to it; every
page that names another, in SEE ALSO or in its text, names one that is installed; and SEE
ALSO goes both ways: when a page's SEE ALSO names another page, that page's names it back.
Usage: check_man_references.py DATE PAGE_OR_FOLDER..."""
import pathlib
import re
import sys

REFERENCE = re.compile(r"(?:^\.BR |\\fB)([A-Za-z_][\w:\\-]*)(?:\\fP)? ?\(([1-9])\)", re.M)

OURS = re.compile(r"qx|QX|zeva|kcSys|Ikc|IUnknown|IID_|_GUID")


def name_of(token):
    return token.replace("\\-", "-")


def main(date, sources):
    files = []
    for source in map(pathlib.Path, sources):
        files += sorted(source.glob("*.[1-9]")) if source.is_dir() else [source]
    pages, aliases = {}, {}
    for file in files:
        key = (file.name.rsplit(".", 1)[0], file.name.rsplit(".", 1)[1])
        text = file.read_text(encoding="utf-8")
        if text.startswith(".so "):
            aliases[key] = text
        else:
            pages[key] = text
    failures = []
    for key, text in aliases.items():
        match = re.fullmatch(r"\.so man([1-9])/(\S+)\.([1-9])\n", text)
        if not match or (match.group(2), match.group(3)) not in pages:
            failures.append(f"{key[0]}({key[1]}) is not a .so link to a page: {text!r}")

    def page_of(key):
        if key in aliases:
            match = re.match(r"\.so man[1-9]/(\S+)\.([1-9])", aliases[key])
            return (match.group(1), match.group(2)) if match else key
        return key

    see_also = {}
    for key, text in pages.items():
        title = re.search(r'^\.TH \S+ [1-9] "([^"]*)"', text, re.M)
        if not title or title.group(1) != date:
            failures.append(f"{key[0]}({key[1]}) is not dated {date}: {text.splitlines()[0]}")
        parts = re.split(r"^\.SH SEE ALSO\n", text, flags=re.M)
        if len(parts) != 2:
            failures.append(f"{key[0]}({key[1]}) has no SEE ALSO")
            continue
        tail = re.split(r"^\.SH ", parts[1], flags=re.M)[0]
        see_also[key] = {page_of((name_of(n), s)) for n, s in REFERENCE.findall(tail)}
        for name, section in REFERENCE.findall(text):
            if not OURS.match(name_of(name)):
                continue  # the system's: free(3), pkg-config(1), valgrind(1)
            if (name_of(name), section) not in pages and (name_of(name), section) not in aliases:
                failures.append(f"{key[0]}({key[1]}) names {name_of(name)}({section}), "
                                "which is no page")
    for key, named in see_also.items():
        for other in named:
            if other in see_also and key not in see_also[other] and other != key:
                failures.append(f"{key[0]}({key[1]}) names {other[0]}({other[1]}) in SEE ALSO, "
                                "which does not name it back")
    for failure in failures:
        print(failure)
    print(f"{len(pages)} pages, {len(aliases)} links, {len(failures)} faults")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
