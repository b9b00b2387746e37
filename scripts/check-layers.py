#!/usr/bin/env python3
"""Refuses an #include that points up a layer.

The layers, bottom first, and what each may include besides itself. A
folder's files may include headers of the folders listed for it and nothing
else of ours; system and standard headers, and the generated BuildSettings.h,
are free to all. Exit 1 with one line per offending include.
"""
import pathlib
import re
import sys

CORE = ["platform", "signing", "protocol", "http", "system", "workers", "launcher"]
# folder: the folders its files may include from
RULES = {
    "platform": ["platform"],
    "signing": ["platform", "signing"],
    "protocol": ["platform", "protocol"],
    "http": ["platform", "http"],
    "system": ["platform", "protocol", "system"],
    "workers": ["platform", "signing", "protocol", "http", "system", "workers"],
    "launcher": CORE,
    # The window tables: toolkit-free, read by both front ends.
    "ui/tables": CORE + ["ui/tables"],
    # The Qt windows: the main window and the secondary ones are one layer.
    "launcher/gui": CORE + ["launcher/gui", "windows"],
    "windows": CORE + ["launcher/gui", "windows"],
    # The Win32 windows: the core and the window tables, never Qt.
    "ui/win32": CORE + ["ui/win32", "ui/tables"],
    # Operator tools use the core below the launcher, never Qt.
    "tools/qvs-pack": ["platform", "signing", "protocol", "system"],
    "tools/qvs-probe": ["platform", "signing", "protocol", "http", "system", "workers"],
    "tools/qvs-server": ["platform", "protocol"],
    "tools/UpdateQvsPatch": ["platform", "signing", "protocol", "system"],
    "bench": ["platform", "signing", "protocol", "http", "system", "workers"],
}
FOLDERS = sorted({f for allowed in RULES.values() for f in allowed}, key=len, reverse=True)
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
# Toolkits a folder never includes: the Win32 front end no Qt, the rest of
# ours (beside the OS layer) no windows.h.
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s*<([^>]+)>', re.M)
FORBIDDEN = {"ui/win32": re.compile(r"^Q|^qt", re.I)}
WINDOWS_H = re.compile(r"^windows\.h$", re.I)
WINDOWS_H_ALLOWED = ("platform", "ui/win32")


def layer_of(path: pathlib.Path) -> str | None:
    text = path.as_posix()
    for folder in sorted(RULES, key=len, reverse=True):
        if text.startswith(folder + "/"):
            return folder
    return None


def included_folder(header: str) -> str | None:
    for folder in FOLDERS:
        if header.startswith(folder + "/"):
            return folder
    return None


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = []
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root)
        if path.suffix not in (".h", ".cpp") or relative.parts[0] in ("build", "tests"):
            continue
        layer = layer_of(relative)
        if layer is None:
            continue
        text = path.read_text(errors="replace")
        for header in SYSTEM_INCLUDE.findall(text):
            if layer in FORBIDDEN and FORBIDDEN[layer].search(header):
                problems.append(f"{relative}: includes <{header}>, a toolkit {layer} never uses")
            if WINDOWS_H.search(header) and layer not in WINDOWS_H_ALLOWED:
                problems.append(f"{relative}: includes <{header}> outside the OS layer and Win32 windows")
        for header in INCLUDE.findall(text):
            folder = included_folder(header)
            if folder is not None and folder not in RULES[layer]:
                problems.append(f"{relative}: includes {header}, above its layer ({layer})")
    for line in problems:
        print(line)
    print(f"layering: {len(problems)} includes point up a layer")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
