# Shared by the start-screen end-to-end scripts: a private X display, a private copy of the
# built demo folder, the real program started in it, and X key events sent to its window.
# Sourced, not run (the test runner only picks up *.sh).
#
# Nothing here waits a fixed time: every step waits, up to a generous limit, for something the
# program shows. The program reports on its console, whenever it changes, how many key presses
# its frames have taken and what would keep the next one from acting ("Input after 12 keys:
# walking"); a key is sent only when that report says "ready" for every key sent before, so a
# slow machine only makes a script slower. The other waits are for a console line, a line in a
# save file, a file appearing, or a colour in a region of the window.

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

# Polls a condition (a command) every few hundredths of a second, up to the given seconds.
e2e_poll() {
    local seconds="$1"
    shift
    local deadline=$(( ${EPOCHREALTIME/./} + seconds * 1000000 ))
    until "$@"; do
        (( ${EPOCHREALTIME/./} < deadline )) || return 1
        sleep 0.03
    done
    return 0
}

e2e_display_is_ours() {
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || return 0 # ended: stop waiting, the caller sees it
    [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$E2E_XVFB_PID" ] && xdpyinfo >/dev/null 2>&1
}

# Starts Xvfb on a free display number and exports DISPLAY. Scripts started side by side each
# hold a lock on the number they try (released when the script ends), so no two take the same
# one; a number another server holds is skipped by its X lock file. (Xvfb's own choice of a
# number disturbs the other servers' sockets while it searches, so the number is chosen here.)
# The server has no key repeat: a loaded machine may hold the sender back between a key's press
# and release, and the repeat's extra presses would then walk the leader on and count as keys
# never sent. E2E_KEY_REPEAT=on keeps it for a script whose held arrows are meant to walk on.
e2e_start_display() {
    local n i repeat=-r
    [ "${E2E_KEY_REPEAT:-}" = on ] && repeat=r
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
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset "$repeat" >/dev/null 2>&1 &
        E2E_XVFB_PID=$!
        export DISPLAY=":$n"
        # Ours once the number's X lock names our server and it answers; a server that lost the
        # number to another suite's ends instead.
        if e2e_poll 20 e2e_display_is_ours "$n" && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
            return 0
        fi
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

# Starts the program (optionally under a wrapper, e.g. strace) and waits until its first frame
# is ready for keys.
e2e_start_game() {
    local program="$1"; shift
    e2e_release_keys
    E2E_LOG="$E2E_WORK/console-$(date +%s%N).log"
    E2E_KEYS_SENT=0
    (cd "$E2E_WORK" && exec env ALSOFT_DRIVERS=null "$@" "$program" >"$E2E_LOG" 2>&1) &
    E2E_GAME_PID=$!
    e2e_poll 120 e2e_first_frame || e2e_fail "no first frame after 120 s"
    # Once seen in a full parallel run and not again: what the display held is kept for next time.
    e2e_poll 30 e2e_find_window || { xwininfo -root -children 2>&1 | head -20 >&2; e2e_fail "no game window"; }
    timeout 10 xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null
    xdotool mousemove --window "$E2E_WINDOW" 960 540
    e2e_wait_ready
}

e2e_game_runs() { kill -0 "$E2E_GAME_PID" 2>/dev/null; }

e2e_first_frame() {
    grep -q "^First frame after" "$E2E_LOG" 2>/dev/null && return 0
    e2e_game_runs || e2e_fail "the program ended during start-up"
    return 1
}

# --- the program's input report ---

# The newest report: "Input after <keys taken> keys: <what the next key waits for>".
e2e_input_report() { tac "$E2E_LOG" 2>/dev/null | grep -m1 "^Input after "; }

# Whether the newest report has taken every key sent and names a state matching the pattern (an
# extended regular expression). Fails the script when the program has ended.
e2e_input_is() {
    local report taken
    report=$(e2e_input_report)
    if [ -n "$report" ]; then
        taken=${report#Input after }
        taken=${taken%% *}
        [ "$taken" -ge "$E2E_KEYS_SENT" ] && [[ ${report##*: } =~ ^($1)$ ]] && return 0
    fi
    e2e_game_runs || e2e_fail "the program ended while waiting for input state '$1'"
    return 1
}

# Whether, since it took the last key sent, the program has reported the state at any time.
e2e_input_was() {
    grep -Eq "^Input after $E2E_KEYS_SENT keys: ($1)$" "$E2E_LOG" 2>/dev/null && return 0
    e2e_game_runs || e2e_fail "the program ended while waiting for input state '$1'"
    return 1
}

# Waits until the program has taken every key sent and is in the state (default "ready": the
# next key acts at once).
e2e_wait_input() {
    local state="${1:-ready}" seconds="${2:-${E2E_INPUT_SECONDS:-60}}"
    e2e_poll "$seconds" e2e_input_is "$state" ||
        e2e_fail "the program was not '$state' after $E2E_KEYS_SENT keys within $seconds s (last: $(e2e_input_report))"
}
e2e_wait_ready() { e2e_wait_input ready "$@"; }

# Waits until the program has reported the state since the last key (e.g. "typing": a text box
# has begun), even when it has already left it.
e2e_wait_seen() {
    local seconds="${2:-${E2E_INPUT_SECONDS:-60}}"
    e2e_poll "$seconds" e2e_input_was "$1" ||
        e2e_fail "the program did not report '$1' after $E2E_KEYS_SENT keys within $seconds s (last: $(e2e_input_report))"
}

# --- keys ---

e2e_send_key() {
    e2e_game_runs || e2e_fail "the program ended before the key $1"
    xdotool key "$1" || e2e_fail "xdotool could not send $1"
    E2E_KEYS_SENT=$((E2E_KEYS_SENT + 1))
}

# One key held down for the given seconds before its release: one press, however long it lasts.
e2e_send_key_held() {
    e2e_game_runs || e2e_fail "the program ended before the held key $1"
    xdotool keydown "$1" || e2e_fail "xdotool could not press $1"
    sleep "$2"
    xdotool keyup "$1" || e2e_fail "xdotool could not release $1"
    E2E_KEYS_SENT=$((E2E_KEYS_SENT + 1))
}

# Key presses, one at a time, each when the program is ready to act on it.
e2e_keys() {
    local key
    for key in "$@"; do
        e2e_wait_ready
        e2e_send_key "$key"
    done
}

# Arrow taps that may come while the leader still walks the step before (the walk queues them),
# each in a frame of its own after the frames the walk needs to tell two taps apart.
e2e_taps() {
    local key
    for key in "$@"; do
        e2e_wait_input "ready|walking"
        e2e_send_key "$key"
    done
}

# A text box that opens now (a scene's title, a message, a person's words): waits until it has
# begun and typed its page.
e2e_wait_text() {
    e2e_wait_seen typing "$@"
    e2e_wait_ready
}

# The same, then closes it.
e2e_dismiss() {
    e2e_wait_text "$@"
    e2e_keys space
}

# --- console and files ---

e2e_has_line() { grep -qxF -- "$2" "$1" 2>/dev/null; }

# Waits until the file holds a line that is exactly the text, up to the given seconds.
e2e_wait_for() {
    e2e_poll "${3:-30}" e2e_has_line "$1" "$2"
}

# Waits until the program's console shows the line (e.g. "Game Nova resumed"). The keys after
# it wait for the program's report as ever, which covers the loading screen.
e2e_wait_for_console() {
    e2e_wait_for "$E2E_LOG" "$1" "${2:-60}"
}

# Waits until the program's console holds a line matching the extended regular expression.
e2e_has_match() { grep -Eq -- "$2" "$1" 2>/dev/null; }
e2e_wait_for_match() {
    e2e_poll "${2:-60}" e2e_has_match "$E2E_LOG" "$1"
}

# Waits until the file exists, up to the given seconds (polled often: it may not last long).
e2e_wait_for_file() {
    local file="$1" seconds="${2:-30}"
    local deadline=$(( ${EPOCHREALTIME/./} + seconds * 1000000 ))
    until [ -e "$file" ]; do
        (( ${EPOCHREALTIME/./} < deadline )) || return 1
        sleep 0.01
    done
    return 0
}

# --- the window's pixels ---

# How much of a region (WxH+X+Y) of a picture has the colour (0 to 1).
e2e_colour_share() {
    convert "$1" -crop "$2" +repage -fuzz 6% -fill white -opaque "$3" -fill black +opaque white \
        -format "%[fx:mean]" info: 2>/dev/null
}

# Whether a region of the window, as it shows now, has the colour (more than half a percent of
# it; all of it for a region of one pixel).
e2e_window_has_colour() {
    local grab="$E2E_WORK/grab.png" share
    import -window "$E2E_WINDOW" -crop "$1" +repage "$grab" 2>/dev/null || return 1
    share=$(e2e_colour_share "$grab" "$(identify -format '%wx%h+0+0' "$grab" 2>/dev/null)" "$2")
    [ -n "$share" ] && awk -v m="$share" 'BEGIN { exit !(m > 0.005) }'
}
e2e_window_lacks_colour() { ! e2e_window_has_colour "$@"; }

# Waits until a region of the window shows the colour (or, with "not", no longer shows it).
e2e_wait_colour() {
    local test=e2e_window_has_colour
    [ "$1" = not ] && { test=e2e_window_lacks_colour; shift; }
    e2e_poll "${3:-30}" "$test" "$1" "$2"
}

# Waits until a region of the window differs from what it showed when the wait began.
e2e_wait_change() {
    local before="$E2E_WORK/before.png" grab="$E2E_WORK/grab.png"
    import -window "$E2E_WINDOW" -crop "$1" +repage "$before" 2>/dev/null || return 1
    e2e_poll "${2:-30}" e2e_region_differs "$1" "$before" "$grab"
}
e2e_region_differs() {
    import -window "$E2E_WINDOW" -crop "$1" +repage "$3" 2>/dev/null || return 1
    compare -metric AE "$2" "$3" null: 2>/dev/null
    [ $? = 1 ] # 0: the same, 2: not comparable
}

# Closes the program with Escape once it has taken the keys sent (killing it when it does not
# end) and sets E2E_EXIT.
e2e_stop_game() {
    [ -n "$E2E_GAME_PID" ] || return 0
    e2e_poll 60 e2e_keys_taken_or_ended
    e2e_game_runs && xdotool key --window "$E2E_WINDOW" Escape 2>/dev/null
    e2e_poll 15 e2e_game_ended
    if e2e_game_runs; then
        e2e_kill_game
        E2E_EXIT=killed
        return 0
    fi
    wait "$E2E_GAME_PID" 2>/dev/null
    E2E_EXIT=$?
    E2E_GAME_PID=""
}
e2e_game_ended() { ! e2e_game_runs; }
e2e_keys_taken_or_ended() {
    local taken
    taken=$(e2e_input_report)
    taken=${taken#Input after }
    e2e_game_ended || [ "${taken%% *}" -ge "$E2E_KEYS_SENT" ] 2>/dev/null
}
