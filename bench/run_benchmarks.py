#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Runs the benchmarks built in a build directory and writes BENCHMARKS.md.

Every figure in the output is measured by this run on this machine. The
machine is shared and loaded by others, so each figure that has a target is a
ratio to a baseline measured in the same run, the two interleaved, and
medians are reported.

Usage: run_benchmarks.py --build BUILD_DIR --work SCRATCH_DIR --out BENCHMARKS.md
"""

import argparse
import datetime
import json
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import time

# Targets: the subject may take at most this many times its baseline.
TARGET_STARTUP_TIME = 1.10
TARGET_STARTUP_RSS = 1.05
# The project's own limit is 1.5x on any machine; 1.3x here leaves a slower
# machine (an instrument cart's laptop) its margin.
TARGET_EVENT_BURST = 1.3
TARGET_EVENT_BURST_CPU = 2.0
# Endurance: the heap in use may grow by at most this much after the first
# cycles, over the whole run.
ENDURANCE_HEAP_BOUND = 64 * 1024


def log(message):
    print(f"[bench] {message}", file=sys.stderr, flush=True)


def read_text(path, default=""):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except OSError:
        return default


def first_line_of(command):
    try:
        out = subprocess.run(command, capture_output=True, text=True, check=False).stdout
    except OSError:
        return "unknown"
    lines = out.strip().splitlines()
    return lines[0].strip() if lines else "unknown"


def cmake_cache(build, key):
    match = re.search(rf"^{re.escape(key)}:[A-Z]+=(.*)$",
                      read_text(os.path.join(build, "CMakeCache.txt")), re.M)
    return match.group(1) if match else ""


def load_average():
    return " / ".join(read_text("/proc/loadavg").split()[:3]) or "unknown"


def machine(build):
    cpuinfo = read_text("/proc/cpuinfo")
    models = re.findall(r"^model name\s*:\s*(.*)$", cpuinfo, re.M)
    model = models[0].strip() if models else platform.processor() or "unknown"
    mem_kib = re.search(r"^MemTotal:\s*(\d+) kB", read_text("/proc/meminfo"), re.M)
    os_name = re.search(r'^PRETTY_NAME="?(.*?)"?$', read_text("/etc/os-release"), re.M)
    compiler = cmake_cache(build, "CMAKE_CXX_COMPILER") or "c++"
    qt = first_line_of(["pkg-config", "--modversion", "Qt6Widgets"])
    gbench = first_line_of(["dpkg-query", "-W", "-f=${Version}", "libbenchmark-dev"])
    return {
        "CPU": model,
        "Cores (online, as the OS sees them)": str(os.cpu_count()),
        "Memory": f"{int(mem_kib.group(1)) / 1024 / 1024:.1f} GiB" if mem_kib else "unknown",
        "OS": f"{os_name.group(1) if os_name else platform.system()}, kernel {platform.release()}",
        "Compiler": first_line_of([compiler, "--version"]),
        "Qt": qt,
        "Google Benchmark": gbench,
        "Build type": cmake_cache(build, "CMAKE_BUILD_TYPE") or "unknown",
        "Qt platform": "offscreen (QT_QPA_PLATFORM=offscreen)",
    }


def run_process(argv, cwd, env):
    """Runs one process to its end: wall time from spawn to exit, peak RSS."""
    start = time.perf_counter_ns()
    proc = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    stderr = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter_ns() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    proc.stderr.close()
    if proc.returncode != 0 or b"returned with the dialog open" in stderr:
        raise RuntimeError(f"{argv[0]} failed ({proc.returncode}): {stderr.decode(errors='replace')}")
    return elapsed / 1e6, usage.ru_maxrss  # ms, KiB


def measure_startup(build, work, env, runs, warmup):
    subject = os.path.join(build, "bench", "app", "bench_program_startup")
    baseline = os.path.join(build, "bench", "baseline", "bench_baseline_dialog_startup")
    # A fresh start-up directory, without a settings file: the program's
    # first start.
    cwd = os.path.join(work, "startup")
    shutil.rmtree(cwd, ignore_errors=True)
    os.makedirs(cwd)
    # The program again in a German desktop session: its translations and
    # the toolkit's are loaded at start-up.
    german = dict(env, LANGUAGE="de", LANG="de_DE.UTF-8")
    for _ in range(warmup):
        run_process([baseline], cwd, env)
        run_process([subject], cwd, env)
        run_process([subject], cwd, german)
    results = {"subject": [], "baseline": [], "subject_de": []}
    for i in range(runs):
        # Alternate which of the three goes first.
        order = [("baseline", baseline, env), ("subject", subject, env),
                 ("subject_de", subject, german)]
        order = order[i % 3:] + order[:i % 3]
        for name, exe, run_env in order:
            results[name].append(run_process([exe], cwd, run_env))
    if os.listdir(cwd):
        log(f"note: start-up left files in {cwd}: {os.listdir(cwd)}")
    return results


def run_gbench(exe, args, work, env, name):
    cwd = os.path.join(work, name)
    shutil.rmtree(cwd, ignore_errors=True)
    os.makedirs(cwd)
    out = os.path.join(work, f"{name}.json")
    argv = [exe, f"--benchmark_out={out}", "--benchmark_out_format=json"] + args
    log(" ".join(argv))
    proc = subprocess.run(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, check=False)
    if proc.returncode != 0:
        raise RuntimeError(f"{exe} failed: {proc.stderr.decode(errors='replace')}")
    with open(out, encoding="utf-8") as f:
        data = json.load(f)
    for b in data["benchmarks"]:
        if b.get("error_occurred"):
            raise RuntimeError(f"{b['name']}: {b.get('error_message')}")
    shutil.rmtree(cwd, ignore_errors=True)
    return data


def iterations_of(data, run_name):
    """The repetitions of one benchmark; run_name may leave off the suffixes
    Google Benchmark adds ("/iterations:1/manual_time")."""
    return [b for b in data["benchmarks"]
            if b.get("run_type") == "iteration" and
            (b.get("run_name") == run_name or b.get("run_name", "").startswith(run_name + "/"))]


def median_of(data, run_name, field):
    values = [b[field] for b in iterations_of(data, run_name)]
    if not values:
        raise RuntimeError(f"no results for {run_name}")
    return statistics.median(values), min(values), max(values), len(values)


def ns_per_op(data, run_name):
    """Median time per operation in ns, with its spread, over repetitions."""
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
    values = [b["real_time"] * scale[b["time_unit"]] for b in iterations_of(data, run_name)]
    if not values:
        raise RuntimeError(f"no results for {run_name}")
    return statistics.median(values), min(values), max(values), len(values)


def label_of(data, run_name):
    for b in iterations_of(data, run_name):
        if b.get("label"):
            return b["label"]
    return ""


def fmt_time_ns(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} µs"
    return f"{ns:.0f} ns"


def verdict(ratio, target):
    return "PASS" if ratio <= target else "MISS"


def endurance_lines(endurance, cycles):
    run = iterations_of(endurance, f"Endurance/{cycles}")
    if not run:
        raise RuntimeError("no results for the endurance run")
    e = run[0]
    growth = e["heap_growth"]
    counted = e["cycles"] - 100
    fds_back = e["fds_at_end"] == e["fds_after_warm_up"]
    threads_back = e["threads_at_end"] == e["threads_after_warm_up"]
    lines = [
        "## Endurance",
        "",
        f"`bench_endurance`: {int(e['cycles']):,} cycles in one process of what the operator "
        "does all day, through the program's main window, its dialogs and the simulated "
        "tracker at 192.0.2.10: Connect and OK, Readiness Test, Select Units with another "
        "length unit and OK (the new units go to the running application, the settings file "
        "is saved), Disconnect and OK to the question (the application is stopped). The "
        "simulated library runs as in the program's own run: its trace goes out, and nothing "
        "asks it to keep the calls. Measured from the end of the first 100 cycles, when "
        "whatever is made once has been made; heap in use is glibc's `mallinfo2().uordblks`, "
        "descriptors and threads are the entries of `/proc/self/fd` and `/proc/self/task`.",
        "",
        "| | At the start | After 100 cycles | At the end |",
        "|---|---|---|---|",
        f"| Heap in use | {e['heap_at_start'] / 1024:.1f} KiB | "
        f"{e['heap_after_warm_up'] / 1024:.1f} KiB | {e['heap_at_end'] / 1024:.1f} KiB |",
        f"| Open file descriptors | {int(e['fds_at_start'])} | {int(e['fds_after_warm_up'])} | "
        f"{int(e['fds_at_end'])} |",
        f"| Threads | {int(e['threads_at_start'])} | {int(e['threads_after_warm_up'])} | "
        f"{int(e['threads_at_end'])} |",
        "",
        f"- Heap growth over the {int(counted):,} cycles after the first 100: "
        f"{growth / 1024:.1f} KiB, that is {e['heap_growth_per_1000_cycles'] / 1024:.2f} KiB "
        f"per 1,000 cycles. Bound: at most {ENDURANCE_HEAP_BOUND // 1024} KiB in all: "
        f"{'PASS' if growth <= ENDURANCE_HEAP_BOUND else 'MISS'}.",
        f"- File descriptors back to their count: {'yes' if fds_back else 'NO'}; threads back "
        f"to their count: {'yes' if threads_back else 'NO'}.",
        f"- {e['ms_per_cycle']:.2f} ms per cycle (wall time, the first 100 cycles left out).",
        "",
    ]
    return lines


def write_report(path, info, startup, burst, settings, window, tracker, endurance, call, meta):
    s_ms = [r[0] for r in startup["subject"]]
    b_ms = [r[0] for r in startup["baseline"]]
    s_rss = [r[1] for r in startup["subject"]]
    b_rss = [r[1] for r in startup["baseline"]]
    t_s, t_b = statistics.median(s_ms), statistics.median(b_ms)
    r_s, r_b = statistics.median(s_rss), statistics.median(b_rss)
    d_ms = [r[0] for r in startup["subject_de"]]
    d_rss = [r[1] for r in startup["subject_de"]]
    t_d, r_d = statistics.median(d_ms), statistics.median(d_rss)
    # The ratio of the medians, and the median of the per-pair ratios as a
    # check that does not depend on pairing luck.
    pair_time = statistics.median(a / b for a, b in zip(s_ms, b_ms))
    pair_rss = statistics.median(a / b for a, b in zip(s_rss, b_rss))

    burst_s = median_of(burst, "MainWindowEventBurst", "real_time")
    burst_b = median_of(burst, "PlainQtEventBurst", "real_time")
    click_s = median_of(burst, "MainWindowEventBurst", "click_wait_us")
    click_b = median_of(burst, "PlainQtEventBurst", "click_wait_us")
    direct = median_of(burst, "MainWindowListenerBurst", "real_time")
    click_d = median_of(burst, "MainWindowListenerBurst", "click_wait_us")
    cpu_s = median_of(burst, "MainWindowEventBurst", "cpu_time")
    cpu_b = median_of(burst, "PlainQtEventBurst", "cpu_time")
    cpu_d = median_of(burst, "MainWindowListenerBurst", "cpu_time")

    rows = [
        ("Start-up, whole process (spawn to exit, main window shown and closed)",
         f"{t_s:.1f} ms", f"{t_b:.1f} ms", t_s / t_b, TARGET_STARTUP_TIME),
        ("Peak resident memory of the same runs (ru_maxrss)",
         f"{r_s / 1024:.1f} MiB", f"{r_b / 1024:.1f} MiB", r_s / r_b, TARGET_STARTUP_RSS),
        ("Start-up in a German desktop session (`LANGUAGE=de`)",
         f"{t_d:.1f} ms", f"{t_b:.1f} ms", t_d / t_b, TARGET_STARTUP_TIME),
        ("Peak resident memory of the German runs",
         f"{r_d / 1024:.1f} MiB", f"{r_b / 1024:.1f} MiB", r_d / r_b, TARGET_STARTUP_RSS),
        ("Event burst: 100,000 tracker events handled by the connected main window",
         f"{burst_s[0]:.1f} ms", f"{burst_b[0]:.1f} ms", burst_s[0] / burst_b[0],
         TARGET_EVENT_BURST),
        ("Window thread's CPU time during the same burst",
         f"{cpu_s[0]:.1f} ms", f"{cpu_b[0]:.1f} ms", cpu_s[0] / cpu_b[0],
         TARGET_EVENT_BURST_CPU),
    ]

    lines = []
    add = lines.append
    add("# Benchmarks")
    add("")
    add("Written by `bash scripts/bench.sh` from the measurements of one run; nothing here is "
        "edited by hand. Run it again to refresh every figure.")
    add("")
    add(f"Run of {meta['date']}, took {meta['duration']:.0f} s. The machine is shared: load "
        f"average {meta['load_before']} before the run, {meta['load_after']} after it. "
        "That is why every figure with a target is a ratio to a baseline measured in the "
        "same run, interleaved with it, and medians are reported.")
    add("")
    add("The raw results of the run are left in `build-bench/benchrun/` (Google Benchmark "
        "JSON, and `startup.json` with every start-up run's time in ms and peak RSS in KiB).")
    add("")
    add("## Machine")
    add("")
    add("| | |")
    add("|---|---|")
    for key, value in info.items():
        add(f"| {key} | {value} |")
    add("")
    add("## Figures with a target")
    add("")
    add("| Figure | Kelm Utilities (median) | Baseline (median) | Ratio | Target | Result |")
    add("|---|---|---|---|---|---|")
    for name, subject, baseline, ratio, target in rows:
        add(f"| {name} | {subject} | {baseline} | {ratio:.2f}x | <= {target:.2f}x | "
            f"{verdict(ratio, target)} |")
    add("")
    add("## Start-up and memory")
    add("")
    add("- Kelm Utilities: `bench_program_startup`, the program's own application object and "
        "entry point (`app/main.cpp`'s `theApp`, the framework's `main`), with one modal driver "
        "queued before `main` that ends the main window as soon as `DoModal` has shown it and "
        "processed the pending events. Run in a directory without a settings file (a first "
        "start).")
    add("- Baseline: `bench_baseline_dialog_startup`, a bare `QDialog` with fifteen "
        "`QPushButton`s in a layout, shown, activated, pending events processed, then ended; "
        "built in the same tree with the same flags.")
    add(f"- {len(s_ms)} runs of each after {meta['warmup']} warm-up runs of each (discarded), "
        "alternating, the order within each pair alternating too. Time is wall time from "
        "spawning the process to its exit (`os.wait4`); memory is that process's `ru_maxrss` "
        "from the same `wait4`.")
    add("")
    add("| | Kelm Utilities | Baseline |")
    add("|---|---|---|")
    add(f"| Time, median (min - max) | {t_s:.1f} ms ({min(s_ms):.1f} - {max(s_ms):.1f}) | "
        f"{t_b:.1f} ms ({min(b_ms):.1f} - {max(b_ms):.1f}) |")
    add(f"| Peak RSS, median (min - max) | {r_s / 1024:.1f} MiB ({min(s_rss) / 1024:.1f} - "
        f"{max(s_rss) / 1024:.1f}) | {r_b / 1024:.1f} MiB ({min(b_rss) / 1024:.1f} - "
        f"{max(b_rss) / 1024:.1f}) |")
    add(f"| Median of the per-pair ratios (time / memory) | {pair_time:.2f}x / {pair_rss:.2f}x "
        "| |")
    add(f"| In German: time, median (min - max) | {t_d:.1f} ms ({min(d_ms):.1f} - "
        f"{max(d_ms):.1f}) | |")
    add(f"| In German: peak RSS, median (min - max) | {r_d / 1024:.1f} MiB "
        f"({min(d_rss) / 1024:.1f} - {max(d_rss) / 1024:.1f}) | |")
    add("")
    add("## Event burst")
    add("")
    add("- Kelm Utilities: the program's `CTovAppsDlg`, connected through its Connect button "
        "and the Connect to Tracker dialog's OK (192.0.2.10, \"user\"), simulated tracker with "
        "automatic events off and its trace discarded. A sending thread fires 100,000 events "
        "with `TrackerSim::EmitBusy` / `EmitApplication` (busy, ReadinessTest running, not busy, "
        "ReadinessTest stopped, over and over); the library's thread delivers them to the "
        "window's listeners, which post `WM_APP_STATE` unless one is already on its way (its "
        "handler applies the enabling rule to the flags as they are when it runs). Timed from "
        "the first send until the window's listeners have taken the 100,000th event and the "
        "window thread has applied the rule after it, seen by a bench-only subclass that "
        "counts the events and the messages and passes every one on unchanged.")
    add("- Baseline: 100,000 `QEvent`s of a user type posted with `QCoreApplication::postEvent` "
        "from a sending thread to a plain `QWidget`, counted in its `event()`, timed until the "
        "last is handled.")
    add("- Both pump the window thread with the same `AfxPumpEvents` (process events, check, "
        "sleep 1 ms when not done) and run in one process, repetitions interleaved in random "
        f"order (Google Benchmark `--benchmark_enable_random_interleaving`), {burst_s[3]} "
        f"repetitions each. The window thread's CPU time is Google Benchmark's CPU time of "
        f"the thread that runs the benchmark, which is the window thread.")
    add("- Click wait: once the sender has sent 50,000 events, the operator's click arrives "
        "(a time stamp and a flag, as input from the window system arrives while the window "
        "thread is busy). The window thread takes it the next time it returns to its event "
        "loop and clicks through the real widget (`AfxTestClick` on Select Units; in the "
        "baseline `QTest::mouseClick` on a `QPushButton`). The wait runs until the click's "
        "handler starts (`WM_COMMAND` / `BN_CLICKED` reaching the main window; the "
        "button's `clicked` signal). Select Units then opens its dialog, which the driver "
        "cancels; that time is inside the program's burst time.")
    add("")
    add("| | Kelm Utilities | Baseline | Ratio |")
    add("|---|---|---|---|")
    add(f"| Burst of 100,000 events, median (min - max) | {burst_s[0]:.1f} ms ({burst_s[1]:.1f} "
        f"- {burst_s[2]:.1f}) | {burst_b[0]:.1f} ms ({burst_b[1]:.1f} - {burst_b[2]:.1f}) | "
        f"{burst_s[0] / burst_b[0]:.2f}x |")
    add(f"| Per event | {burst_s[0] * 1e3 / 100000:.2f} µs | {burst_b[0] * 1e3 / 100000:.2f} µs "
        "| |")
    add(f"| Click wait during the burst, median (min - max) | {click_s[0] / 1000:.2f} ms "
        f"({click_s[1] / 1000:.2f} - {click_s[2] / 1000:.2f}) | {click_b[0] / 1000:.2f} ms "
        f"({click_b[1] / 1000:.2f} - {click_b[2] / 1000:.2f}) | "
        f"{click_s[0] / click_b[0]:.2f}x (no target) |")
    add(f"| Window thread's CPU time during the burst, median | {cpu_s[0]:.1f} ms | "
        f"{cpu_b[0]:.1f} ms | {cpu_s[0] / cpu_b[0]:.2f}x |")
    msgs = median_of(burst, "MainWindowEventBurst", "state_messages")
    add(f"| `WM_APP_STATE` messages the window handled for the 100,000 events, median (min - "
        f"max) | {msgs[0]:,.0f} ({msgs[1]:,.0f} - {msgs[2]:,.0f}) | 100,000 events | |")
    add(f"| Breakdown (no target): the same events handed to the window's `HandleBusyEvent` / "
        f"`HandleApplicationEvent` straight from the sending thread, without the library's "
        f"queue and thread (`MainWindowListenerBurst`) | {direct[0]:.1f} ms ({direct[1]:.1f} - "
        f"{direct[2]:.1f}); window thread CPU {cpu_d[0]:.1f} ms; click wait "
        f"{click_d[0] / 1000:.2f} ms | {burst_b[0]:.1f} ms | {direct[0] / burst_b[0]:.2f}x |")
    if iterations_of(tracker, "EventBurst/100000"):
        lib_ns = ns_per_op(tracker, "EventBurst/100000")
        add(f"| Part of it: the simulated library alone delivering 100,000 events to a "
            f"listener that only counts (`bench_tracker_events`, sent from the one thread) "
            f"| {fmt_time_ns(lib_ns[0])} | | |")
    add("")
    add("## Settings file and units argument (absolute times)")
    add("")
    add("`bench_startup`, in a scratch directory on the disk (the program keeps its settings "
        "file in its start-up directory) and, for comparison, in `/dev/shm`. Median over "
        f"{meta['settings_reps']} repetitions of Google Benchmark's own iteration counts; "
        "the file is the program's default record.")
    add("")
    add("| Operation | Median per call (min - max) | Where |")
    add("|---|---|---|")
    settings_rows = [
        ("Load (read and decode the settings file)", "SettingsLoad"),
        ("Save on the disk (write beside, fsync, rename)", "SettingsSaveOnDisk"),
        ("Save in memory (tmpfs: the same, fsync next to free)", "SettingsSaveInMemory"),
        ("Bare write + fsync of as many bytes on the same disk", "WriteAndFsyncOnDisk"),
        ("UnitsArgument::FromSettings (loads the settings file, then builds the argument)",
         "UnitsArgumentFromSettings"),
        ("AfxLoadString (one text of the string table)", "LoadStringById"),
    ]
    where = {"LoadStringById": "no file: the string table in memory"}
    medians = {}
    for title, name in settings_rows:
        value = ns_per_op(settings, name)
        medians[name] = value[0]
        add(f"| {title} | {fmt_time_ns(value[0])} ({fmt_time_ns(value[1])} - "
            f"{fmt_time_ns(value[2])}) | {label_of(settings, name) or where.get(name, '')} |")
    add("")
    disk, mem, fsync = (medians["SettingsSaveOnDisk"], medians["SettingsSaveInMemory"],
                        medians["WriteAndFsyncOnDisk"])
    add(f"A Save on the disk takes {fmt_time_ns(disk)}; a bare write and fsync of as many "
        f"bytes on the same disk, measured moments later, {fmt_time_ns(fsync)}; the same Save "
        f"in tmpfs, where fsync costs next to nothing, {fmt_time_ns(mem)}. So the program's "
        "own part of a Save is about the tmpfs figure and the rest of a Save on the disk is "
        "the disk's fsync, whose time varies from moment to moment on this shared virtual "
        "disk by more than the program's whole part (see the min - max).")
    add("")
    add("## Windows opened and closed in one process (absolute times, no target)")
    add("")
    add("`bench_window_startup`: the main window built from its template, initialised and "
        "shown, then closed, in a process where the window system already runs; and the "
        "Select Units dialog the same way.")
    add("")
    add("| Window | Median (min - max) |")
    add("|---|---|")
    for title, name in (("Main window", "MainWindowOpenAndClose"),
                        ("Select Units", "SelectUnitsOpenAndClose")):
        value = ns_per_op(window, name)
        add(f"| {title} | {fmt_time_ns(value[0])} ({fmt_time_ns(value[1])} - "
            f"{fmt_time_ns(value[2])}) |")
    add("")
    add("## The cost of the window's wait (absolute times, no target)")
    add("")
    add("`bench_tracker_call`: one quick tracker call (`startedApplications` of the connected "
        "simulated tracker at 192.0.2.10, nothing running) made on the window thread itself, "
        "and made as the main window makes every call: on the tracker's own thread while the "
        "window thread waits in its loop, answering the desktop (`CCallThread::Call`).")
    add("")
    add("| Call | Median (min - max) |")
    add("|---|---|")
    direct = ns_per_op(call, "TrackerCallDirect")
    waited = ns_per_op(call, "TrackerCallWhileTheWindowWaits")
    for title, value in (("Made directly", direct), ("Made while the window waits", waited)):
        add(f"| {title} | {fmt_time_ns(value[0])} ({fmt_time_ns(value[1])} - "
            f"{fmt_time_ns(value[2])}) |")
    add("")
    add(f"The wait adds {fmt_time_ns(waited[0] - direct[0])} to a call (medians): two thread "
        "switches and a turn of the window thread's event loop. A real tracker's call goes over "
        "the network and takes milliseconds to seconds.")
    add("")
    lines.extend(endurance_lines(endurance, meta["endurance_cycles"]))
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    print("\n".join(lines[lines.index("## Figures with a target"):]
                    [:len(rows) + 4]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--startup-runs", type=int, default=30)
    parser.add_argument("--warmup", type=int, default=3)
    parser.add_argument("--burst-reps", type=int, default=15)
    parser.add_argument("--settings-reps", type=int, default=5)
    parser.add_argument("--endurance-cycles", type=int, choices=[1000, 10000], default=10000)
    args = parser.parse_args()

    build, work = os.path.abspath(args.build), os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    began = time.monotonic()
    meta = {"date": datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z"),
            "load_before": load_average(), "warmup": args.warmup,
            "settings_reps": args.settings_reps, "endurance_cycles": args.endurance_cycles}
    info = machine(build)

    log(f"start-up: {args.startup_runs} runs each, interleaved")
    startup = measure_startup(build, work, env, args.startup_runs, args.warmup)
    with open(os.path.join(work, "startup.json"), "w", encoding="utf-8") as f:
        json.dump(startup, f)

    bench = os.path.join(build, "bench")
    reps = [f"--benchmark_repetitions={args.burst_reps}",
            "--benchmark_enable_random_interleaving=true"]
    burst = run_gbench(os.path.join(bench, "app", "bench_window_events"), reps, work, env,
                       "window_events")
    short = ["--benchmark_min_time=0.2", f"--benchmark_repetitions={args.settings_reps}"]
    settings = run_gbench(os.path.join(bench, "settings", "bench_startup"), short, work, env,
                          "settings")
    window = run_gbench(os.path.join(bench, "app", "bench_window_startup"),
                        ["--benchmark_min_time=0.2", "--benchmark_repetitions=3"], work, env,
                        "window_startup")
    tracker = run_gbench(os.path.join(bench, "tracker", "bench_tracker_events"),
                         ["--benchmark_filter=EventBurst/100000", "--benchmark_repetitions=3"],
                         work, env, "tracker_events")

    call = run_gbench(os.path.join(bench, "app", "bench_tracker_call"),
                      ["--benchmark_min_time=0.2", "--benchmark_repetitions=5"], work, env,
                      "tracker_call")

    log(f"endurance: {args.endurance_cycles} cycles")
    endurance = run_gbench(os.path.join(bench, "app", "bench_endurance"),
                           [f"--benchmark_filter=Endurance/{args.endurance_cycles}/"], work, env,
                           "endurance")

    meta["load_after"] = load_average()
    meta["duration"] = time.monotonic() - began
    write_report(args.out, info, startup, burst, settings, window, tracker, endurance, call,
                 meta)
    log(f"wrote {args.out}")


if __name__ == "__main__":
    main()
