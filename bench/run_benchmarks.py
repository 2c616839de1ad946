#!/usr/bin/python3
"""Runs the benchmarks of scripts/bench.sh and prints their table.

Every figure is the ratio of the program's time (or memory) to a reference
measured in the same run, interleaved with it, over several runs."""
import argparse
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LIST_SIZES = (10_000, 100_000)
COPY_BYTES = 64 << 20


def timed(command, **kwargs):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, check=True, **kwargs)
    return time.perf_counter() - start, result.stdout


def map_names(count):
    """Mixed case, some level files, some long names, as a user's folder."""
    shapes = ("castle%06d.map", "Arena_%06d.MAP", "e1l1%06d.map", "my.long.user.level.number.%06d.map",
              "DUKE%06d.Map", "zz top %06d - the very last level of all.map")
    return [shapes[i % len(shapes)] % i for i in range(count)]


def make_map_folder(root, count):
    folder = os.path.join(root, "maps-%d" % count)
    os.mkdir(folder)
    for name in map_names(count):
        os.close(os.open(os.path.join(folder, name), os.O_CREAT | os.O_WRONLY, 0o644))
    return folder


def seed_settings(config_home, program, values):
    folder = os.path.join(config_home, "Duke3d")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, os.path.basename(program) + ".conf"), "w") as conf:
        conf.write("[Levrin]\n" + "".join("%s=%s\n" % item for item in values.items()))


def spread(values):
    return min(values), statistics.median(values), max(values)


def bench_list(build, root, runs, rows):
    driver = os.path.join(build, "bench", "levrin_bench_driver")
    config = os.path.join(root, "config-list")
    medians = {}
    for count in LIST_SIZES:
        folder = make_map_folder(root, count)
        seed_settings(config, driver, {"MapDir": folder})
        env = dict(os.environ, XDG_CONFIG_HOME=config, LC_ALL="C")
        ratios, ours, refs = [], [], []
        for _ in range(runs):
            mine, out = timed([driver, "list"], env=env)
            ref, _ = timed(["sh", "-c", 'ls -f "$1" | sort >/dev/null', "sh", folder], env=env)
            expected = sum(1 for name in map_names(count) if not name.lower().startswith("e1l1"))
            if int(out) != expected:
                sys.exit("the list showed %s entries, not %d" % (out.strip(), expected))
            ratios.append(mine / ref)
            ours.append(mine)
            refs.append(ref)
        medians[count] = statistics.median(ours)
        rows.append(("map list, %d files vs `ls -f \\| sort`" % count, spread(ratios),
                     "%.0f ms vs %.0f ms" % (1000 * medians[count], 1000 * statistics.median(refs)), "<= 1.5"))
    small, large = LIST_SIZES
    growth = medians[large] / medians[small]
    nlogn = (large * math.log(large)) / (small * math.log(small))
    rows.append(("map list time, 100k files / 10k files", (growth, growth, growth),
                 "n log n: %.1f" % nlogn, "<= %.1f" % nlogn))


def bench_copy(build, root, runs, rows):
    driver = os.path.join(build, "bench", "levrin_bench_driver")
    source = os.path.join(root, "maps-copy", "big.map")
    game = os.path.join(root, "game")
    os.makedirs(os.path.dirname(source))
    os.mkdir(game)
    with open(source, "wb") as out:
        out.write(os.urandom(COPY_BYTES))
    ours_target = os.path.join(game, "e1l1.map")
    ref_target = os.path.join(game, "cp-e1l1.map")
    for target in (ours_target, ref_target):
        shutil.copyfile(source, target)
    ratios, ours, refs = [], [], []
    for _ in range(runs):
        mine, _ = timed([driver, "copy", source, ours_target])
        ref, _ = timed(["cp", source, ref_target])
        ratios.append(mine / ref)
        ours.append(mine)
        refs.append(ref)
    rows.append(("install a 64 MB map vs cp", spread(ratios),
                 "%.0f ms vs %.0f ms" % (1000 * statistics.median(ours), 1000 * statistics.median(refs)), "<= 1.2"))


def bench_start(build, root, runs, rows):
    if not os.environ.get("DISPLAY"):
        rows.append(("start-up (skipped: no display)", None, "", "<= 1.3"))
        return
    program = os.path.join(build, "levrin")
    wait = os.path.join(build, "bench", "levrin_bench_map_wait")
    minimal = os.path.join(build, "bench", "levrin_bench_minimal_gtk")
    config = os.path.join(root, "config-start")
    folder = os.path.join(root, "maps-start")
    os.mkdir(folder)
    for name in map_names(60):
        open(os.path.join(folder, name), "w").close()
    seed_settings(config, program, {"MapDir": folder, "ExeDir": os.path.join(root, "game"), "Current Map": "castle"})
    env = dict(os.environ, XDG_CONFIG_HOME=config, NO_AT_BRIDGE="1")
    times, memory, ours_t, refs_t, ours_m, refs_m = [], [], [], [], [], []
    for _ in range(runs):
        mine = subprocess.run([wait, program], env=env, stdout=subprocess.PIPE, check=True).stdout.split()
        ref = subprocess.run([wait, minimal], env=env, stdout=subprocess.PIPE, check=True).stdout.split()
        times.append(float(mine[0]) / float(ref[0]))
        memory.append(float(mine[1]) / float(ref[1]))
        ours_t.append(float(mine[0]))
        refs_t.append(float(ref[0]))
        ours_m.append(float(mine[1]))
        refs_m.append(float(ref[1]))
    rows.append(("start-up to window mapped vs minimal GTK dialog", spread(times),
                 "%.0f ms vs %.0f ms" % (1000 * statistics.median(ours_t), 1000 * statistics.median(refs_t)), "<= 1.3"))
    rows.append(("resident memory once shown vs minimal GTK dialog", spread(memory),
                 "%.1f MiB vs %.1f MiB" % (statistics.median(ours_m) / 1024, statistics.median(refs_m) / 1024),
                 "<= 1.3"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--only", choices=("list", "copy", "start"))
    args = parser.parse_args()
    rows = []
    root = tempfile.mkdtemp(prefix="levrin-bench-", dir=os.environ.get("BENCH_TMPDIR"))
    try:
        for name, bench in (("list", bench_list), ("copy", bench_copy), ("start", bench_start)):
            if args.only in (None, name):
                bench(args.build, root, args.runs, rows)
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print("| benchmark (%d runs) | ratio min | median | max | medians | goal |" % args.runs)
    print("|---|---|---|---|---|---|")
    for name, figures, absolute, goal in rows:
        cells = ["%.2f" % f for f in figures] if figures else ["-", "-", "-"]
        print("| %s | %s | %s | %s |" % (name, " | ".join(cells), absolute, goal))


if __name__ == "__main__":
    main()
