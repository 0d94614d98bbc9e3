#!/usr/bin/env python3
"""Runs clang-tidy-14 with the checks in .clang-tidy over the program's, the
tests' and the benchmarks' sources, as a build tree compiles them, and fails on
any finding. With file names, over those alone.

A file passes once for what clang-tidy is given: the text the preprocessor makes
of it (every header it includes, as it is now), its compile command, the checks
and clang-tidy's version. A pass is kept under ~/.cache/aelorin/clang-tidy/
(XDG_CACHE_HOME moves it); a file whose four are those of a kept pass is not
checked again. Findings are never kept.

Usage: scripts/tidy.py build-dir [file.cpp...]
"""
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

TIDY = "clang-tidy-14"
FOLDERS = re.compile(r"/(app|bench|data|dialogs|helpviewer|labels|platform|rules|sound|tests|widgets)/[^/]+\.cpp$")


def preprocessed(entry, args):
    """The text the compiler is given, with the precompiled headers read as the
    headers they were made from."""
    out, skip = [], 0
    for i, arg in enumerate(args):
        if skip:
            skip -= 1
            continue
        if arg == "-o":
            skip = 1
        elif arg == "-Xclang" and args[i + 1:i + 2] == ["-include-pch"]:
            skip = 3
        elif arg == "-Xclang" and args[i + 1:i + 2] == ["-include"]:
            out += ["-include", args[i + 3]]
            skip = 3
        elif arg == "-c":
            continue
        else:
            out.append(arg)
    run = subprocess.run(out + ["-E", "-o", "-"], cwd=entry["directory"], capture_output=True, check=False)
    return run.stdout if run.returncode == 0 else None


def key(entry, args, source, build, fixed):
    text = preprocessed(entry, args)
    if text is None:
        return None
    digest = hashlib.sha256(fixed)
    # The same sources in another clone give the same key.
    for part in [" ".join(args).encode(), text]:
        digest.update(part.replace(build.encode(), b"@BUILD@").replace(source.encode(), b"@SOURCE@"))
    return digest.hexdigest()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    source = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
    build = os.path.realpath(sys.argv[1])
    wanted = {os.path.realpath(f) for f in sys.argv[2:]}
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = [e for e in json.load(f) if FOLDERS.search(e["file"]) and e["file"].startswith(source + "/")]
    if wanted:
        entries = [e for e in entries if os.path.realpath(e["file"]) in wanted]
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "aelorin", "clang-tidy")
    os.makedirs(cache, exist_ok=True)
    version = subprocess.run([TIDY, "--version"], capture_output=True, check=True).stdout
    with open(os.path.join(source, ".clang-tidy"), "rb") as f:
        fixed = version + f.read()

    def check(entry):
        args = shlex.split(entry["command"])
        name = os.path.relpath(entry["file"], source)
        k = key(entry, args, source, build, fixed)
        if k and os.path.exists(os.path.join(cache, k)):
            return name, "kept", ""
        run = subprocess.run([TIDY, "-p", build, "--quiet", entry["file"]], capture_output=True, text=True,
                             check=False)
        findings = "\n".join(line for line in (run.stdout + run.stderr).splitlines()
                             if re.search(r"(error|warning):", line) and "warnings generated" not in line)
        if run.returncode == 0 and not findings:
            if k:
                open(os.path.join(cache, k), "w", encoding="utf-8").close()
            return name, "passed", ""
        return name, "failed", findings or run.stderr[-2000:]

    results = []
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        results = list(pool.map(check, entries))
    failed = [(name, report) for name, outcome, report in results if outcome == "failed"]
    kept = sum(outcome == "kept" for _, outcome, _ in results)
    checked = len(results)
    for name, report in failed:
        print(f"{name}:\n{report}")
    print(f"clang-tidy: {checked} files, {kept} passed before with the same input, {len(failed)} with findings")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
