#!/usr/bin/env python3
"""Times Texsift and its peers on game trees and writes the benchmark's Markdown tables.

Run by bench/run.sh, which builds the programs and finds or makes the trees:
    measure.py --build DIR --runs N --timeout S --out DIR [--skip-...] SIZE=TREE ...
Tables go to stdout and to OUT/SIZE.run/table.md, progress to stderr.
"""

import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

# Texsift's file filter (search/filter.cpp): a file whose name holds any of
# these is never read.
EXCLUDED = (
    ".ai", ".anm", ".bak", ".bat", ".bin", ".bpl", ".cform", ".cmd", ".dds", ".drv",
    ".efd", ".env_mod", ".game", ".gct", ".geom", ".graph", ".h", ".hom", ".ini", ".inf",
    ".log", ".manifest", ".net", ".ogg", ".ogm", ".omf", ".ppe", ".ps_static", ".snd_env",
    ".snd_static", ".rar", ".sav", ".script", ".sfap0", ".scc", ".som", ".tga", ".thm",
    ".txt", ".wallmarks", ".xml", ".qz", ".zip", "external.ltx", "textures.ltx", "~",
)
# What keeps a texture out of the catalogue (catalogue/catalogue.cpp).
NOT_IN_CATALOGUE = ("ui\\", "$", "#", "_bump")
GROWTH_FACTORS = (4, 16)
DROP_CACHES = "/proc/sys/vm/drop_caches"


def say(text):
    print(text, file=sys.stderr, flush=True)


# --- What Texsift reads and looks for -------------------------------------------------

def is_program_file(name):
    """Program files, and folders named like them, are skipped unless they hold "qz"."""
    return (".dll" in name or ".exe" in name) and "qz" not in name


def searchable_files(tree):
    """The files Texsift reads, relative to `tree`, sorted."""
    found = []
    for folder, folders, files in os.walk(tree, followlinks=True):
        folders[:] = [name for name in folders if not is_program_file(name)]
        for name in files:
            if not is_program_file(name) and not any(part in name for part in EXCLUDED):
                found.append(os.path.relpath(os.path.join(folder, name), tree))
    return sorted(found)


def texture_files(tree):
    """Paths below gamedata/textures, with backslashes, that the catalogue holds."""
    root = os.path.join(tree, "gamedata", "textures")
    for folder, _, files in os.walk(root, followlinks=True):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "\\")
            if not any(part in path for part in NOT_IN_CATALOGUE) and (
                    ".dds" in path or ".tga" in path):
                yield path


def catalogue_names(tree):
    """The names Texsift searches for: each texture path less its last three bytes,
    ended by a dot, and the text between the dots."""
    names = []
    for path in texture_files(tree):
        entry = path[:-3] if len(path) >= 3 else ""
        names.extend(part for part in entry.split(".") if part)
    return sorted(names)


# --- Trees ----------------------------------------------------------------------------

@dataclass
class Tree:
    """A tree to search and the files of one benchmark on it."""
    label: str
    path: Path
    work: Path  # names, file list, outputs and tables
    names: list = field(default_factory=list)
    files: list = field(default_factory=list)
    all_files: int = 0
    all_bytes: int = 0
    searched_bytes: int = 0

    def __post_init__(self):
        # Absolute: the commands run in the tree, the outputs stay in the work folder.
        self.path, self.work = self.path.resolve(), self.work.resolve()

    def prepare(self):
        self.work.mkdir(parents=True, exist_ok=True)
        self.names = catalogue_names(self.path)
        self.files = searchable_files(self.path)
        (self.work / "names").write_bytes(b"".join(os.fsencode(n) + b"\n" for n in self.names))
        (self.work / "searchable").write_bytes(b"".join(os.fsencode(f) + b"\0" for f in self.files))
        sizes = [os.path.getsize(self.path / f) for f in self.files]
        self.searched_bytes = sum(sizes)
        self.all_files, self.all_bytes = 0, 0
        for folder, _, files in os.walk(self.path):
            for name in files:
                self.all_files += 1
                self.all_bytes += os.path.getsize(os.path.join(folder, name))

    def summary(self):
        return (f"Tree `{self.path}`: {self.all_files:,} files, {mib(self.all_bytes)} MiB; "
                f"Texsift reads {len(self.files):,} files, {mib(self.searched_bytes)} MiB; "
                f"{len(self.names):,} catalogue names.")


def mib(size):
    return f"{size / 1048576:.1f}"


def warm_cache(tree):
    """Reads every file of `tree` once, so that the timed runs find it in memory."""
    say(f"warming the page cache with {tree}")
    for folder, _, files in os.walk(tree):
        for name in files:
            with open(os.path.join(folder, name), "rb") as file:
                while file.read(1 << 20):
                    pass


def add_textures(tree, factor):
    """Adds factor - 1 empty .dds files beside each catalogue texture, named after it
    (act\\act_head_v2.dds ...), so that the catalogue holds `factor` times the names.
    Files are only ever created, never opened for writing when they exist: the tree's
    other files are hard links to the source tree's."""
    root = tree / "gamedata" / "textures"
    for path in list(texture_files(tree)):
        parts = path.split("\\")
        folder, stem = root.joinpath(*parts[:-1]), parts[-1][:-4]
        made, number = 0, 2
        while made < factor - 1:
            try:
                with open(folder / f"{stem}_v{number}.dds", "xb"):
                    made += 1
            except FileExistsError:
                pass
            number += 1


def growth_tree(source, target, factor):
    """`target`: a copy of `source` made of hard links, with new textures added.
    Made beside its place and renamed when done; kept for the next run."""
    if target.is_dir():
        say(f"using the existing tree {target} (delete it to make it anew)")
        return
    partial = target.with_name(target.name + ".partial")
    shutil.rmtree(partial, ignore_errors=True)
    say(f"making {target}: hard links to {source} and {factor}x the textures")
    if subprocess.run(["cp", "-al", str(source), str(partial)]).returncode != 0:
        say("hard links failed (another file system?); copying the tree instead")
        shutil.rmtree(partial, ignore_errors=True)
        subprocess.run(["cp", "-a", str(source), str(partial)], check=True)
    add_textures(partial, factor)
    partial.rename(target)


# --- Commands and their timing ----------------------------------------------------------

@dataclass
class Command:
    key: str          # file names in the work folder, and how tables pick rows
    name: str         # short, for the notes under a table
    label: str        # Markdown
    threads: str      # "1", "all" or "default"
    argv: list
    cwd: Path
    peers: tuple = ()     # "default" and/or "one": the ratio groups it belongs to
    discard: bool = False  # output to /dev/null (cat only)
    skip: str = ""         # why the row is not measured
    texsift_threads: str = ""  # TEXSIFT_THREADS, unset when empty
    no_match_ok: bool = False  # exit status 1 means nothing matched

    def environment(self):
        env = dict(os.environ)
        env.pop("TEXSIFT_THREADS", None)
        if self.texsift_threads:
            env["TEXSIFT_THREADS"] = self.texsift_threads
        return env


@dataclass
class Result:
    command: Command
    walls: list = field(default_factory=list)
    peak_kib: int = 0
    problem: str = ""  # set when the command timed out, failed or was left out
    output_lines: int = 0

    @property
    def ok(self):
        return not self.problem and bool(self.walls)

    @property
    def minimum(self):
        return min(self.walls)

    @property
    def mean(self):
        return statistics.mean(self.walls)


def commands(tree, build, skip_compact, timed_out=None):
    """Every row of a scale's table, in order. `timed_out` maps the keys of commands
    that timed out with less work to where they did: they are not run again."""
    names, files = str(tree.work / "names"), tree.files
    root = f"{tree.path}/"
    texsift = str(Path(build).resolve() / "Texsift")
    compact = str(Path(build).resolve() / "Texsift-compact")
    at = tree.path
    rows = []
    for flag, number in (("0", 1), ("1", 2)):
        label = f"Texsift #{number} `Texsift TREE/ {flag}`"
        rows.append(Command(f"texsift{number}_1", f"Texsift #{number}", label, "1",
                            [texsift, root, flag], at, texsift_threads="1"))
        rows.append(Command(f"texsift{number}_all", f"Texsift #{number}", label, "all",
                            [texsift, root, flag], at))
        if number == 1:
            # The JSON report adds the sizes and the second look to the same search.
            rows.append(Command("texsift1_json", "Texsift #1 --json",
                                "Texsift #1 `Texsift --json TREE/`", "all",
                                [texsift, "--json", root], at))
    compact_label = "Texsift-compact `Texsift-compact TREE/`"
    for key, threads in (("compact_1", "1"), ("compact", "all")):
        compact_row = Command(key, "Texsift-compact", compact_label, threads, [compact, root], at,
                              texsift_threads="1" if threads == "1" else "")
        if skip_compact:
            compact_row.skip = "skipped (BENCH_SKIP_COMPACT=1)"
        elif not os.access(compact, os.X_OK):
            compact_row.skip = "not built"
        rows.append(compact_row)
    search = ["-F", "-f", names, "-b", "-o", "-a"]
    peer = {"peers": ("default",), "no_match_ok": True}
    one = {"peers": ("one",), "no_match_ok": True}
    rows += [
        Command("grep", "grep", "grep `grep -F -f names -b -o -a FILES`", "1",
                ["grep", *search, *files], at, peers=("default", "one"), no_match_ok=True),
        Command("rg", "rg", "ripgrep `rg -F -f names -b -o -a FILES`", "default",
                ["rg", "--no-config", *search, *files], at, **peer),
        Command("rg_1", "rg -j1", "ripgrep `rg -j1 -F -f names -b -o -a FILES`", "1",
                ["rg", "--no-config", "-j1", *search, *files], at, **one),
        Command("ugrep", "ugrep", "ugrep `ugrep -F -f names -b -o -a FILES`", "default",
                ["ugrep", *search, *files], at, **peer),
        Command("ugrep_1", "ugrep -J1", "ugrep `ugrep -J1 -F -f names -b -o -a FILES`", "1",
                ["ugrep", "-J1", *search, *files], at, **one),
        Command("cat", "cat", "cat `cat FILES > /dev/null`", "1", ["cat", *files], at,
                discard=True),
    ]
    for row in rows:
        if timed_out and row.key in timed_out and not row.skip:
            row.skip = f"not run: timeout on {timed_out[row.key]}"
    return rows


def check_length(command):
    """Refuses a command line the kernel would refuse: the files go in one go."""
    size = sum(len(os.fsencode(a)) + 9 for a in command.argv)
    size += sum(len(k) + len(v) + 10 for k, v in os.environ.items())
    if size > os.sysconf("SC_ARG_MAX") - 8192:
        sys.exit(f"measure.py: the command line of {command.key} ({size} bytes) is over "
                 f"the system's limit; use a tree with fewer files")


def drop_caches():
    """Empties the page cache; False when the machine does not let us."""
    try:
        os.sync()
        with open(DROP_CACHES, "w") as control:
            control.write("3\n")
        return True
    except OSError:
        return False


def run_once(command, work, limit):
    """One run under /usr/bin/time and timeout: (status, wall seconds, peak KiB)."""
    timing = work / f"{command.key}.time"
    argv = ["/usr/bin/time", "-f", "%e %M", "-o", str(timing), "timeout", str(limit)]
    argv += command.argv
    with open(work / f"{command.key}.err", "wb") as errors:
        output = subprocess.DEVNULL if command.discard else open(
            work / f"{command.key}.out", "wb")
        try:
            start = time.perf_counter()
            status = subprocess.run(argv, stdout=output, stderr=errors, cwd=command.cwd,
                                    env=command.environment()).returncode
            wall = time.perf_counter() - start
        finally:
            if output is not subprocess.DEVNULL:
                output.close()
    last = timing.read_text().strip().splitlines()[-1].split()
    return status, wall, int(last[-1])


def run_and_note(result, work, run, runs, limit, cold):
    """One timed run of `result`'s command; a timeout or a failure ends its runs."""
    command = result.command
    if cold:
        drop_caches()
    status, wall, kib = run_once(command, work, limit)
    if status == 124:
        result.problem = f"timeout (> {limit} s)"
        return
    if status != 0 and not (status == 1 and command.no_match_ok):
        result.problem = f"failed (status {status}, see {work / command.key}.err)"
        return
    result.walls.append(wall)
    result.peak_kib = max(result.peak_kib, kib)
    say(f"  {command.key} [{command.threads}] run {run}/{runs}: {wall:.3f} s, "
        f"{kib / 1024:.1f} MiB")


def count_output(result, work):
    output = work / f"{result.command.key}.out"
    if result.ok and not result.command.discard:
        result.output_lines = output.read_bytes().count(b"\n")
        if result.output_lines == 0:
            result.problem = "no output: check the command"


def measure_all(rows, tree, runs, limit, cold=False):
    """Times every row `runs` times. Each round runs every row once, in turn, so
    that the machine's speed drifting during the run weighs on all rows alike."""
    say(f"measuring on {tree.path}{' with a cold cache' if cold else ''}")
    results = {}
    for row in rows:
        results[row.key] = Result(row)
        if row.skip:
            results[row.key].problem = row.skip
        else:
            check_length(row)
    for run in range(1, runs + 1):
        for result in results.values():
            if not result.problem:
                run_and_note(result, tree.work, run, runs, limit, cold)
    for result in results.values():
        count_output(result, tree.work)
    return results


# --- Tables ---------------------------------------------------------------------------

def plural(count, word):
    return f"{count} {word}{'' if count == 1 else 's'}"


def seconds(value):
    return f"{value:.3f}"


def ratio(result, base):
    if not result.ok or base is None or not base.ok or base.minimum <= 0:
        return ""
    return f"{result.minimum / base.minimum:.2f}"


def fastest(results, group):
    candidates = [r for r in results.values() if group in r.command.peers and r.ok]
    return min(candidates, key=lambda r: r.minimum) if candidates else None


def table_row(cells):
    return "| " + " | ".join(cells) + " |"


def time_cells(result):
    if not result.ok:
        return [result.problem or "n/a", "", ""]
    return [seconds(result.minimum), seconds(result.mean), f"{result.peak_kib / 1024:.1f}"]


def main_table(tree, results, runs):
    peer = fastest(results, "default")
    one = fastest(results, "one")
    cat = results.get("cat")
    lines = [f"### {tree.label}", "", tree.summary(),
             f"Page cache warm; {plural(runs, 'run')} per command: wall seconds (fastest and mean "
             "run), peak = largest max RSS.", "",
             "| command | threads | min s | mean s | peak MiB | ÷ fastest peer "
             "| ÷ fastest 1-thread peer | ÷ cat |",
             "|---|---|---:|---:|---:|---:|---:|---:|"]
    for result in results.values():
        command = result.command
        single = command.threads == "1" and command.key != "cat"
        cells = [command.label, command.threads, *time_cells(result),
                 ratio(result, peer), ratio(result, one) if single else "", ratio(result, cat)]
        lines.append(table_row(cells))
    return lines + ["", peer_notes(results, peer, one), json_note(results),
                    compact_note(results), ""]


def compact_note(results):
    """The line that sets Texsift-compact beside Texsift #2 at the same threads."""
    pairs = [(threads, results.get(compact), results.get(texsift))
             for threads, compact, texsift in (("one thread", "compact_1", "texsift2_1"),
                                               ("all threads", "compact", "texsift2_all"))]
    parts = [f"{threads} {compact.minimum / texsift.minimum:.2f}"
             for threads, compact, texsift in pairs
             if compact and texsift and compact.ok and texsift.ok]
    if not parts:
        return ""
    return f"Texsift-compact ÷ Texsift #2 at the same threads: {', '.join(parts)} (fastest runs)."


def json_note(results):
    """The line that gives what the JSON report's second look costs over the same search
    with the console report."""
    json, console = results.get("texsift1_json"), results.get("texsift1_all")
    if not (json and console and json.ok and console.ok):
        return ""
    return (f"Texsift #1 `--json` (sizes and the second look) ÷ Texsift #1, all threads: "
            f"{json.minimum / console.minimum:.2f} (fastest runs).")


def peer_notes(results, peer, one):
    """The line under a scale's table: which peers the ratios divide by, and how many
    matches each peer wrote, which should agree."""
    def named(result):
        return f"{result.command.name} ({seconds(result.minimum)} s)" if result else "none"
    counts = ", ".join(f"{r.command.name} {r.output_lines:,}"
                       for r in results.values() if r.command.peers and r.ok)
    return (f"Fastest peer: {named(peer)}; fastest one-thread peer: {named(one)}. "
            f"Output lines of the peers (one per match): {counts or 'none'}.")


def cold_table(tree, results, runs):
    cat = results.get("cat")
    lines = [f"#### {tree.label}: cold cache", "",
             f"Page cache dropped before each of {plural(runs, 'run')} per command; MB/s: bytes "
             "Texsift reads (10^6) per second of the fastest run.", "",
             "| command | threads | min s | mean s | peak MiB | MB/s | ÷ cat |",
             "|---|---|---:|---:|---:|---:|---:|"]
    for result in results.values():
        rate = f"{tree.searched_bytes / 1e6 / result.minimum:.0f}" if result.ok else ""
        cells = [result.command.label, result.command.threads, *time_cells(result), rate,
                 ratio(result, cat)]
        lines.append(table_row(cells))
    lines.append("")
    return lines


def cell(result):
    if not result.ok:
        return result.problem or "n/a"
    return f"{seconds(result.minimum)} ({result.peak_kib / 1024:.1f} MiB)"


def growth_table(trees, results):
    """Rows: commands; columns: the trees with 1x, 4x and 16x the names."""
    heads = [f"{factor}x: {len(t.names):,} names" for factor, t in zip((1, *GROWTH_FACTORS), trees)]
    lines = ["### Growth with the names (medium tree)", "",
             "Same files, more catalogue names: the 4x and 16x trees add empty textures. "
             "Min wall seconds (peak MiB).", "",
             "| command | threads | " + " | ".join(heads) + " | ÷ 1x at 4x | ÷ 1x at 16x |",
             "|---|---|" + "---:|" * (len(trees) + 2)]
    for key in results[0]:
        row = [r[key] for r in results]
        command = row[0].command
        growth = [ratio(r, row[0]) for r in row[1:]]
        lines.append(table_row([command.label, command.threads, *map(cell, row), *growth]))
    lines.append("")
    return lines


def bytes_table(trees, results, keys):
    """Rows: commands; columns: time and rate on the medium and the large tree."""
    lines = ["### Growth with the bytes (medium and large trees)", "",
             "MB/s: bytes Texsift reads (10^6) per second of the fastest run. The large tree "
             "also has about twice the names.", "",
             "| command | threads | " + " | ".join(
                 f"{t.label}: min s | MB/s" for t in trees) + " | large ÷ medium |",
             "|---|---|" + "---:|" * (2 * len(trees) + 1)]
    for key in keys:
        row = [r[key] for r in results]
        cells = []
        for tree, result in zip(trees, row):
            cells += ([seconds(result.minimum),
                       f"{tree.searched_bytes / 1e6 / result.minimum:.0f}"]
                      if result.ok else [result.problem or "n/a", ""])
        command = row[0].command
        lines.append(table_row([command.label, command.threads, *cells,
                                ratio(row[-1], row[0])]))
    lines.append("")
    return lines


def first_line(argv):
    try:
        text = subprocess.run(argv, capture_output=True, text=True).stdout
        return text.splitlines()[0].strip() if text else "?"
    except OSError:
        return "?"


def machine_line():
    model = "?"
    try:
        with open("/proc/cpuinfo") as info:
            model = next(line.split(":", 1)[1].strip() for line in info
                         if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    commit = first_line(["git", "describe", "--always", "--dirty"])
    return (f"Machine: {model}, {os.cpu_count()} cores, {platform.system()} "
            f"{platform.release()}; Texsift {commit}; {first_line(['grep', '--version'])}; "
            f"{first_line(['rg', '--version'])}; "
            f"{' '.join(first_line(['ugrep', '--version']).split()[:2])}; "
            f"{datetime.date.today().isoformat()}.")


def overhead_line(limit):
    """How much of each time is the harness: `true` run the same way."""
    with tempfile.TemporaryDirectory() as folder:
        work = Path(folder)
        command = Command("true", "true", "true", "1", ["true"], work, discard=True)
        best = min(run_once(command, work, limit)[1] for _ in range(5))
    return (f"Each time includes about {best * 1000:.1f} ms of starting `/usr/bin/time` "
            "and `timeout` (`true` run the same way).")


def publish(lines, *files, quiet=False):
    """Prints `lines` (unless quiet) and appends them to each of `files`."""
    text = "\n".join(lines) + "\n"
    if not quiet:
        sys.stdout.write(text)
        sys.stdout.flush()
    for path in files:
        with open(path, "a") as out:
            out.write(text)


# --- The run --------------------------------------------------------------------------

def note_timeouts(results, where, timed_out):
    for key, result in results.items():
        if result.problem.startswith("timeout"):
            timed_out.setdefault(key, where)


def benchmark_scale(tree, options, header, timed_out):
    tree.prepare()
    table = tree.work / "table.md"
    table.write_text("")
    publish(header + [""], table, quiet=True)
    warm_cache(tree.path)
    rows = commands(tree, options.build, options.skip_compact, timed_out)
    results = measure_all(rows, tree, options.runs, options.timeout)
    note_timeouts(results, f"the {tree.label}", timed_out)
    publish(main_table(tree, results, options.runs), table)
    if not options.skip_cold:
        cold_rows = [results[k].command for k in ("texsift1_all", "texsift2_all", "rg", "cat")]
        if drop_caches():
            cold = measure_all(cold_rows, tree, options.runs, options.timeout, cold=True)
            publish(cold_table(tree, cold, options.runs), table)
            warm_cache(tree.path)
        else:
            say(f"cold-cache table skipped: {DROP_CACHES} is not writable")
            publish([f"Cold-cache table skipped: cannot write {DROP_CACHES} here.", ""], table)
    return results


def benchmark_growth(medium, medium_results, options, timed_out):
    keys = ("texsift1_all", "texsift2_all", "compact", "rg", "ugrep")
    trees, results = [medium], [{k: medium_results[k] for k in keys}]
    growth_timed_out = dict(timed_out)
    for factor in GROWTH_FACTORS:
        path = Path(options.out) / f"medium-x{factor}"
        growth_tree(medium.path, path, factor)
        tree = Tree(f"{factor}x", path, Path(options.out) / f"medium-x{factor}.run")
        tree.prepare()
        warm_cache(tree.path)
        rows = commands(tree, options.build, options.skip_compact, growth_timed_out)
        trees.append(tree)
        results.append(measure_all([r for r in rows if r.key in keys], tree, options.runs,
                                   options.timeout))
        note_timeouts(results[-1], f"the {factor}x tree", growth_timed_out)
    publish(growth_table(trees, results), medium.work / "table.md")


def parse_options():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--timeout", type=int, default=600)
    parser.add_argument("--out", default="bench/out")
    parser.add_argument("--skip-compact", action="store_true")
    parser.add_argument("--skip-growth", action="store_true")
    parser.add_argument("--skip-cold", action="store_true")
    parser.add_argument("trees", nargs="+", metavar="SIZE=TREE")
    return parser.parse_args()


def main():
    options = parse_options()
    header = [machine_line(), overhead_line(options.timeout)]
    publish(header + [""])
    done, timed_out = {}, {}
    for argument in options.trees:
        size, _, path = argument.partition("=")
        tree = Tree(f"{size} tree", Path(path), Path(options.out) / f"{size}.run")
        done[size] = (tree, benchmark_scale(tree, options, header, timed_out))
        if size == "medium" and not options.skip_growth:
            benchmark_growth(*done[size], options, timed_out)
    if "medium" in done and "large" in done:
        keys = ("texsift1_all", "texsift2_all", "compact", "rg", "ugrep", "cat")
        trees = [done["medium"][0], done["large"][0]]
        lines = bytes_table(trees, [done["medium"][1], done["large"][1]], keys)
        publish(lines, trees[1].work / "table.md")


if __name__ == "__main__":
    main()
