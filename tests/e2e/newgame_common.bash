# Shared by the start-screen end-to-end scripts: a private X display, a private copy of the
# built demo folder, the real program started in it, and X key events sent to its window.
# Sourced, not run (the test runner only picks up *.sh). The waits are generous and poll for
# what the program shows on its console or writes to its save folder, so that a slow machine
# only makes the test slower.

E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_LOG=""

e2e_fail() {
    echo "FAIL: $*" >&2
    [ -n "$E2E_LOG" ] && [ -f "$E2E_LOG" ] && { echo "--- program log (tail) ---" >&2; tail -30 "$E2E_LOG" >&2; }
    exit 1
}

# Ends the program started by e2e_start_game, and what it runs under a wrapper.
e2e_kill_game() {
    [ -n "$E2E_GAME_PID" ] || return 0
    local child
    for child in $(ps -o pid= --ppid "$E2E_GAME_PID" 2>/dev/null); do kill -9 "$child" 2>/dev/null; done
    kill -9 "$E2E_GAME_PID" 2>/dev/null
    wait "$E2E_GAME_PID" 2>/dev/null
    E2E_GAME_PID=""
}

e2e_cleanup() {
    e2e_kill_game
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
    return 0
}

# Polls a condition (a command) every tenth of a second, up to the given seconds.
e2e_poll() {
    local seconds="$1" i
    shift
    for i in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Starts Xvfb on a free display number and exports DISPLAY. Scripts started side by side each
# hold a lock on the number they try (released when the script ends), so no two take the same
# one; a number another server holds is skipped by its X lock file. (Xvfb's own choice of a
# number disturbs the other servers' sockets while it searches, so the number is chosen here.)
e2e_start_display() {
    local n i
    for n in $(seq 91 160); do
        exec {E2E_DISPLAY_LOCK}>"/tmp/quorvane-e2e-display-$n.lock"
        if ! flock -n "$E2E_DISPLAY_LOCK"; then
            exec {E2E_DISPLAY_LOCK}>&-
            continue
        fi
        if [ -e "/tmp/.X$n-lock" ]; then
            exec {E2E_DISPLAY_LOCK}>&-
            continue
        fi
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        E2E_XVFB_PID=$!
        export DISPLAY=":$n"
        for i in $(seq 200); do
            kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
            if xdpyinfo >/dev/null 2>&1; then
                # Still ours: a server that lost the number to another suite's has ended.
                sleep 0.3
                kill -0 "$E2E_XVFB_PID" 2>/dev/null && return 0
                break
            fi
            sleep 0.1
        done
        kill "$E2E_XVFB_PID" 2>/dev/null
        exec {E2E_DISPLAY_LOCK}>&-
    done
    e2e_fail "no X display could be started"
}

# A working folder that shares the built demo content and has its own "SaveGames".
e2e_make_work() {
    local run_dir="$1"
    E2E_WORK=$(mktemp -d /tmp/quorvane-e2e.XXXXXX)
    local entry
    for entry in Game.txt Game Data Resources; do
        [ -e "$run_dir/$entry" ] && ln -s "$(cd "$run_dir" && pwd)/$entry" "$E2E_WORK/$entry"
    done
    mkdir -p "$E2E_WORK/SaveGames"
}

# The start every script shares, called with the script's arguments (program, built run folder,
# source folder) right after sourcing this file: PROGRAM and RUN_DIR set, cleanup on exit, a
# private X display and a working folder (E2E_WORK).
e2e_begin() {
    set -u
    PROGRAM=$(readlink -f "$1")
    RUN_DIR="$2"
    trap e2e_cleanup EXIT
    e2e_start_display
    e2e_make_work "$RUN_DIR"
}

# A key whose release never reached the display (the sender stopped between press and release
# when the game it closed took its window away) stays down and repeats into the next game: a
# game started after another on the same display then closed at once on a phantom Escape.
e2e_release_keys() {
    xdotool keyup Escape 2>/dev/null
    return 0
}

e2e_find_window() {
    E2E_WINDOW=$(xdotool search --name "^Quorvane 2.0$" 2>/dev/null | head -1)
    [ -n "$E2E_WINDOW" ]
}

# Starts the program (optionally under a wrapper, e.g. strace) and waits for its first frame.
e2e_start_game() {
    local program="$1"; shift
    e2e_release_keys
    E2E_LOG="$E2E_WORK/console-$(date +%s%N).log"
    (cd "$E2E_WORK" && exec env ALSOFT_DRIVERS=null "$@" "$program" >"$E2E_LOG" 2>&1) &
    E2E_GAME_PID=$!
    local i
    for i in $(seq 1200); do
        grep -q "^First frame after" "$E2E_LOG" 2>/dev/null && break
        kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended during start-up"
        sleep 0.1
    done
    grep -q "^First frame after" "$E2E_LOG" || e2e_fail "no first frame after 120 s"
    # Once seen in a full parallel run and not again: what the display held is kept for next time.
    e2e_poll 30 e2e_find_window || { xwininfo -root -children 2>&1 | head -20 >&2; e2e_fail "no game window"; }
    timeout 10 xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null
    xdotool mousemove --window "$E2E_WINDOW" 960 540
    sleep 0.5
}

# Key presses, one at a time. A press counts once per frame and a step takes six frames (0.2 s
# at 30 frames a second): the gap leaves room for frames twice as slow.
e2e_keys() {
    local key
    for key in "$@"; do
        kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program ended before the key $key"
        xdotool key "$key" || e2e_fail "xdotool could not send $key"
        sleep "${E2E_KEY_GAP:-0.45}"
    done
}

e2e_has_line() { grep -qxF -- "$2" "$1" 2>/dev/null; }

# Waits until the file holds a line that is exactly the text, up to the given seconds.
e2e_wait_for() {
    e2e_poll "${3:-30}" e2e_has_line "$1" "$2"
}

# Waits until the program's console shows the line (e.g. "Game Nova resumed"), then lets the
# frames after it pass: keys pressed while a loading screen shows are dropped.
e2e_wait_for_console() {
    e2e_wait_for "$E2E_LOG" "$1" "${2:-60}" || return 1
    sleep 0.5
}

# Waits until the file exists, up to the given seconds (polled often: it may not last long).
e2e_wait_for_file() {
    local file="$1" seconds="${2:-30}" i
    for i in $(seq $((seconds * 100))); do
        [ -e "$file" ] && return 0
        sleep 0.01
    done
    return 1
}

# Closes the program with Escape (killing it when it does not end) and sets E2E_EXIT.
e2e_stop_game() {
    [ -n "$E2E_GAME_PID" ] || return 0
    kill -0 "$E2E_GAME_PID" 2>/dev/null && xdotool key --window "$E2E_WINDOW" Escape 2>/dev/null
    local i
    for i in $(seq 150); do
        kill -0 "$E2E_GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$E2E_GAME_PID" 2>/dev/null; then
        e2e_kill_game
        E2E_EXIT=killed
        return 0
    fi
    wait "$E2E_GAME_PID" 2>/dev/null
    E2E_EXIT=$?
    E2E_GAME_PID=""
}
