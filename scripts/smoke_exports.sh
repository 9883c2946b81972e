#!/bin/sh
# Smoke check of the experiment CSV and the exported drawings with outside tools: Python's csv
# module, rsvg-convert, pdftoppm and, when TeX is installed, pdflatex.
# Usage: scripts/smoke_exports.sh [BUILD_DIR]   (default build/release)
set -eu
build=${1:-build/release}
cli="$build/src/cli/quilvaron-cli"
[ -x "$cli" ] || { echo "no $cli: build the quilvaron-cli target first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "experiment CSV and plot"
"$cli" experiment --method all --random 20,40 --uniform --runs 3 --seed 7 \
  --csv "$work/e.csv" --plot "$work/e.svg" >/dev/null
python3 - "$work/e.csv" <<'PY'
import csv, sys
with open(sys.argv[1], newline="") as f:
    rows = list(csv.DictReader(f))
methods = {r["method"] for r in rows}
assert len(rows) == 2 * 3 * len(methods), len(rows)
for r in rows:
    assert r["pointed"] in ("yes", "no", ""), r
    assert (r["refusal"] == "") == (r["weight"] != ""), r
    float(r["milliseconds"])
print("  %d rows, %d methods parse" % (len(rows), len(methods)))
PY
rsvg-convert -o "$work/plot.png" "$work/e.svg" && echo "  plot renders"

echo "drawings"
for method in sweep layers incremental-face; do
  for type in svg pdf tikz png; do
    "$cli" --method "$method" --random 30 --uniform --canvas 400x300 --seed 3 \
      --image "$work/$method.$type" >/dev/null
  done
  rsvg-convert -o "$work/$method-svg.png" "$work/$method.svg"
  pdftoppm -png -r 36 "$work/$method.pdf" "$work/$method-pdf" && ls "$work/$method-pdf"* >/dev/null
  echo "  $method: svg and pdf render"
  if command -v pdflatex >/dev/null 2>&1; then
    printf '\\documentclass{article}\\usepackage{tikz}\\begin{document}\\input{%s}\\end{document}\n' \
      "$work/$method.tikz" >"$work/$method-doc.tex"
    (cd "$work" && pdflatex -interaction=nonstopmode -halt-on-error "$method-doc.tex" >/dev/null)
    echo "  $method: tikz compiles"
  else
    echo "  $method: pdflatex not installed, TikZ compile skipped"
  fi
done
echo "smoke checks passed"
