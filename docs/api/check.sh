#!/usr/bin/env bash
# Builds the API reference into $1 (default build-docs) and fails when Doxygen warns or a public
# class or struct of the engine has no description.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
out="$(realpath -m "${1:-build-docs}")"
rm -rf "$out/html" "$out/xml"
mkdir -p "$out"
VORN_DOCS_OUT="$out" doxygen docs/api/Doxyfile
undocumented=()
for f in "$out"/xml/class*.xml "$out"/xml/struct*.xml; do
  [ -e "$f" ] || continue
  # The compound's own descriptions are the children of compounddef, indented by four spaces.
  name="$(awk '/<compoundname>/ && !n { gsub(/.*<compoundname>|<\/compoundname>.*/, ""); n = $0 }
               /^    <(brief|detailed)description>/ { on = 1 }
               on && /<para>/ { doc = 1 }
               /^    <\/(brief|detailed)description>/ { on = 0 }
               END { if (!doc) print n }' "$f")"
  case "$name" in vorn::*) undocumented+=("$name") ;; esac
done
status=0
if [ -s "$out/warnings.txt" ]; then
  echo "docs: Doxygen warnings:" >&2
  cat "$out/warnings.txt" >&2
  status=1
fi
if [ "${#undocumented[@]}" -gt 0 ]; then
  echo "docs: public classes without a description:" >&2
  printf '  %s\n' "${undocumented[@]}" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "docs: $out/html/index.html"
exit "$status"
