#!/usr/bin/env python3
"""Refuses an #include that points up a layer or into the wrong toolkit.

The layers, bottom first, and what each may include besides itself. A
folder's files may include headers of the folders listed for it and nothing
else of ours; standard headers and the generated BuildSettings.h are free to
all. Qt headers belong to the Qt front end alone, Windows API headers to the
Win32 front end and the OS layer's Windows half. Exit 1 with one line per
offending include.
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
    # The two front ends build their windows from the tables, never from
    # each other.
    "ui/qt": CORE + ["ui/tables", "ui/qt"],
    "ui/win32": CORE + ["ui/tables", "ui/win32"],
    # Operator tools use the core below the launcher, never Qt.
    "tools/qvs-pack": ["platform", "signing", "protocol", "system"],
    "tools/qvs-probe": ["platform", "signing", "protocol", "http", "system", "workers"],
    "tools/qvs-server": ["platform", "protocol"],
    "tools/UpdateQvsPatch": ["platform", "signing", "protocol", "system"],
    "bench": ["platform", "signing", "protocol", "http", "system", "workers"],
}
FOLDERS = sorted({f for allowed in RULES.values() for f in allowed}, key=len, reverse=True)
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s*<([^>]+)>", re.M)
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]*(/|$)")
WINDOWS_HEADER = re.compile(
    r"^(windows|win[a-z0-9]*|ws2[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|shlwapi|ole2|"
    r"oleidl|objbase|exdisp|mshtml|mshtmhst|gdiplus|wincodec|mmsystem|uxtheme|dwmapi)\.h$",
    re.I)
# Where the Windows API may be included (folder prefixes).
WINDOWS_FOLDERS = ("platform/win32/", "ui/win32/")


def toolkit_problem(relative: pathlib.Path, layer: str, header: str) -> str | None:
    if QT_HEADER.match(header) and layer != "ui/qt":
        return f"{relative}: includes <{header}>, Qt outside the Qt front end"
    if WINDOWS_HEADER.match(header) and not relative.as_posix().startswith(WINDOWS_FOLDERS):
        return f"{relative}: includes <{header}>, the Windows API outside its folders"
    return None


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
        for header in INCLUDE.findall(text):
            folder = included_folder(header)
            if folder is not None and folder not in RULES[layer]:
                problems.append(f"{relative}: includes {header}, above its layer ({layer})")
        for header in SYSTEM_INCLUDE.findall(text):
            problem = toolkit_problem(relative, layer, header)
            if problem is not None:
                problems.append(problem)
    for line in problems:
        print(line)
    print(f"layering: {len(problems)} includes point up a layer")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
