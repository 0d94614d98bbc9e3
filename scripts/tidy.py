#!/usr/bin/env python3
"""Runs clang-tidy-14 with the checks in .clang-tidy over the program's, the
tests' and the benchmarks' sources, as a build tree compiles them, and fails on
any finding. With file names, over those alone.

The files of one library are checked together, in one translation unit that
includes them all, as the package's unity build compiles them: clang-tidy then
walks the Qt headers' syntax tree once for the library instead of once a file,
which is most of its time. Where the files do not compile together, each is
checked by itself.

A check passes once for what clang-tidy is given: the text the preprocessor
makes of it (every header it includes, as it is now), its compile command, the
checks and clang-tidy's version. A pass is kept under ~/.cache/aelorin/clang-tidy/
(XDG_CACHE_HOME moves it); a check whose four are those of a kept pass is not
run again. Findings are never kept.

Usage: scripts/tidy.py build-dir [file.cpp...]
"""
import collections
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

TIDY = "clang-tidy-14"
OURS = r"/(app|bench|data|dialogs|helpviewer|labels|platform|rules|sound|tests|widgets)/[^/]+"
FOLDERS = re.compile(OURS + r"\.cpp$")
# Where the files of a library are checked together, its sources are headers
# to clang-tidy: their findings are shown as a header's are.
TOGETHER_FILTER = OURS + r"\.(h|cpp)$"
TARGET = re.compile(r"CMakeFiles/([^/]+)\.dir/")


def compile_args(entry):
    """The compile command without its output, its source and the compiler
    itself."""
    args, out, skip = shlex.split(entry["command"]), [], 0
    for arg in args[1:]:
        if skip:
            skip -= 1
        elif arg == "-o":
            skip = 1
        elif arg not in ("-c", entry["file"]):
            out.append(arg)
    return args[0], out


def preprocessed(compiler, args, source, directory):
    """The text the compiler is given, with the precompiled headers read as the
    headers they were made from."""
    out, skip = [], 0
    for i, arg in enumerate(args):
        if skip:
            skip -= 1
        elif arg == "-Xclang" and args[i + 1:i + 2] == ["-include-pch"]:
            skip = 3
        elif arg == "-Xclang" and args[i + 1:i + 2] == ["-include"]:
            out += ["-include", args[i + 3]]
            skip = 3
        else:
            out.append(arg)
    run = subprocess.run([compiler, *out, "-E", "-o", "-", source], cwd=directory, capture_output=True, check=False)
    return run.stdout if run.returncode == 0 else None


def findings_of(run):
    return "\n".join(line for line in (run.stdout + run.stderr).splitlines()
                     if re.search(r"(error|warning):", line) and "warnings generated" not in line)


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
    groups = collections.defaultdict(list)
    for entry in entries:
        args = shlex.split(entry["command"])
        match = TARGET.search(args[args.index("-o") + 1] if "-o" in args else "")
        groups[match.group(1) if match else entry["file"]].append(entry)
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "aelorin", "clang-tidy")
    os.makedirs(cache, exist_ok=True)
    together = os.path.join(build, "tidy-together")
    os.makedirs(together, exist_ok=True)
    version = subprocess.run([TIDY, "--version"], capture_output=True, check=True).stdout
    config = os.path.join(source, ".clang-tidy")
    with open(config, "rb") as f:
        fixed = version + f.read()

    def passed_before(compiler, args, file, directory):
        """The cache key of a check, and whether a pass is kept under it."""
        text = preprocessed(compiler, args, file, directory)
        if text is None:
            return None, False
        digest = hashlib.sha256(fixed)
        # The same sources in another clone give the same key.
        for part in [" ".join(args).encode(), text]:
            digest.update(part.replace(build.encode(), b"@BUILD@").replace(source.encode(), b"@SOURCE@"))
        key = digest.hexdigest()
        return key, os.path.exists(os.path.join(cache, key))

    def keep(key):
        if key:
            open(os.path.join(cache, key), "w", encoding="utf-8").close()

    def check_one(entry):
        name = os.path.relpath(entry["file"], source)
        key, kept = passed_before(*compile_args(entry), entry["file"], entry["directory"])
        if kept:
            return [(name, "kept", "")]
        run = subprocess.run([TIDY, "-p", build, "--quiet", entry["file"]], capture_output=True, text=True,
                             check=False)
        findings = findings_of(run)
        if run.returncode == 0 and not findings:
            keep(key)
            return [(name, "passed", "")]
        return [(name, "failed", findings or run.stderr[-2000:])]

    def check_together(target, members):
        names = [os.path.relpath(e["file"], source) for e in members]
        unit = os.path.join(together, target + ".cpp")
        text = "".join(f'#include "{e["file"]}"  // NOLINT(bugprone-suspicious-include)\n' for e in members)
        if not os.path.exists(unit) or open(unit, encoding="utf-8").read() != text:
            with open(unit, "w", encoding="utf-8") as f:
                f.write(text)
        compiler, args = compile_args(members[0])
        key, kept = passed_before(compiler, args, unit, members[0]["directory"])
        if kept:
            return [(name, "kept", "") for name in names]
        run = subprocess.run([TIDY, "--quiet", f"--config-file={config}", f"--header-filter={TOGETHER_FILTER}", unit,
                              "--", *args], cwd=members[0]["directory"], capture_output=True, text=True, check=False)
        findings = findings_of(run)
        if run.returncode == 0 and not findings:
            keep(key)
            return [(name, "passed", "") for name in names]
        if "clang-diagnostic-error" in findings:
            # They do not compile as one: each by itself.
            return [result for entry in members for result in check_one(entry)]
        return [(", ".join(names), "failed", findings or run.stderr[-2000:])]

    def check(item):
        target, members = item
        return check_together(target, members) if len(members) > 1 else check_one(members[0])

    with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        results = [result for group in pool.map(check, groups.items()) for result in group]
    failed = [(name, report) for name, outcome, report in results if outcome == "failed"]
    kept = sum(outcome == "kept" for _, outcome, _ in results)
    for name, report in failed:
        print(f"{name}:\n{report}")
    print(f"clang-tidy: {len(entries)} files in {len(groups)} checks, {kept} files passed before with the same input, "
          f"{len(failed)} checks with findings")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
