#!/usr/bin/env python3
"""Plants faults in the engine one at a time and tells which the tests catch.

    plant.py FAULTS [--commit REV] [--tests REGEX] [--target NAME] [--out FILE] [--keep DIR]
    plant.py --make FILE... [--every N]    writes faults of the usual kinds for the lines of the files
    plant.py --compare OLD NEW             the faults OLD's tests caught and NEW's missed

FAULTS holds one fault a line as JSON: {"id": ..., "file": ..., "old": ..., "new": ...}; the first
occurrence of "old" in "file" becomes "new". The tree at REV (HEAD by default) is checked out into a
scratch worktree and built once (only the target NAME, when given: the tests REGEX picks must be
its); then each fault is planted, the tree built again (only what it touches), ctest run (only the tests matching REGEX, when given), and the fault taken back out.
Each result is a JSON line on stdout or in FILE: caught (a test failed), missed (all passed),
unbuilt (the fault does not compile) or stale (its "old" text is not in the file). Running the
same faults over two commits tells what a change of the tests lost:
    plant.py tests/faults/faults.jsonl --commit OLD --out old.jsonl
    plant.py tests/faults/faults.jsonl --out new.jsonl
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def run(args, cwd, timeout=None):
    """The command's exit code; its output is kept only for a failure to set the tree up."""
    try:
        done = subprocess.run(args, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
    except subprocess.TimeoutExpired:
        return 124, b"timed out"
    return done.returncode, done.stdout


def build(target):
    return ["cmake", "--build", "build"] + (["--target", target] if target else [])


def set_up(commit, tree, target):
    code, out = run(["git", "worktree", "add", "--detach", tree, commit], ROOT)
    if code != 0:
        sys.exit("plant.py: cannot check out %s: %s" % (commit, out.decode(errors="replace")))
    for step in (["cmake", "--preset", "default", "-DVELTRANE_TESTS=ON", "-DVELTRANE_BENCH=OFF"],
                 build(target)):
        code, out = run(step, tree)
        if code != 0:
            sys.exit("plant.py: %s failed:\n%s" % (" ".join(step), out.decode(errors="replace")[-4000:]))


def try_fault(fault, tree, tests, target):
    path = os.path.join(tree, fault["file"])
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return "stale"
    if fault["old"] not in text:
        return "stale"
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(fault["old"], fault["new"], 1))
    try:
        if run(build(target), tree)[0] != 0:
            return "unbuilt"
        ctest = ["ctest", "--test-dir", "build", "-j2", "--timeout", "120", "--stop-on-failure"]
        if tests:
            ctest += ["-R", tests]
        return "missed" if run(ctest, tree, timeout=1800)[0] == 0 else "caught"
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)


# The usual slips, each tried on a line in this order; the first that applies makes the fault.
SLIPS = [(" <= ", " < "), (" >= ", " > "), (" < ", " <= "), (" > ", " >= "), (" == ", " != "),
         (" != ", " == "), (" && ", " || "), (" || ", " && "), (" + 1", " + 2"), (" - 1", " - 2"),
         ("return 1;", "return 0;"), ("true", "false"), ("++", "--")]


def make(files, every):
    """One fault a line that has a slip to make, every Nth of them, as FAULTS lines."""
    n = 0
    for name in files:
        with open(os.path.join(ROOT, name), encoding="utf-8") as f:
            lines = f.read().split("\n")
        for number, line in enumerate(lines, 1):
            code = line.strip()
            if not code or code.startswith(("//", "#", "*")) or "<<" in code or "template" in code:
                continue
            slip = next(((a, b) for a, b in SLIPS if a in line), None)
            if slip is None or lines.count(line) > 1:
                continue
            n += 1
            if n % every == 0:
                print(json.dumps({"id": "%s:%d %s" % (name, number, slip[0].strip()), "file": name,
                                  "old": line, "new": line.replace(slip[0], slip[1], 1)}, ensure_ascii=False))


def compare(old, new):
    def results(path):
        with open(path, encoding="utf-8") as f:
            return {r["id"]: r["result"] for r in map(json.loads, f)}
    before, after = results(old), results(new)
    lost = [i for i, r in before.items() if r == "caught" and after.get(i) != "caught"]
    for i in lost:
        print("lost: %s (%s)" % (i, after.get(i, "not run")))
    print("%d caught before, %d of them caught after, %d lost" % (
        sum(r == "caught" for r in before.values()), sum(r == "caught" for i, r in after.items()
                                                         if before.get(i) == "caught"), len(lost)))
    return 1 if lost else 0


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--make":
        every = int(sys.argv[sys.argv.index("--every") + 1]) if "--every" in sys.argv else 1
        return make([a for a in sys.argv[2:] if a != "--every" and a != str(every)], every)
    if len(sys.argv) == 4 and sys.argv[1] == "--compare":
        return compare(sys.argv[2], sys.argv[3])
    parser = argparse.ArgumentParser(description="Plants faults one at a time and tells which the tests catch.")
    parser.add_argument("faults")
    parser.add_argument("--commit", default="HEAD")
    parser.add_argument("--tests", default="")
    parser.add_argument("--target", default="", help="build only this target")
    parser.add_argument("--out", default="")
    parser.add_argument("--keep", default="", help="build in this folder and keep it (a second run is faster)")
    args = parser.parse_args()
    with open(args.faults, encoding="utf-8") as f:
        faults = [json.loads(line) for line in f if line.strip() and not line.startswith("#")]
    # the commit as this repository names it: HEAD is ours, not the scratch tree's
    code, out = run(["git", "rev-parse", "--verify", args.commit + "^{commit}"], ROOT)
    if code != 0:
        sys.exit("plant.py: no commit %s" % args.commit)
    commit = out.decode().strip()
    tree = args.keep or tempfile.mkdtemp(prefix="veltrane-faults-")
    if not os.path.isdir(os.path.join(tree, "build")):
        if os.path.isdir(tree):
            os.rmdir(tree)
        set_up(commit, tree, args.target)
    elif run(["git", "checkout", "--quiet", "--detach", commit], tree)[0] != 0:
        # a kept tree is reused for whatever commit is asked, never silently for the one it last held
        sys.exit("plant.py: cannot check out %s in %s" % (commit, tree))
    out = open(args.out, "w", encoding="utf-8") if args.out else sys.stdout
    counts = {}
    try:
        for fault in faults:
            result = try_fault(fault, tree, args.tests, args.target)
            counts[result] = counts.get(result, 0) + 1
            out.write(json.dumps({"id": fault["id"], "result": result}) + "\n")
            out.flush()
    finally:
        if not args.keep:
            run(["git", "worktree", "remove", "--force", tree], ROOT)
            shutil.rmtree(tree, ignore_errors=True)
    print(", ".join("%d %s" % (n, what) for what, n in sorted(counts.items())), file=sys.stderr)


if __name__ == "__main__":
    sys.exit(main())
