"""Prints line and branch coverage per file and per folder from gcovr's JSON report, and checks
each folder's target. Usage: coverage_report.py COVERAGE_JSON [--no-targets]; exits 1 when a
target is missed (never with --no-targets, which prints the figures alone)."""
import json
import sys

# Folder: (lines %, branches %) at least; None where there is no target.
TARGETS = {
    "app": (100, 90),
    "patch": (100, 90),
    "addon": (100, 90),
    "installer": (100, 90),
    "platform/posix": (95, None),
}


def count(lines):
    """[lines covered, lines, branches taken, branches], and where lines and branches were missed."""
    code = [l for l in lines if not l["gcovr/noncode"] and not l["gcovr/excluded"]]
    branches = [b["count"] for l in code for b in l["branches"]]
    missed = [l["line_number"] for l in code if l["count"] == 0]
    untaken = [l["line_number"] for l in code if any(b["count"] == 0 for b in l["branches"])]
    return [sum(l["count"] > 0 for l in code), len(code), sum(c > 0 for c in branches),
            len(branches)], (missed, untaken)


def percent(covered, total):
    return 100.0 * covered / total if total else 100.0


def listed(numbers):
    return ",".join(map(str, numbers[:10])) + (",..." if len(numbers) > 10 else "")


def row(name, figures, missed=((), ())):
    lines = f"{figures[0]:>5}/{figures[1]:<5}{percent(figures[0], figures[1]):6.1f}%"
    branches = f"{figures[2]:>5}/{figures[3]:<5}{percent(figures[2], figures[3]):6.1f}%"
    where = f"{listed(missed[0])}{' | ' if any(missed) else ''}{listed(missed[1])}"
    print(f"{name:<36}{lines}  {branches}  {where}")


def folder_of(path):
    return path.rsplit("/", 1)[0] if "/" in path else "."


def main(report, check_targets=True):
    files = sorted(json.load(open(report))["files"], key=lambda f: f["file"])
    folders = {}
    print(f"{'file':<36}{'lines':<19}{'branches':<19}lines not run | with a branch not taken")
    for entry in files:
        figures, missed = count(entry["lines"])
        row(entry["file"], figures, missed)
        total = folders.setdefault(folder_of(entry["file"]), [0, 0, 0, 0])
        total[:] = [a + b for a, b in zip(total, figures)]
    print(f"\n{'folder':<36}{'lines':<19}branches")
    for name, figures in sorted(folders.items()):
        row(name + "/", figures)
    row("all", [sum(f[i] for f in folders.values()) for i in range(4)])
    if not check_targets:
        return 0
    missed_targets = []
    for name, (lines, branches) in TARGETS.items():
        figures = folders.get(name, [0, 0, 0, 0])
        if percent(figures[0], figures[1]) < lines:
            missed_targets.append(f"{name}/ lines under {lines}%")
        if branches is not None and percent(figures[2], figures[3]) < branches:
            missed_targets.append(f"{name}/ branches under {branches}%")
    for missed in missed_targets:
        print(f"target missed: {missed}")
    if not missed_targets:
        print("every folder meets its target")
    return 1 if missed_targets else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], "--no-targets" not in sys.argv[2:]))
