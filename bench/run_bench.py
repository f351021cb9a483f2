#!/usr/bin/env python3
"""Runs every benchmark of a release build and prints one table; writes the figures as JSON.

Usage: run_bench.py [--build build-bench] [--pairs 7] [--ui-runs 3] [--out FILE]
See bench/README.md for what each figure means.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MAIN_SIZE = "1310 x 749"
MEMORY_AFTER_S = 1.5
START_TIMEOUT_S = 60.0
STALL_BUDGET_MS = 16.0


def now_ns():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC)


class Display:
    """The caller's display, or a private Xvfb when there is none."""

    def __init__(self):
        self.server = None
        self.env = {}
        if os.environ.get("DISPLAY") and self._answers(os.environ["DISPLAY"]):
            return
        if not shutil.which("Xvfb"):
            sys.exit("run_bench: no display and no Xvfb (install xvfb)")
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            sys.exit("run_bench: Xvfb did not start")
        self.env = {"DISPLAY": ":" + number}

    @staticmethod
    def _answers(display):
        if not shutil.which("xdpyinfo"):
            return True
        return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def close(self):
        if self.server:
            self.server.terminate()
            self.server.wait()


def read_probe(path):
    marks = {}
    try:
        with open(path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2 and parts[0] not in marks:
                    marks[parts[0]] = int(parts[1])
    except FileNotFoundError:
        pass
    return marks


def memory_kib(pid):
    values = {}
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                key, _, rest = line.partition(":")
                if key in ("Rss", "Pss"):
                    values[key] = int(rest.split()[0])
    except OSError:
        pass
    return values


def start_once(command, env, probe, wants_progress):
    """Starts `command`, returns its start-up marks (ms after the start) and memory at 1.5 s."""
    if os.path.exists(probe):
        os.unlink(probe)
    run_env = dict(env, OAKRIDGE_BENCH_PROBE=probe)
    start = now_ns()
    proc = subprocess.Popen(command, env=run_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    memory = {}
    try:
        deadline = start + int(START_TIMEOUT_S * 1e9)
        memory_at = start + int(MEMORY_AFTER_S * 1e9)
        while True:
            marks = read_probe(probe)
            done = "painted" in marks and (not wants_progress or "progress-gone" in marks)
            if not memory and now_ns() >= memory_at:
                memory = memory_kib(proc.pid)
            if done and memory:
                break
            if proc.poll() is not None or now_ns() > deadline:
                raise RuntimeError(f"{command[0]} ended or timed out before it was ready (marks {marks})")
            time.sleep(0.002)
    finally:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    painted = (marks["painted"] - start) / 1e6
    # Ready: the read has finished and its window is gone, and the main window is on screen.
    ready = max(marks.get("progress-gone", marks["painted"]), marks["painted"])
    return {"painted_ms": painted, "ready_ms": (ready - start) / 1e6,
            "rss_kib": memory.get("Rss", 0), "pss_kib": memory.get("Pss", 0)}


def startup_pairs(build, pairs, env, scratch):
    program = [os.path.join(build, "bin", "oakridge")]
    empty = [os.path.join(build, "bench", "oakridge_empty_window")]
    home = os.path.join(scratch, "home")
    for sub in ("state", "config", "run", "devices"):
        os.makedirs(os.path.join(home, sub), exist_ok=True)
    os.chmod(os.path.join(home, "run"), 0o700)
    run_env = dict(os.environ, **env,
                   XDG_STATE_HOME=os.path.join(home, "state"), XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_RUNTIME_DIR=os.path.join(home, "run"), OAKRIDGE_DEVICE_DIR=os.path.join(home, "devices"))
    probe = os.path.join(scratch, "probe.txt")
    # One start of each first: the program's first start copies its macro folders, and both load
    # their libraries into the page cache. Neither is what a user's later starts pay.
    start_once(program, run_env, probe, True)
    start_once(empty, run_env, probe, False)
    results = []
    for i in range(pairs):
        pair = {}
        order = [("oakridge", program, True), ("empty", empty, False)]
        if i % 2:
            order.reverse()
        for name, command, wants_progress in order:
            pair[name] = start_once(command, run_env, probe, wants_progress)
        results.append(pair)
    return results


def summarise_pairs(pairs):
    summary = {}
    for key in ("painted_ms", "ready_ms", "rss_kib", "pss_kib"):
        program = [p["oakridge"][key] for p in pairs]
        empty = [p["empty"][key] for p in pairs]
        ratios = [a / b for a, b in zip(program, empty) if b]
        summary[key] = {"oakridge_median": statistics.median(program), "empty_median": statistics.median(empty),
                        "median_ratio": statistics.median(ratios) if ratios else None}
    return summary


def ui_bench(build, env, runs):
    results = []
    for _ in range(runs):
        out = subprocess.run([os.path.join(build, "bench", "oakridge_ui_bench")], env=dict(os.environ, **env),
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
        if out.returncode != 0:
            raise RuntimeError("oakridge_ui_bench failed: " + out.stderr.strip())
        results.append(json.loads(out.stdout))
    return results


def median_phases(runs):
    """Per phase, the run in the middle: by elapsed time for the read, by longest gap for the rest."""
    median = {}
    for phase in runs[0]:
        key = "elapsed_ms" if phase == "startup_read" else "max_gap_ms"
        ordered = sorted((run[phase] for run in runs), key=lambda p: p[key])
        median[phase] = ordered[len(ordered) // 2]
    return median


def google_bench(build, scratch):
    path = os.path.join(scratch, "gbench.json")
    out = subprocess.run([os.path.join(build, "bench", "oakridge_bench"), "--benchmark_out=" + path,
                          "--benchmark_out_format=json"],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=600)
    if out.returncode != 0:
        raise RuntimeError("oakridge_bench failed: " + out.stderr.strip())
    with open(path) as f:
        return json.load(f)


def fmt(value, digits=1):
    return "-" if value is None else f"{value:.{digits}f}"


def table(rows):
    widths = [max(len(str(r[i])) for r in rows) for i in range(len(rows[0]))]
    lines = []
    for n, row in enumerate(rows):
        if len(row) == 1 or row[1:] == ("",) * (len(row) - 1):
            lines.append(row[0])
            continue
        cells = [str(c).ljust(widths[0]) if i == 0 else str(c).rjust(widths[i]) for i, c in enumerate(row)]
        lines.append("  ".join(cells).rstrip())
        if n == 0:
            lines.append("  ".join("-" * w for w in widths))
    return "\n".join(lines)


def stall_verdict(phase):
    if phase["max_gap_ms"] < STALL_BUDGET_MS:
        return "ok"
    held = {"max_gap_with_task_start_ms": "task start", "max_gap_with_task_end_ms": "task end",
            "max_gap_with_frame_ms": "frame", "max_gap_other_ms": "other"}
    # Every kind of work the longest gap held (a gap can hold a frame and a task's end, say).
    worst = [name for key, name in held.items() if phase.get(key, 0) >= phase["max_gap_ms"]]
    return "over: " + " + ".join(worst)


def build_table(pairs, summary, ui, gbench, ui_runs):
    n = len(pairs)
    rows = [("figure", "oakridge", "floor", "ratio")]
    rows.append((f"Whole process, {n} alternating pairs against an empty {MAIN_SIZE} GTK3 window (medians)", "", "", ""))
    rows.append(("  start to first painted main window (ms)", fmt(summary["painted_ms"]["oakridge_median"]),
                 fmt(summary["painted_ms"]["empty_median"]), fmt(summary["painted_ms"]["median_ratio"], 2)))
    rows.append(("  start to read finished, progress window gone (ms)", fmt(summary["ready_ms"]["oakridge_median"]),
                 fmt(summary["ready_ms"]["empty_median"]), fmt(summary["ready_ms"]["median_ratio"], 2)))
    for key, label in (("rss_kib", "RSS"), ("pss_kib", "PSS")):
        rows.append((f"  {label} {MEMORY_AFTER_S} s after start (MiB)", fmt(summary[key]["oakridge_median"] / 1024),
                     fmt(summary[key]["empty_median"] / 1024), fmt(summary[key]["median_ratio"], 2)))
    read = ui["startup_read"]
    floor = read["transfers"] * read["latency_ms"]
    rows.append((f"Start-up read of the six simulated devices (median of {ui_runs} runs)", "", "", ""))
    rows.append((f"  elapsed at {read['latency_ms']} ms per transfer vs {read['transfers']} transfers x "
                 f"{read['latency_ms']} ms (ms)", fmt(read["elapsed_ms"]), fmt(floor),
                 fmt(read["elapsed_ms"] / floor, 2) if floor else "-"))
    rows.append((f"Longest UI-thread stall: gap between 1 ms timer ticks (ms; budget {STALL_BUDGET_MS:.0f}; "
                 f"median of {ui_runs} runs)", "", "", ""))
    idle = ui["idle"]["max_gap_ms"]
    for key, label in (("startup_read", "during the start-up read (1 ms per transfer)"),
                       ("write", "during a write of all stages (20 ms per transfer)"),
                       ("slider_drag", "while dragging a stage slider (20 ms per transfer)")):
        phase = ui[key]
        rows.append((f"  {label}", fmt(phase["max_gap_ms"]), fmt(idle), stall_verdict(phase)))
    rows.append(("  (floor: the same timer with nothing to do; \"over\" names what the longest gap held)",
                 "", "", ""))
    rows.append(("Macros (Google Benchmark, shipped macros of each model)", "", "", ""))
    for b in gbench["benchmarks"]:
        name = b["name"]
        if name.startswith(("BM_MacroEncode/", "BM_MacroDecode/")):
            kind, encoding, model = name.split("/")[:3]
            verb = "encode" if kind.endswith("Encode") else "decode"
            rows.append((f"  {verb} {encoding} ({model}): MB/s / thousand macros/s",
                         f"{fmt(b.get('bytes_per_second', 0) / 1e6)} / {b.get('items_per_second', 0) / 1e3:.0f}", "", ""))
    for b in gbench["benchmarks"]:
        if b["name"].startswith("BM_LoadShippedMacros_"):
            when = "first start (copies the folders)" if "First" in b["name"] else "later start (working copies)"
            rows.append((f"  load the shipped macro files and folders, {when} (ms)",
                         fmt(b["real_time"] / 1000.0, 2), "", ""))
    for b in gbench["benchmarks"]:
        if b["name"].startswith("BM_MainWindowToFirstFrame"):
            rows.append(("Main window built, laid out and painted in-process, headless (ms)",
                         fmt(b["real_time"]), "", ""))
    return table(rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--pairs", type=int, default=7)
    parser.add_argument("--ui-runs", type=int, default=3, help="runs of the in-process benchmark")
    parser.add_argument("--out")
    args = parser.parse_args()
    if args.pairs < 1 or args.ui_runs < 1:
        sys.exit("run_bench: --pairs and --ui-runs must be at least 1")
    build = os.path.abspath(args.build)
    out_path = args.out or os.path.join(build, "bench", "results.json")
    scratch = tempfile.mkdtemp(prefix="oakridge-bench-")
    display = Display()
    try:
        load = os.getloadavg()
        pairs = startup_pairs(build, args.pairs, display.env, scratch)
        summary = summarise_pairs(pairs)
        ui_runs = ui_bench(build, display.env, args.ui_runs)
        gbench = google_bench(build, scratch)
    finally:
        display.close()
        shutil.rmtree(scratch, ignore_errors=True)
    ui = median_phases(ui_runs)
    text = build_table(pairs, summary, ui, gbench, len(ui_runs))
    print(text)
    result = {"machine": {"cpus": os.cpu_count(), "load_average_at_start": load,
                          "display": "Xvfb" if display.server else os.environ.get("DISPLAY")},
              "startup": {"pairs": pairs, "summary": summary}, "ui": {"median": ui, "runs": ui_runs},
              "google_benchmark": gbench, "table": text}
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    with open(out_path + ".tmp", "w") as f:
        json.dump(result, f, indent=2)
    os.replace(out_path + ".tmp", out_path)
    print(f"\nJSON: {out_path}")


if __name__ == "__main__":
    main()
