#!/usr/bin/env bash
# Whole-process comparison of the vorn command line with netpbm, run by `./dev bench cli`:
#
#  - 200 shipping labels (600 dpi, 2363 x 3544 pixels) converted by one `vorn img` batch against a
#    shell loop of pbmtogem / gemtopnm over the same files, both directions;
#  - one page decoded by `vorn img decode` against gemtopnm (the labels as rendered, with their
#    tints dithered, and the same label as plain line art);
#  - start-up: `vorn --version` beside an empty C++ main and an empty main that starts Qt's GUI
#    application, which is what every command paid before the img commands left Qt out;
#  - data merge: 10,000 rows of the shipping label into one PDF.
#
# Targets: batch >= 2x faster than the netpbm loop both ways, single decode <= 1.5x gemtopnm,
# 10,000 labels in under 60 s. Every converted file is checked against netpbm's result first.
#
# usage: bench/cli-vs-netpbm.sh [BUILD_DIR]   (run it under /work/tools/vbuild --run on a shared machine)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
VORN="$BUILD/bin/vorn"
TEMPLATE="$ROOT/samples/shipping-label-template.vorn"
PAGES=200
MERGE_ROWS=10000
RUNS=5

for tool in hyperfine pbmtogem gemtopnm pnmtopng pngtopnm ppmtopgm pgmtopbm g++ pkg-config; do
  command -v "$tool" >/dev/null || { echo "cli bench: $tool is missing (./dev setup installs it)" >&2; exit 1; }
done
[ -x "$VORN" ] || { echo "cli bench: $VORN is not built" >&2; exit 1; }

WORK="$BUILD/bench-cli"
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK"

# Rows of shipment data, the same on every run.
make_rows() { # count
  awk -v n="$1" 'BEGIN {
    split("Ada Lindqvist,Jan de Vries,Élodie Marchand,Søren Holm,Aino Virtanen,Tomás Ó Briain", names, ",")
    split("Stockholm,Amsterdam,Paris,København,Helsinki,Dublin", cities, ",")
    print "name,street,city,country,weight,pieces,shipped,tracking,sort,route"
    for (i = 1; i <= n; i++) {
      k = (i % 6) + 1
      printf "%s,\"Harbour Street %d, unit %d\",%05d %s,EUROPE,%.1f kg,1 / 1,2026-12-%02d,VRN%010d,EU-%03d-%s,R %02d\n",
        names[k], i % 400 + 1, i % 17 + 1, 10000 + i, cities[k], (i % 90) / 10 + 0.3, i % 28 + 1, i, i % 1000, substr(cities[k], 1, 3), i % 60
    }
  }'
}

echo "== preparing $PAGES label pages at 600 dpi"
make_rows "$PAGES" > pages.csv
make_rows "$MERGE_ROWS" > merge.csv
"$VORN" render "$TEMPLATE" --merge pages.csv -d pages --format pbm --dpi 600 --name 'page-${tracking}'
# The first label once more as line art: thresholded instead of dithered.
make_rows 1 > art.csv
"$VORN" render "$TEMPLATE" --merge art.csv -d art --format png --dpi 600 --name art
pngtopnm art/art.png | ppmtopgm | pgmtopbm -threshold > art.pbm
echo "== checking that both tools agree on every file"
# The IMG files of both directions are vorn's: pbmtogem writes a white run of more than 127
# bytes (1016 pixels) modulo 128, and gemtopnm refuses its files of these pages.
mkdir -p netpbm-img vorn-img vorn-pbm
"$VORN" img encode -d vorn-img pages/*.pbm
"$VORN" img decode -d vorn-pbm vorn-img/*.img
for f in pages/*.pbm; do
  b="${f##*/}"
  gemtopnm "vorn-img/${b%.pbm}.img" | cmp -s - "$f" || { echo "cli bench: gemtopnm reads vorn-img/${b%.pbm}.img differently" >&2; exit 1; }
  # The decoded page is what netpbm's PNG round trip of the same page gives.
  pnmtopng "$f" | pngtopnm | cmp -s - "vorn-pbm/$b" || { echo "cli bench: vorn decodes vorn-img/${b%.pbm}.img differently from pngtopnm" >&2; exit 1; }
done
echo "all $PAGES pages: vorn's IMG files decode through gemtopnm to the page, and vorn decodes them as pngtopnm reads the page's PNG"
broken=0
for f in pages/*.pbm; do
  b="${f##*/}"
  pbmtogem "$f" > "netpbm-img/${b%.pbm}.img"
  gemtopnm "netpbm-img/${b%.pbm}.img" 2>/dev/null | cmp -s - "$f" || broken=$((broken + 1))
done
echo "for comparison: gemtopnm reads $broken of $PAGES files written by pbmtogem differently or not at all"
first="$(ls pages/*.pbm | head -n 1)"
cp "$first" page.pbm
"$VORN" img encode page.pbm page.img
"$VORN" img encode art.pbm art.img

echo "== start-up reference programs"
printf 'int main() { return 0; }\n' > empty.cpp
printf '#include <QGuiApplication>\nint main(int c, char** v) { QGuiApplication a(c, v); return 0; }\n' > qtgui.cpp
g++ -O2 empty.cpp -o empty-main
# shellcheck disable=SC2046
g++ -O2 -fPIC qtgui.cpp -o qtgui-main $(pkg-config --cflags --libs Qt6Gui)

# Timings go to results/NAME.csv (apart from the data files, which are CSV too).
mkdir -p results
bench() { # name, then hyperfine arguments
  local name="$1"; shift
  hyperfine --style basic --export-csv "results/$name.csv" "$@"
}

echo "== encode: one vorn batch against a pbmtogem loop"
bench encode -w 1 -r "$RUNS" -p 'rm -rf out && mkdir out' \
  -n "vorn img encode -d (batch of $PAGES)" "$VORN img encode -d out pages/*.pbm" \
  -n "pbmtogem loop ($PAGES)" 'for f in pages/*.pbm; do b=${f##*/}; pbmtogem "$f" > out/${b%.pbm}.img; done'
echo "== decode: one vorn batch against a gemtopnm loop"
bench decode -w 1 -r "$RUNS" -p 'rm -rf out && mkdir out' \
  -n "vorn img decode -d (batch of $PAGES)" "$VORN img decode -d out vorn-img/*.img" \
  -n "gemtopnm loop ($PAGES)" 'for f in vorn-img/*.img; do b=${f##*/}; gemtopnm "$f" > out/${b%.img}.pbm; done'
echo "== one page"
bench single -w 3 -r 40 \
  -n "vorn img decode (label)" "$VORN img decode page.img one.pbm" -n "gemtopnm (label)" "gemtopnm page.img > one.pbm" \
  -n "vorn img decode (line art)" "$VORN img decode art.img one.pbm" -n "gemtopnm (line art)" "gemtopnm art.img > one.pbm" \
  -n "vorn img encode (label)" "$VORN img encode page.pbm one.img" -n "pbmtogem (label)" "pbmtogem page.pbm > one.img"
echo "== start-up"
bench startup -N -w 3 -r 40 -n "empty C++ main" ./empty-main -n "vorn --version" "$VORN --version" \
  -n "empty main starting QGuiApplication" "env QT_QPA_PLATFORM=offscreen ./qtgui-main"
echo "== data merge: $MERGE_ROWS labels into one PDF"
bench merge -r 1 -n "vorn render --merge ($MERGE_ROWS rows) -o labels.pdf" \
  "$VORN render $TEMPLATE --merge merge.csv -o labels.pdf"

# ---- Summary ---------------------------------------------------------------------------------
mean() { awk -F, -v row="$2" 'NR == row + 1 { print $2 }' "results/$1.csv"; }  # seconds
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v x="$1" -v op="$2" -v t="$3" 'BEGIN { ok = op == ">=" ? x >= t : x <= t; print ok ? "met" : "MISSED" }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }

echo
echo "== summary (means of hyperfine)"
enc="$(ratio "$(mean encode 2)" "$(mean encode 1)")"
dec="$(ratio "$(mean decode 2)" "$(mean decode 1)")"
single="$(ratio "$(mean single 1)" "$(mean single 2)")"
art="$(ratio "$(mean single 3)" "$(mean single 4)")"
merge="$(mean merge 1)"
printf '%-58s %s (target >= 2x: %s)\n' "encode batch: netpbm loop / vorn batch" "${enc}x" "$(verdict "$enc" ">=" 2)"
printf '%-58s %s (target >= 2x: %s)\n' "decode batch: netpbm loop / vorn batch" "${dec}x" "$(verdict "$dec" ">=" 2)"
printf '%-58s %s (%s vs %s; target <= 1.5x: %s)\n' "single decode, label: vorn / gemtopnm" "${single}x" \
  "$(ms "$(mean single 1)")" "$(ms "$(mean single 2)")" "$(verdict "$single" "<=" 1.5)"
printf '%-58s %s (%s vs %s; target <= 1.5x: %s)\n' "single decode, line art: vorn / gemtopnm" "${art}x" \
  "$(ms "$(mean single 3)")" "$(ms "$(mean single 4)")" "$(verdict "$art" "<=" 1.5)"
printf '%-58s %s, empty main %s, Qt GUI main %s\n' "start-up: vorn --version" "$(ms "$(mean startup 2)")" \
  "$(ms "$(mean startup 1)")" "$(ms "$(mean startup 3)")"
printf '%-58s %.1f s (target < 60 s: %s)\n' "merge: $MERGE_ROWS labels to one PDF" "$merge" "$(verdict "$merge" "<=" 60)"
