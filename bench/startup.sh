#!/usr/bin/env bash
# Start-up of the program against a bare Qt dialog: milliseconds from launch to
# the X server mapping the first window, on a private Xvfb, the programs run in
# turn (interleaved) so that both see the same state of the machine.
#
#   bench/startup.sh [--runs N] [PROGRAM...]
#
# Without PROGRAM: build/bin/quorvane, then build/bin/bare_dialog. The last
# program given is the yardstick the others are compared with.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$here/../build/bin"
runs=15
if [ "${1:-}" = "--runs" ]; then runs="$2"; shift 2; fi
if [ $# -eq 0 ]; then set -- "$bin/quorvane" "$bin/bare_dialog"; fi
probe="$bin/first_map"
for p in "$probe" "$@"; do
  [ -x "$p" ] || { echo "startup.sh: $p is missing: build first (scripts/build)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb=""
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
# -displayfd: the server picks a free display and says which once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "startup.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

# One run, retried when the program could not reach the server: Xvfb now and
# then resets a connection made just as another one closes. The pause lets the
# server finish with the last program before the next one starts.
run() {
  local t
  for _ in 1 2 3; do
    sleep 0.05
    if t=$("$probe" "$1" 2>>"$work/probe.log"); then echo "$t"; return; fi
  done
  echo "startup.sh: $1 mapped no window in three tries:" >&2; tail -3 "$work/probe.log" >&2; exit 1
}
# One run each first, so that every run after it finds the files in the cache.
for p in "$@"; do run "$p" >/dev/null; done
for i in $(seq "$runs"); do
  for k in $(seq $#); do
    run "${!k}" >>"$work/times.$k"
  done
done

echo "launch -> first window mapped, $runs interleaved runs (ms)"
printf '%-48s %8s %8s %8s %8s\n' program min median max "x yardstick"
base=$(sort -n "$work/times.$#" | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}')
for k in $(seq $#); do
  sort -n "$work/times.$k" | awk -v name="${!k}" -v base="$base" '
    {a[NR]=$1}
    END {m = (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2);
         printf "%-48s %8.1f %8.1f %8.1f %8.2f\n", name, a[1], m, a[NR], m/base}'
done
