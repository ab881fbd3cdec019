#!/usr/bin/env bash
# The demonstration run by ./dev demo. It never fails: it shows what exists so far.
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
BIN="$ROOT/build/bin"
echo "Vorn Drawing Engine demo"
echo
"$BIN/vorn" --version || true
echo
echo "What exists so far:"
echo "  - the engine library (build/lib/libVornDrawEngR.so) with its runtime base, vocabulary and geometry"
echo "  - the vorn command line:        $BIN/vorn --help"
echo "  - the tests:                    ./dev test"
echo "  - the benchmarks:               ./dev bench"
echo "  - a minimal host application:   examples/minimal-host"
echo
echo "The drawing demonstrations (rendered documents, the designer) arrive with the shape kit."
exit 0
