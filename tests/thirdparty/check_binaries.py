#!/usr/bin/env python3
"""Checks the built uz.exe and zlibwapi.dll with objdump: the DLL exports the functions the program
binds by name, undecorated (no _name@N from __stdcall on i686), and neither image needs a MinGW
runtime DLL beside it."""
import argparse
import re
import subprocess
import sys

REQUIRED = ["unzOpenBuffer", "unzGetGlobalInfo", "unzGetGlobalComment", "unzGetCurrentFileInfo",
            "unzOpenCurrentFile", "unzReadCurrentFile", "unzCloseCurrentFile", "unzGoToNextFile", "unzClose",
            "unzOpen", "zlibVersion", "inflate", "deflate", "crc32"]
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll"}


def objdump(tool, image):
    return subprocess.run([tool, "-p", image], check=True, capture_output=True, text=True).stdout


def exports(dump):
    names, inside = [], False
    for line in dump.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            inside = True
        elif inside and not line.strip():
            break
        elif inside:
            names.append(line.split()[-1])
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--machine", required=True, help="i386 or x86-64, as objdump names it")
    args = parser.parse_args()
    failures = []

    dll = objdump(args.objdump, args.dll)
    names = exports(dll)
    failures += [f"zlibwapi.dll does not export {n}" for n in REQUIRED if n not in names]
    failures += [f"decorated export {n}" for n in names if "@" in n or n.startswith("_")]
    for image, dump in ((args.dll, dll), (args.exe, objdump(args.objdump, args.exe))):
        if f"file format pei-{args.machine}" not in dump:
            failures.append(f"{image} is not a pei-{args.machine} image")
        imports = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
        failures += [f"{image} needs {d}" for d in sorted(imports - SYSTEM_DLLS)]

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(names)} exports checked; {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
