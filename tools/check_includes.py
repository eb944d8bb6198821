#!/usr/bin/env python3
"""Checks the include rules of src/README.md.

The "may include" column of the folder table there is the single source of truth: a file in
src/<folder>/ may include "<other>/..." only when <other> is listed for <folder>. Files of
tarn_core (listed with tarn_core_sources in a sources.cmake) and every header they include
may never include <wx/...>. Prints one line per violation and exits 1 if there is any.
"""

import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
README = SRC / "README.md"

QUOTED_INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
WX_INCLUDE = re.compile(r"^\s*#\s*include\s*(<wx/[^>]*>)")
CORE_CALL = re.compile(r"tarn_core_sources\(([^)]*)\)")
EVERY_FOLDER = "every folder"


def fail_setup(message):
    print(f"check_includes: {message}", file=sys.stderr)
    sys.exit(2)


def read_table(folders):
    """Returns {folder: set of folders it may include} from the README's table."""
    lines = README.read_text().splitlines()
    header = next((i for i, l in enumerate(lines) if l.startswith("|") and "may include" in l), None)
    if header is None:
        fail_setup(f"{README.relative_to(ROOT)} has no table with a 'may include' column")
    columns = [c.strip() for c in lines[header].strip().strip("|").split("|")]
    folder_col, include_col = columns.index("folder"), columns.index("may include")
    allowed = {}
    for line in lines[header + 2 :]:
        if not line.startswith("|"):
            break
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        folder = cells[folder_col].strip("`/ ")
        cell = cells[include_col]
        if cell.lower().startswith(EVERY_FOLDER):
            allowed[folder] = set(folders)
        else:
            names = {n.strip("/") for n in re.findall(r"`([^`]+)`", cell)}
            unknown = names - set(folders)
            if unknown:
                fail_setup(f"table row '{folder}' names unknown folders: {sorted(unknown)}")
            allowed[folder] = names
    missing = set(folders) - set(allowed)
    extra = set(allowed) - set(folders)
    if missing or extra:
        fail_setup(f"table and src/ differ: missing rows {sorted(missing)}, "
                   f"rows without a folder {sorted(extra)}")
    return allowed


def core_files():
    """tarn_core sources and every header they include, directly or through other headers."""
    pending = []
    for cmake in SRC.glob("*/sources.cmake"):
        text = re.sub(r"#.*", "", cmake.read_text())
        for call in CORE_CALL.findall(text):
            pending += [cmake.parent / name for name in call.split()]
    seen = set()
    while pending:
        path = pending.pop()
        if path in seen or not path.is_file():
            continue
        seen.add(path)
        for line in path.read_text(errors="replace").splitlines():
            m = QUOTED_INCLUDE.match(line)
            if m and (SRC / m.group(1)).is_file():
                pending.append(SRC / m.group(1))
    return seen


def main():
    folders = sorted(p.name for p in SRC.iterdir() if p.is_dir())
    allowed = read_table(folders)
    core = core_files()
    violations = []
    for path in sorted(p for p in SRC.rglob("*") if p.suffix in (".h", ".cpp")):
        rel = path.relative_to(ROOT)
        folder = path.relative_to(SRC).parts[0]
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            m = QUOTED_INCLUDE.match(line)
            if m:
                target = m.group(1).split("/")[0]
                if target in folders and target != folder and target not in allowed[folder]:
                    violations.append(f"{rel}:{number}: {folder}/ may not include "
                                      f'"{m.group(1)}" (see src/README.md)')
            wx = WX_INCLUDE.match(line)
            if wx and path in core:
                violations.append(f"{rel}:{number}: tarn_core file includes {wx.group(1)} "
                                  "(no toolkit in tarn_core)")
    for v in violations:
        print(v)
    if violations:
        print(f"check_includes: {len(violations)} include rule violation(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
