#!/usr/bin/env bash
# Builds the summary-print benchmark in Release, runs both sides in one process with repetitions,
# and prints the medians on 100,000 list lines: the summary filled, prepared and written to a PDF
# file / the same document drawn straight with QPainter on a QPdfWriter (target at most 1.5),
# the pages and file sizes of both, and the memory of the report against the size of its lines.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_summary_print
out=$(mktemp)
"$build/bench/bench_summary_print" --benchmark_repetitions=${REPETITIONS:-5} \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
engine, direct = runs["EnginePreparePdf"], runs["DirectQPainterPdf"]
mb = lambda name: engine[name] / 1e6
print(f"engine: fill + prepare + PDF, median:  {engine['real_time']:.0f} ms")
print(f"direct QPainter on QPdfWriter, median: {direct['real_time']:.0f} ms")
print(f"ratio engine / direct: {engine['real_time'] / direct['real_time']:.2f} (target at most 1.5)")
print(f"  of which fillSummary + prepare():     {engine['fill_prepare_ms']:.0f} ms")
print(f"pages: engine {engine['pages']:.0f}, direct {direct['pages']:.0f}")
print(f"PDF: engine {engine['pdf_bytes'] / 1e6:.2f} MB, direct {direct['pdf_bytes'] / 1e6:.2f} MB")
print(f"list lines (one byte a character):      {mb('list_lines_bytes'):.1f} MB")
print(f"text object's lines (2 bytes a char):   {mb('line_block_bytes'):.1f} MB")
print(f"heap taken by fillSummary:              {mb('fill_heap_bytes'):.1f} MB")
print(f"heap taken by prepare() on top of it:   {mb('prepare_heap_bytes'):.2f} MB")
print(f"resident peak, fill + prepare:          {mb('rss_peak_first_bytes'):.1f} MB (new template)")
print(f"resident peak, fill + prepare again:    {mb('rss_peak_repeat_bytes'):.1f} MB (same template, over a "
      f"resident set that still holds the last print; heap afterwards {mb('heap_held_repeat_bytes'):+.1f} MB)")
print(f"resident peak while writing the PDF:    {mb('rss_peak_pdf_bytes'):.1f} MB")
PY
rm -f "$out"
