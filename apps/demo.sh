#!/usr/bin/env bash
# The demonstration run by ./dev demo: renders the sample shipping label to PNG and PDF with the
# vorn command line and says where the files are and how to open them.
set -u
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
BIN="$ROOT/build/bin"
LABEL="$ROOT/samples/shipping-label.vorn"
OUT="$ROOT/build/demo"

echo "Vorn Drawing Engine demo"
echo
"$BIN/vorn" --version || { echo "demo: the vorn tool is not built (run ./dev build)" >&2; exit 1; }
echo
mkdir -p "$OUT"

echo "The sample document:"
"$BIN/vorn" info "$LABEL" || exit 1
echo
echo "Rendering it without a window:"
"$BIN/vorn" render "$LABEL" -o "$OUT/shipping-label.png" --dpi 300 || exit 1
"$BIN/vorn" render "$LABEL" -o "$OUT/shipping-label.pdf" || exit 1
echo
echo "Done. The rendered label is in:"
echo "  $OUT/shipping-label.png   (300 dpi image)"
echo "  $OUT/shipping-label.pdf   (vector PDF, 100 x 150 mm page)"
echo
echo "Open them with your desktop's viewer, for example:"
echo "  xdg-open \"$OUT/shipping-label.png\""
echo "  xdg-open \"$OUT/shipping-label.pdf\""
echo "or paste file://$OUT/shipping-label.pdf into a web browser."
echo
echo "More: $BIN/vorn --help (render to SVG, resave documents), ./dev test, ./dev bench."
