#!/bin/bash
# The renderer's share of the game's frames, measured as whole-process CPU time per frame under
# Xvfb with the software renderer on one thread, at the 30 frames-per-second target.
#   - the idle start screen against a minimal program of the same library (one clear, one text,
#     one sprite per frame), in the same run: within 1.5 times;
#   - each walking scene, near and far, drawn the long way and with the drawing shortcuts: the
#     shortcuts at most half the CPU per frame;
#   - every scene holds at least 29 frames per second over 300 frames;
#   - the arena's battle: its grid frame within 14 ms, and every close-up (CLOSEUPS: a close-up
#     without an effect, a plain attack and spells) within 30 ms on average and 40 ms at its
#     heaviest frame with the shortcuts, the long way beside it from the same run.
# The machine may be busy: each figure is measured REPEATS times and reported as the median
# with its spread (lowest..highest). Arguments: the probe program, the run folder.
set -u
probe=$(readlink -f "$1")
run_dir=$2
frames=${FRAMES:-300}
repeats=${REPEATS:-3}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi
export ALSOFT_DRIVERS=null LP_NUM_THREADS=1
cd "$run_dir" || exit 1
results=$(mktemp)
battle=$(mktemp)
trap 'rm -f "$results" "$battle"' EXIT

# One probe run: "<label> <cpu ms per frame> <fps>" appended to the results.
measure() {
    local label=$1
    shift
    local line
    line=$("$probe" "$@" 2>/dev/null | grep "cpu_ms_per_frame=")
    [ -n "$line" ] || { echo "probe failed: $*" >&2; exit 1; }
    local cpu fps
    cpu=$(sed 's/.*cpu_ms_per_frame=\([0-9.]*\).*/\1/' <<<"$line")
    fps=$(sed 's/.*fps=\([0-9.]*\).*/\1/' <<<"$line")
    echo "$label $cpu $fps" >>"$results"
}

walking="Quarter GlowCave SnowPass Garden HedgeMaze"
for r in $(seq "$repeats"); do
    measure minimal minimal "$frames"
    measure StartScreen StartScreen "$frames"
    measure StarField StarField "$frames"
    measure CreditsStart CreditsStart "$frames"
    for scene in $walking; do
        for view in near far; do
            extra=""
            [ "$view" = far ] && extra=far
            measure "$scene-$view-plain" "$scene" "$frames" plain $extra walk
            measure "$scene-$view" "$scene" "$frames" $extra walk
        done
    done
done

closeups=${CLOSEUPS:-none attack DemonDaze HackControl Barrier Cure:3}
"$probe" closeups "$repeats" arena $closeups 2>/dev/null | grep "^closeup " >"$battle"
[ -s "$battle" ] || { echo "probe failed: closeups" >&2; exit 1; }

# Median and spread of a label's column (2: CPU, 3: fps).
stat() {
    awk -v l="$1" -v c="$2" '$1 == l { print $c }' "$results" | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.2f %.2f %.2f", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
median() { stat "$1" "$2" | cut -d' ' -f1; }

status=0
check() { # description, awk condition on $1 $2
    if awk -v a="$2" -v b="$3" "BEGIN { exit !($4) }"; then echo "PASS  $1"; else echo "FAIL  $1"; status=1; fi
}

printf "%-24s %26s %26s\n" "what" "CPU ms/frame (spread)" "frames/s (spread)"
for label in $(awk '{ print $1 }' "$results" | awk '!seen[$0]++'); do
    read -r c c0 c1 <<<"$(stat "$label" 2)"
    read -r f f0 f1 <<<"$(stat "$label" 3)"
    printf "%-24s %8s (%6s..%6s) %8s (%6s..%6s)\n" "$label" "$c" "$c0" "$c1" "$f" "$f0" "$f1"
done
echo
m=$(median minimal 2)
s=$(median StartScreen 2)
check "idle start screen $s ms against the minimal program's $m ms: within 1.5 times" "$s" "$m" "a <= 1.5 * b"
for scene in $walking; do
    for view in near far; do
        before=$(median "$scene-$view-plain" 2)
        after=$(median "$scene-$view" 2)
        check "$scene ($view, walking) $before -> $after ms: at least halved" "$after" "$before" "a <= b / 2"
    done
done
for label in StartScreen StarField CreditsStart $(for s in $walking; do echo "$s-near $s-far"; done); do
    check "$label holds 29 frames per second" "$(median "$label" 3)" 29 "a >= b"
done
echo
printf "%-24s %12s %12s %16s %16s\n" "battle" "long mean" "short mean" "long heaviest" "short heaviest"
field() { awk -v c="$1" -v w="$2" -v f="$3" '$2 == c && $3 == w { for (i = 4; i <= NF; ++i) if (index($i, f "=") == 1) print substr($i, length(f) + 2) }' "$battle"; }
for cast in arena $closeups; do
    printf "%-24s %12s %12s %16s %16s\n" "$cast" "$(field "$cast" plain mean_ms)" "$(field "$cast" shortcuts mean_ms)" \
        "$(field "$cast" plain heaviest_ms)" "$(field "$cast" shortcuts heaviest_ms)"
done
echo
check "the arena's grid frame $(field arena shortcuts mean_ms) ms: within 14" "$(field arena shortcuts mean_ms)" 14 "a <= b"
for cast in $closeups; do
    check "close-up $cast $(field "$cast" shortcuts mean_ms) ms on average: within 30" "$(field "$cast" shortcuts mean_ms)" 30 "a <= b"
    check "close-up $cast $(field "$cast" shortcuts heaviest_ms) ms at its heaviest: within 40" "$(field "$cast" shortcuts heaviest_ms)" 40 "a <= b"
done
exit $status
