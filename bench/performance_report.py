#!/usr/bin/env python3
"""Turns the raw figures of tools/bench.sh into docs/performance.md and the gnuplot script
that draws docs/performance.png."""
import datetime
import json
import os
import platform
import sys

figures, docs = sys.argv[1], sys.argv[2]


def read(name, default=None):
    path = os.path.join(figures, name)
    if not os.path.exists(path):
        return default
    with open(path) as f:
        return f.read().strip()


sizes = {}
for line in read("sizes", "").splitlines():
    files, size = line.split()
    sizes[int(files)] = int(size)
counts = sorted(sizes)
largest = counts[-1]


def to_ms(bench):
    # CPU time: the machine is shared, and wall time would measure the neighbours too. The
    # benchmarks timed by hand (manual_time) already report their thread's CPU time.
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[bench["time_unit"]]
    manual = bench["name"].endswith("/manual_time")
    return (bench["real_time"] if manual else bench["cpu_time"]) * scale


core = {}
for files in counts:
    raw = read(f"core_{files}.json")
    if raw is None:
        continue
    by_name = {}
    for bench in json.loads(raw)["benchmarks"]:
        by_name[bench["name"].replace("/manual_time", "")] = bench
    core[files] = by_name

wine = {}
for files in counts:
    raw = read(f"wine_{files}")
    if raw:
        wine[files] = {k: float(v) for k, v in (l.split() for l in raw.splitlines() if l.strip())}


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return platform.processor()


def memory():
    with open("/proc/meminfo") as f:
        for line in f:
            if line.startswith("MemTotal"):
                return f"{int(line.split()[1]) / 1024 / 1024:.1f} GiB"
    return "?"


def mb(bench):
    return bench["bytes_per_second"] / 1e6


def bench(files, name):
    return core.get(files, {}).get(name)


rows = []  # (measure, figure, reference, ratio text, target, met)


def add(measure, figure, reference, ratio, target, met):
    verdict = "—" if met is None else ("met" if met else "**missed**")
    rows.append((measure, figure, reference, ratio, target, verdict))


# The core targets are set at 1,000,000 files; a larger listing has targets of its own below.
F = 1_000_000 if 1_000_000 in counts else largest
md5 = bench(F, "BM_MD5_16KiB")
openssl = read("openssl_md5")
if md5 and openssl:
    ref = float(openssl.rstrip("k")) * 1000 / 1e6
    ratio = mb(md5) / ref
    add("MD5, 16 KiB messages", f"{mb(md5):.0f} MB/s", f"openssl speed md5: {ref:.0f} MB/s",
        f"{ratio:.2f}x", ">= 0.8x", ratio >= 0.8)

load, touch = bench(F, "BM_LoadAndVerify"), bench(F, "BM_TouchFreshBuffer")
md5sum = read(f"md5sum_{F}")
if md5sum:
    md5sum = md5sum.split()[0]
if load and touch and md5sum:
    ref = float(md5sum) * 1000 + to_ms(touch)
    ratio = to_ms(load) / ref
    add("Load and verify (read, digest check, LF to NUL)", f"{to_ms(load):.0f} ms",
        f"md5sum {float(md5sum) * 1000:.0f} ms + touch {to_ms(touch):.0f} ms = {ref:.0f} ms",
        f"{ratio:.2f}x", "<= 1.2x", ratio <= 1.2)

lf, scan = bench(F, "BM_LfToNul"), bench(F, "BM_MemchrScan")
if lf and scan:
    ratio = mb(lf) / mb(scan)
    add("LF to NUL", f"{mb(lf):.0f} MB/s ({to_ms(lf):.1f} ms)",
        f"memchr scan for LF: {mb(scan):.0f} MB/s ({to_ms(scan):.1f} ms)", f"{ratio:.2f}x",
        ">= 0.8x", ratio >= 0.8)

index = bench(F, "BM_FolderIndex")
if index:
    add("Folder index", f"{to_ms(index):.1f} ms ({index.get('folders', 0):.0f} folders)",
        f"memchr scan for LF: {to_ms(scan):.1f} ms" if scan else "", "", "", None)
for name, text in (("BM_ListRootFolder", "List the root folder"),
                   ("BM_ListLargestFolder", "List the largest folder")):
    b = bench(F, name)
    if b:
        add(text, f"{to_ms(b) * 1000:.0f} µs ({b.get('rows', 0):.0f} rows)", "", "", "", None)

walk = bench(F, "BM_ScanLines")
for name, text in (("BM_SearchTypedDoc", 'Search, typed "*.doc"'),
                   ("BM_SearchTypedWord", 'Search, typed "factura"'),
                   ("BM_SearchClassAll", 'Search, class "All files"'),
                   ("BM_SearchClassImages", "Search, class of images")):
    b = bench(F, name)
    if b:
        rate = b["names/s"] / 1e6
        ref = f"memchr walk over the lines: {walk['names/s'] / 1e6:.0f} M names/s" if walk else ""
        add(text, f"{rate:.1f} M names/s ({to_ms(b):.0f} ms, {b.get('rows', 0):.0f} rows)", ref,
            "", ">= 10 M names/s", rate >= 10)

for column, text, limit in ((1, "Name", 400), (2, "Size", 150), (3, "Date", 150),
                            (0, "Status", None)):
    b = bench(F, f"BM_SortAllRows/column:{column}")
    if b:
        add(f"Sort {b.get('rows', 0):.0f} rows by {text}", f"{to_ms(b):.0f} ms", "", "",
            f"<= {limit} ms" if limit else "", to_ms(b) <= limit if limit else None)

csv = bench(F, "BM_CsvAllFiles")
if csv:
    add('CSV of the "All files" results', f"{mb(csv):.0f} MB/s ({to_ms(csv):.0f} ms)", "", "",
        ">= 300 MB/s", mb(csv) >= 300)

def wine_save_and_peak(w, files, save_limit):
    if "save_write_ms" in w:
        add(f"Wine: writing the results file ({w.get('save_write_bytes', 0) / 1e6:.1f} MB)",
            f"{w['save_write_ms']:.0f} ms (CPU {w.get('save_write_cpu_ms', 0):.0f} ms)", "", "",
            "", None)
    if "save_command_ms" in w:
        add("Wine: the Save search command, the save dialog included",
            f"{w['save_command_ms']:.0f} ms (CPU {w.get('save_command_cpu_ms', 0):.0f} ms; "
            f"{w.get('save_bytes', 0) / 1e6:.1f} MB)", "", "",
            f"<= {save_limit} ms" if save_limit else "",
            w["save_command_ms"] <= save_limit if save_limit else None)
    if "peak_working_set_bytes" in w:
        limit = sizes[files] + 64 * w.get("search_all_rows", 0)
        peak = w["peak_working_set_bytes"]
        add("Wine: peak working set", f"{peak / 2**20:.0f} MiB",
            f"file {sizes[files] / 2**20:.0f} MiB + 64 B x {w.get('search_all_rows', 0):.0f} rows",
            f"{peak / limit:.2f}x", f"<= {limit / 2**20:.0f} MiB", peak <= limit)


w = wine.get(F, {})
if w:
    def wine_row(key, text, limit):
        # Judged by wall time; the window thread's CPU time beside it shows what a machine
        # without neighbours would come closer to.
        if key in w:
            cpu = w.get(key.replace("_ms", "_cpu_ms"))
            figure = f"{w[key]:.0f} ms" + (f" (CPU {cpu:.0f} ms)" if cpu is not None else "")
            add(text, figure, "", "", f"<= {limit} ms" if limit else "",
                w[key] <= limit if limit else None)

    wine_row("start_to_idle_ms",
             f"Wine: start to idle (tree {w.get('tree_items', 0):.0f} items, root "
             f"{w.get('root_rows', 0):.0f} rows, summary {w.get('summary_text_bytes', 0):.0f} "
             f"bytes of text and {w.get('summary_rows', 0):.0f} check rows)", 3000)
    wine_row("search_all_ms", f'Wine: "All files" search to idle ({w.get("search_all_rows", 0):.0f} rows)', 1500)
    wine_row("search_doc_ms", f'Wine: "*.doc" search to idle ({w.get("search_doc_rows", 0):.0f} rows)', None)
    wine_row("show_root_ms", f"Wine: the root folder shown again ({w.get('root_rows', 0):.0f} rows)", None)
    wine_row("sort_root_size_ms", "Wine: the root folder sorted by Size", None)
    for key, text in (("sort_name_ms", "Name"), ("sort_size_ms", "Size"), ("sort_date_ms", "Date"),
                      ("sort_status_ms", "Status")):
        wine_row(key, f"Wine: column click on {text} to idle", 1000)
    wine_row("type_to_find_slowest_key_ms",
             f"Wine: a key typed into the results ({w.get('type_to_find_rows', 0):.0f} rows), "
             "slowest of three", 100)
    if "expand_all_ms" in w:
        done = w.get("expand_all_finished") == 1
        add(f'Wine: "*" at the root of the tree ({w.get("expand_all_tree_items", 0):.0f} items '
            + ("in the end)" if done else "when Escape stopped it)"),
            f"{w['expand_all_ms']:.0f} ms (CPU {w.get('expand_all_cpu_ms', 0):.0f} ms); the "
            f"window answered within {w.get('expand_all_longest_wait_ms', 0):.0f} ms",
            "", "", "<= 2000 ms", done and w["expand_all_ms"] <= 2000)
    wine_save_and_peak(w, F, None)

# The largest listing, when it is larger than the one of the core targets: Wine's own targets.
target_rows, rows = rows, []
T = largest
w = wine.get(T, {}) if T > F else {}
if w:
    def wine_row_at(key, text, limit):
        if key in w:
            cpu = w.get(key.replace("_ms", "_cpu_ms"))
            figure = f"{w[key]:.0f} ms" + (f" (CPU {cpu:.0f} ms)" if cpu is not None else "")
            add(text, figure, "", "", f"<= {limit} ms", w[key] <= limit)

    wine_row_at("start_to_idle_ms",
                f"Wine: start to idle (tree {w.get('tree_items', 0):.0f} items, root "
                f"{w.get('root_rows', 0):.0f} rows)", 10000)
    wine_row_at("search_all_ms",
                f'Wine: "All files" search to idle ({w.get("search_all_rows", 0):.0f} rows)', 3000)
    wine_row_at("sort_name_ms", "Wine: column click on Name to idle", 3000)
    wine_save_and_peak(w, T, 10000)
large_rows, rows = rows, target_rows

# Growth with the listing: one line per size.
growth = [("Load and verify", lambda f: to_ms(bench(f, "BM_LoadAndVerify"))),
          ("Folder index", lambda f: to_ms(bench(f, "BM_FolderIndex"))),
          ('Search "*.doc"', lambda f: to_ms(bench(f, "BM_SearchTypedDoc"))),
          ('Search "All files"', lambda f: to_ms(bench(f, "BM_SearchClassAll"))),
          ("Sort by Name", lambda f: to_ms(bench(f, "BM_SortAllRows/column:1"))),
          ("Sort by Size", lambda f: to_ms(bench(f, "BM_SortAllRows/column:2"))),
          ("Sort by Date", lambda f: to_ms(bench(f, "BM_SortAllRows/column:3"))),
          ("Wine: start to idle", lambda f: wine[f]["start_to_idle_ms"]),
          ('Wine: "All files" to idle', lambda f: wine[f]["search_all_ms"]),
          ("Wine: sort by Size", lambda f: wine[f]["sort_size_ms"]),
          ("Wine: writing the results", lambda f: wine[f]["save_write_ms"])]


def value(get, files):
    try:
        return get(files)
    except (KeyError, TypeError):
        return None


# The run's own date: when its listings were listed, so that a report written again from the
# same figures keeps it.
sizes_path = os.path.join(figures, "sizes")
now = datetime.datetime.fromtimestamp(os.path.getmtime(sizes_path), datetime.timezone.utc).strftime(
    "%Y-%m-%d %H:%M UTC")
lines = ["# Performance", "",
         "Written by `tools/bench.sh` (release builds; core benchmarks with Google Benchmark, the "
         "main window driven under Wine by `win_bench.exe`). Every reference was measured in the "
         "same run as its figure.", "",
         f"- Machine: {cpu_model()}, {os.cpu_count()} cores, {memory()} memory",
         f"- Date: {now}; {platform.system()} {platform.release()}",
         "- Listings: synthetic (`listing_writer synthetic --files N --folders N/50+1 --depth 8`): " +
         ", ".join(f"{f:,} files = {sizes[f] / 1e6:.1f} MB" for f in counts),
         "- Load average (1, 5, 15 min) at the start of each run: " +
         "; ".join(f"{f:,} files: core {read(f'load_{f}', '?')}"
                   + (f", Wine {read(f'wine_load_{f}')}" if read(f"wine_load_{f}") else "")
                   for f in counts), "",
         f"## Targets ({F:,} files, {sizes[F] / 1e6:.1f} MB)", "",
         "| Measure | Figure (CPU time; Wine: wall time) | Reference (same run) | Ratio | Target | |",
         "|---|---|---|---|---|---|"]
lines += ["| " + " | ".join(r) + " |" for r in rows]
if large_rows:
    lines += ["", f"## Targets under Wine ({T:,} files, {sizes[T] / 1e6:.1f} MB)", "",
              "| Measure | Figure (wall time) | Reference (same run) | Ratio | Target | |",
              "|---|---|---|---|---|---|"]
    lines += ["| " + " | ".join(r) + " |" for r in large_rows]
lines += ["", "## Growth with the listing (ms)", "",
          "| Files | MB | " + " | ".join(name for name, _ in growth) + " |",
          "|---|---|" + "---|" * len(growth)]
data = []
for f in counts:
    vals = [value(get, f) for _, get in growth]
    lines.append(f"| {f:,} | {sizes[f] / 1e6:.1f} | " +
                 " | ".join("—" if v is None else f"{v:.1f}" for v in vals) + " |")
    data.append(f"{f} " + " ".join("NaN" if v is None else f"{v:.3f}" for v in vals))
missing = [f for f in counts if f not in wine]
lines += ["", "![Time against listing size](performance.png)", ""]
if missing:
    lines += ["Wine figures missing for: " + ", ".join(f"{f:,}" for f in missing) +
              " files (see the run's win_bench output).", ""]
notes_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "performance_notes.md")
notes = open(notes_path).read().strip() if os.path.exists(notes_path) else None
if notes:
    lines += ["## Notes", "", notes, ""]
with open(os.path.join(docs, "performance.md"), "w") as f:
    f.write("\n".join(lines))

with open(os.path.join(figures, "growth.dat"), "w") as f:
    f.write("\n".join(data) + "\n")
plots = [f"'{figures}/growth.dat' using 1:{i + 2} with linespoints lw 2"
         + (" dt 2" if name.startswith("Wine") else "") + f" title '{name}'"
         for i, (name, _) in enumerate(growth)]
xtics = ", ".join(f"'{f:,}' {f}" for f in counts)
with open(os.path.join(figures, "performance.gp"), "w") as f:
    f.write(f"""set terminal pngcairo size 1200,700 font 'Sans,10'
set output '{docs}/performance.png'
set title 'Time against listing size (log-log; a slope of 1 is linear growth; dashed: Wine, wall time)'
set logscale xy
set xlabel 'files in the listing'
set ylabel 'milliseconds'
set key outside right top
set grid
set xrange [{counts[0] / 2}:{counts[-1] * 2}]
set xtics ({xtics})
set datafile missing 'NaN'
plot {", ".join(plots)}
""")
