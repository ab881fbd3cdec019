#!/usr/bin/env bash
# Copy and paste between processes on a real X server (Qt's xcb platform): the shapes of one
# editor pasted by another process, and the SVG drawing a copy offers to other programs, read by
# xclip and drawn by rsvg-convert.
#   clipboard-across-processes.sh CLIPBOARD_PEER DOCUMENT WORK_DIR
set -euo pipefail
peer="$1" doc="$2" work="$3"
for tool in xvfb-run xauth xclip rsvg-convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: ./dev setup installs it" >&2; exit 1; }
done
rm -rf "$work" && mkdir -p "$work"
export QT_QPA_PLATFORM=xcb
# Both processes of a step share one X server; the copying one keeps the clipboard until the
# other has ended.
on_x() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }

echo "== shapes copied by one process, pasted by another"
on_x "$peer" copy "$doc" "$work/expected.xml" -- "$peer" paste "$work/pasted.xml"
diff -u "$work/expected.xml" "$work/pasted.xml"

echo "== the copy's SVG drawing read by xclip and drawn by rsvg-convert"
on_x "$peer" copy "$doc" "$work/copied.xml" -- \
  sh -c 'exec xclip -o -selection clipboard -t image/svg+xml > "$1"' sh "$work/copy.svg"
rsvg-convert -o "$work/copy.png" "$work/copy.svg"
QT_QPA_PLATFORM=offscreen "$peer" inked "$work/copy.png"
echo "ok"
