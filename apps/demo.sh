#!/usr/bin/env bash
# The demonstration run by ./dev demo: renders the sample shipping label to PNG and PDF with the
# vorn command line, then shows it in Vorn Designer: with a display the designer opens on the label;
# without one it plays a scripted session on the offscreen platform and writes its screenshots and
# files next to the rendered ones. It says where the files are and how to open them.
set -u
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
BIN="$ROOT/build/bin"
LABEL="$ROOT/samples/shipping-label.vorn"
OUT="$ROOT/build/demo"

echo "Vorn Drawing Engine demo"
echo
"$BIN/vorn" --version || { echo "demo: the vorn tool is not built (run ./dev build)"; exit 0; }
echo
mkdir -p "$OUT"

# The label comes from the sample generator when the kept sample file is not there.
if [ ! -f "$LABEL" ] && [ -x "$BIN/vorn-make-samples" ]; then
  LABEL="$OUT/shipping-label.vorn"
  "$BIN/vorn-make-samples" label "$LABEL" "$ROOT/samples/logo.svg" >/dev/null || true
fi
if [ ! -f "$LABEL" ]; then
  echo "demo: no sample document yet; what exists: the library, vorn --help, ./dev test, ./dev bench"
  exit 0
fi

echo "The sample document:"
"$BIN/vorn" info "$LABEL" || echo "demo: vorn info failed"
echo
echo "Rendering it without a window:"
"$BIN/vorn" render "$LABEL" -o "$OUT/shipping-label.png" --dpi 300 || echo "demo: rendering to PNG failed"
"$BIN/vorn" render "$LABEL" -o "$OUT/shipping-label.pdf" || echo "demo: rendering to PDF failed"
echo
if [ -f "$ROOT/samples/shipping-label-template.vorn" ]; then
  echo "Data merge: a label per row of samples/shipping-labels.csv, as one PDF and as 300 dpi images:"
  "$BIN/vorn" render "$ROOT/samples/shipping-label-template.vorn" --merge "$ROOT/samples/shipping-labels.csv" \
    -o "$OUT/shipping-labels.pdf" || echo "demo: the merge failed"
  "$BIN/vorn" render "$ROOT/samples/shipping-label-template.vorn" --merge "$ROOT/samples/shipping-labels.csv" \
    -d "$OUT/labels" --format png --dpi 300 --name 'label-${tracking}' && ls "$OUT/labels" | sed 's/^/  /'
  echo
fi
echo "Done. The rendered label is in:"
echo "  $OUT/shipping-label.png   (300 dpi image)"
echo "  $OUT/shipping-label.pdf   (vector PDF, 100 x 150 mm page)"
echo "  $OUT/shipping-labels.pdf  (the merged labels, a page per row)"
echo
echo "Open them with your desktop's viewer, for example:"
echo "  xdg-open \"$OUT/shipping-label.png\""
echo "  xdg-open \"$OUT/shipping-label.pdf\""
echo "or paste file://$OUT/shipping-label.pdf into a web browser."
echo
echo "More: $BIN/vorn --help (render to SVG, resave documents), ./dev test, ./dev bench."
echo

DESIGNER="$BIN/vorn-designer"
if [ ! -x "$DESIGNER" ]; then
  echo "demo: Vorn Designer is not built (run ./dev build)"
  exit 0
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the label in Vorn Designer (close its window to end the demo)..."
  "$DESIGNER" "$LABEL"
else
  echo "No display: Vorn Designer plays a scripted session on the label without a window"
  echo "(select and move the barcode, change a text in the inspector, undo, export, save a copy):"
  echo
  QT_QPA_PLATFORM=offscreen "$DESIGNER" --demo "$OUT" "$LABEL" || { echo "demo: the designer session failed"; exit 1; }
  echo
  echo "Look at the screenshots with an image viewer, e.g. xdg-open \"$OUT/designer-1-opened.png\";"
  echo "on a machine with a display, ./dev demo opens the designer itself."
fi
