#!/usr/bin/env python3
"""Times the programs he3 and rtfxml file to file against their floor, measured in the same run.

The floor of a program is the processor time of its work done in-process (the benchmark's
thread time of EncodeByte, DecodeByte or RtfToXml on the same data, median of the runs) plus
that of `cat IN >/dev/null` and of `cp OUT copy`. A program's time is its whole-process time
(user + system), median of the runs after one warm-up; its peak memory is the largest resident
set of the runs. The limits printed are those the programs are held to: 1.2 times the floor,
and input + output + 16 MB of memory for he3, output + 16 MB for rtfxml to-xml.

  bench/programs_vs_floor.py [--build build/bench] [--runs 5] [--work DIR]
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

MB = 1_000_000
SLACK = 16 * 1024 * 1024


def cpu_and_peak(command):
    """Runs `command` with no output; returns (user + system seconds, peak resident bytes)."""
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(command, stdout=null, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        error = process.stderr.read().decode()
        process.stderr.close()
    if process.returncode != 0:
        sys.exit(f"{' '.join(command)} failed: {error}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def median_run(command, runs):
    cpu_and_peak(command)  # warm-up: the page cache and the allocator settle
    results = [cpu_and_peak(command) for _ in range(runs)]
    return statistics.median(r[0] for r in results), max(r[1] for r in results)


def benchmark_seconds(program, pattern, runs, work):
    """Median seconds per iteration of the benchmarks matching `pattern`, by name."""
    report = os.path.join(work, "report.json")
    subprocess.run(
        [program, f"--benchmark_filter={pattern}", f"--benchmark_repetitions={runs}",
         f"--benchmark_out={report}", "--benchmark_out_format=json"],
        check=True, stdout=subprocess.DEVNULL)
    with open(report) as file:
        runs = json.load(file)["benchmarks"]
    seconds = {}
    for run in runs:
        if run.get("aggregate_name") == "median":
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
            seconds[run["run_name"]] = run["real_time"] * scale
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/bench")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", help="folder for the data (a temporary one by default)")
    args = parser.parse_args()

    build = args.build
    huffman_bench = os.path.join(build, "bench/penlark_huffman_bench")
    conversion_bench = os.path.join(build, "bench/conversion/penlark_conversion_bench")
    he3 = os.path.join(build, "apps/he3/he3")
    rtfxml = os.path.join(build, "apps/rtfxml/rtfxml")

    with tempfile.TemporaryDirectory(dir=args.work) as work:
        text, packed, unpacked = (os.path.join(work, n) for n in ("text", "text.he3", "text.out"))
        rtf, xml, copy = (os.path.join(work, n) for n in ("doc.rtf", "doc.xml", "copy"))
        subprocess.run([huffman_bench, f"--write-text={text}"], check=True)
        subprocess.run([conversion_bench, f"--write-rtf={rtf}"], check=True)

        codec = benchmark_seconds(huffman_bench, "^(EncodeByte|DecodeByte)/text/", args.runs,
                                  work)
        conversion = benchmark_seconds(conversion_bench, "^RtfToXml", args.runs, work)
        programs = [
            ("he3 encode", [he3, "encode", text, packed], text, packed,
             codec["EncodeByte/text/manual_time"], True),
            ("he3 decode", [he3, "decode", packed, unpacked], packed, unpacked,
             codec["DecodeByte/text/manual_time"], True),
            ("rtfxml to-xml", [rtfxml, "to-xml", rtf, xml], rtf, xml,
             conversion["RtfToXml/min_time:3.000/manual_time"], False),
        ]
        print(f"load: {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")
        print(f"{'program':<14} {'in MB':>7} {'out MB':>7} {'in-proc':>8} {'floor':>8} "
              f"{'program':>8} {'ratio':>6} {'peak MB':>8} {'limit MB':>9}")
        for name, command, source, result, in_process, counts_input in programs:
            seconds, peak = median_run(command, args.runs)
            cat, _ = median_run(["cat", source], args.runs)
            cp, _ = median_run(["cp", result, copy], args.runs)
            floor = in_process + cat + cp
            in_size, out_size = os.path.getsize(source), os.path.getsize(result)
            limit = out_size + SLACK + (in_size if counts_input else 0)
            print(f"{name:<14} {in_size / MB:7.1f} {out_size / MB:7.1f} {in_process:8.3f} "
                  f"{floor:8.3f} {seconds:8.3f} {seconds / floor:6.2f} {peak / MB:8.1f} "
                  f"{limit / MB:9.1f}")


if __name__ == "__main__":
    main()
