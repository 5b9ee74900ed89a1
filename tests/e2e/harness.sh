# shellcheck shell=bash
# End-to-end test harness: a private Xvfb display and wine prefix, launching
# Windows programs in it, driving them with xdotool, and ok/FAIL checks.
#
#   . "$(dirname "$0")/harness.sh"
#   e2e_start
#   e2e_launch chat chat_target "$(e2e_winpath "$E2E_DIR/chat.log")"
#   wid=$(e2e_wait_window "chat target")
#   ...
#   check "record is byte-exact" test "$(e2e_record "$E2E_DIR/chat.log" 1)" = 4869
#   e2e_summary
#
# Everything the harness starts is recorded by pid and stopped by e2e_stop,
# which runs on exit (and on INT/TERM); nothing else is ever touched. Every
# wait has a timeout, and a watchdog ends the whole script after
# E2E_TIMEOUT seconds.
#
# Settings (environment, read by e2e_start):
#   E2E_BIN      where the Windows programs are (default build/win64/bin)
#   E2E_TIMEOUT  seconds before the watchdog stops the script (default 600)
#   E2E_KEEP=1   keep E2E_DIR (logs, program output, screenshots) on exit
#   E2E_VERBOSE=1  print e2e_note lines
#
# Set by e2e_start: E2E_DIR (private temp dir), DISPLAY, WINEPREFIX,
# LC_ALL=zh_CN.GBK (ANSI code page 936 inside wine), WINEDEBUG=-all,
# WINEDLLOVERRIDES (no menu entries in $HOME, no Mono/Gecko installers).
#
# Facts about wine under a bare Xvfb that the functions rely on:
# - A launched program's pid is the Windows process itself: killing it ends
#   the program, and its exit status is the Windows exit code's low byte,
#   except that a nonzero code whose low byte is 0 (256, 512, 65536, -256)
#   comes back as 1. So -1 -> 255, 1000 -> 232, 256 -> 1.
# - There is no window manager. Without one, wine only activates a window on
#   X FocusIn when UseTakeFocus is off; e2e_start turns it off in the prefix,
#   and e2e_focus makes sure a FocusIn happens. A newly shown window becomes
#   wine's foreground window but does not get the X focus: e2e_focus it
#   before sending keys. Nothing raises windows or moves the X focus on a
#   click, so e2e_click focuses and raises first.
# - `xdotool type` is good for ASCII only: other characters reach wine as
#   '?' (its X input runs in the C locale, as there is no zh_CN.GBK glibc
#   locale). Put non-ASCII text in through the clipboard (e2e_paste_gbk).
# - Command-line arguments with non-ASCII bytes are mangled on the way into
#   a Windows program for the same reason; pass such bytes as hex (e.g.
#   clipboard_tool set-hex) or in a file.
# - The clipboard's CF_UNICODETEXT is synthesized from CF_TEXT by the
#   process that reads it, with its own ANSI code page: every wine process
#   of a test must run with the same LC_ALL.

E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_ROOT=$(cd "$E2E_HERE/../.." && pwd)
E2E_WINE=${E2E_WINE:-/usr/lib/wine/wine64}
E2E_WINESERVER=${E2E_WINESERVER:-/usr/lib/wine/wineserver}

declare -gA E2E_PIDS=()
E2E_PASSED=0
E2E_FAILED=0
E2E_DIR=
E2E_XVFB_PID=
E2E_WATCHDOG_PID=
E2E_ROOT_WID=
E2E_STARTED=
E2E_SUMMARY_DONE=

e2e_note() { [ -n "${E2E_VERBOSE:-}" ] && echo "# $*" >&2; return 0; }
e2e_error() { echo "e2e: $*" >&2; }

# e2e_now_ms: milliseconds since the epoch.
e2e_now_ms() { date +%s%3N; }

# e2e_deadline SECONDS: e2e_now_ms plus SECONDS (fractions allowed).
e2e_deadline() { echo $(( $(e2e_now_ms) + $(awk -v t="$1" 'BEGIN { printf "%d", t * 1000 }') )); }

# e2e_not CMD...: succeeds when CMD fails (for check and e2e_poll).
e2e_not() { ! "$@"; }

# e2e_poll TIMEOUT CMD...: runs CMD every 0.1 s until it succeeds (0) or
# TIMEOUT seconds pass (1).
e2e_poll() {
    local timeout=$1; shift
    local deadline; deadline=$(e2e_deadline "$timeout")
    while :; do
        "$@" && return 0
        [ "$(e2e_now_ms)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

e2e_display_free() { [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ]; }

e2e_display_ours() {
    # The server is up when its lock names our Xvfb and it answers.
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || return 2
    [ "$(tr -d ' \n' 2>/dev/null < "/tmp/.X$1-lock")" = "$E2E_XVFB_PID" ] || return 1
    [ -S "/tmp/.X11-unix/X$1" ] || return 1
    DISPLAY=":$1" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

e2e_start_xvfb() {
    local n tries=0 rc
    for n in $(seq 90 189); do
        e2e_display_free "$n" || continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$E2E_DIR/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        local deadline; deadline=$(e2e_deadline 10)
        while :; do
            e2e_display_ours "$n"; rc=$?
            [ "$rc" -eq 0 ] && { export DISPLAY=":$n"; return 0; }
            [ "$rc" -eq 2 ] && break                 # died: display taken meanwhile
            [ "$(e2e_now_ms)" -ge "$deadline" ] && break
            sleep 0.1
        done
        e2e_stop_pid "$E2E_XVFB_PID"
        E2E_XVFB_PID=
        tries=$((tries + 1))
        [ "$tries" -ge 5 ] && break
    done
    e2e_error "could not start Xvfb (see $E2E_DIR/xvfb.log)"
    return 1
}

# e2e_stop_pid PID: TERM, then KILL after 3 s; reaps it if it is our child.
e2e_stop_pid() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

e2e_start_watchdog() {
    local limit=${E2E_TIMEOUT:-600} main=$$
    (
        trap - EXIT INT TERM
        end=$(( $(date +%s) + limit ))
        while [ "$(date +%s)" -lt "$end" ]; do
            kill -0 "$main" 2>/dev/null || exit 0
            sleep 0.5
        done
        echo "e2e: timed out after ${limit}s" >&2
        kill -TERM "$main" 2>/dev/null
    ) &
    E2E_WATCHDOG_PID=$!
}

e2e_on_signal() {
    trap - INT TERM
    e2e_error "interrupted"
    E2E_FAILED=$((E2E_FAILED + 1))
    echo "FAIL interrupted"
    [ -n "$E2E_SUMMARY_DONE" ] || e2e_summary
    e2e_stop
    exit "$1"
}

# e2e_start: private Xvfb, fresh wine prefix (warmed up, so later starts
# take well under a second), environment exported, cleanup trap set.
e2e_start() {
    [ -z "$E2E_STARTED" ] || { e2e_error "e2e_start called twice"; return 1; }
    E2E_STARTED=1
    local missing=() tool
    for tool in Xvfb xdotool import iconv od "$E2E_WINE"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        e2e_note "missing ${missing[*]}: installing"
        . "$E2E_ROOT/scripts/lib/packages.sh"
        need_packages xvfb xdotool imagemagick wine64 fonts-wqy-microhei || return 1
    fi

    E2E_BIN=${E2E_BIN:-$E2E_ROOT/build/win64/bin}
    local exe
    for exe in chat_target hotkey_holder clipboard_tool; do
        [ -f "$E2E_BIN/$exe.exe" ] || { e2e_error "missing $E2E_BIN/$exe.exe (build the x86_64 cross build first)"; return 1; }
    done

    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX") || return 1
    trap e2e_stop EXIT
    trap 'e2e_on_signal 130' INT
    trap 'e2e_on_signal 143' TERM
    e2e_start_watchdog

    e2e_start_xvfb || return 1
    E2E_ROOT_WID=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -1)
    export WINEPREFIX=$E2E_DIR/prefix
    { export LC_ALL=zh_CN.GBK; } 2>/dev/null
    export WINEDEBUG=-all
    # No menu entries in $HOME, no Mono/Gecko installers.
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
    unset WINEARCH WINESERVER WINELOADER
    mkdir -p "$WINEPREFIX"

    local t0; t0=$(e2e_now_ms)
    # Persistent server: stays up between programs, so each start is fast.
    "$E2E_WINESERVER" -p || { e2e_error "wineserver did not start"; return 1; }
    timeout -k 5 180 "$E2E_WINE" wineboot -i >"$E2E_DIR/wineboot.log" 2>&1 ||
        { e2e_error "wineboot failed (see $E2E_DIR/wineboot.log)"; return 1; }
    timeout -k 5 60 "$E2E_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f \
        >>"$E2E_DIR/wineboot.log" 2>&1 || { e2e_error "could not configure the prefix"; return 1; }
    E2E_WARMUP_MS=$(( $(e2e_now_ms) - t0 ))
    e2e_note "display $DISPLAY, prefix $WINEPREFIX, warm-up ${E2E_WARMUP_MS} ms"
}

# e2e_stop: stops what e2e_start and e2e_launch started, removes E2E_DIR
# (unless E2E_KEEP=1). Safe to call more than once.
e2e_stop() {
    [ -n "$E2E_STARTED" ] || return 0
    E2E_STARTED=
    local name
    for name in "${!E2E_PIDS[@]}"; do
        e2e_stop_pid "${E2E_PIDS[$name]}"
        unset "E2E_PIDS[$name]"
    done
    if [ -n "${WINEPREFIX:-}" ] && [ -n "$E2E_DIR" ] && [ "$WINEPREFIX" = "$E2E_DIR/prefix" ] && [ -d "$WINEPREFIX" ]; then
        timeout 15 "$E2E_WINESERVER" -k >/dev/null 2>&1
        timeout 15 "$E2E_WINESERVER" -w >/dev/null 2>&1
    fi
    e2e_stop_pid "$E2E_XVFB_PID"
    E2E_XVFB_PID=
    if [ -n "$E2E_WATCHDOG_PID" ]; then
        kill "$E2E_WATCHDOG_PID" 2>/dev/null
        wait "$E2E_WATCHDOG_PID" 2>/dev/null
        E2E_WATCHDOG_PID=
    fi
    if [ -n "$E2E_DIR" ] && [ -d "$E2E_DIR" ]; then
        if [ -n "${E2E_KEEP:-}" ]; then
            echo "e2e: kept $E2E_DIR" >&2
        else
            rm -rf "$E2E_DIR"
        fi
    fi
    trap - EXIT INT TERM
    return 0
}

# e2e_exe NAME: the path of a program; a bare name is looked up in E2E_BIN
# (".exe" may be left off).
e2e_exe() {
    case $1 in
        */*) echo "$1" ;;
        *.exe) echo "$E2E_BIN/$1" ;;
        *) echo "$E2E_BIN/$1.exe" ;;
    esac
}

# e2e_winpath PATH: the Windows form of a unix path (via drive Z:).
e2e_winpath() {
    local p=$1
    case $p in /*) ;; *) p=$PWD/$p ;; esac
    echo "Z:${p//\//\\}"
}

# e2e_launch NAME EXE ARGS...: starts EXE under wine in the background.
# Its stdout and stderr go to $(e2e_out NAME) and $E2E_DIR/NAME.err. Call it
# in the main shell, not in $(...), so the pid stays ours to wait for.
e2e_launch() {
    local name=$1 exe; exe=$(e2e_exe "$2"); shift 2
    if [ -n "${E2E_PIDS[$name]:-}" ] && kill -0 "${E2E_PIDS[$name]}" 2>/dev/null; then
        e2e_error "$name is already running"; return 1
    fi
    [ -f "$exe" ] || { e2e_error "no such program: $exe"; return 1; }
    "$E2E_WINE" "$exe" "$@" >"$E2E_DIR/$name.out" 2>"$E2E_DIR/$name.err" </dev/null &
    E2E_PIDS[$name]=$!
    e2e_note "launched $name (pid $!): $exe $*"
}

e2e_pid() { echo "${E2E_PIDS[$1]:-}"; }
e2e_out() { echo "$E2E_DIR/$1.out"; }

# e2e_alive NAME: whether the launched program is still running.
e2e_alive() { local pid=${E2E_PIDS[$1]:-}; [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; }

# e2e_exit_code NAME [TIMEOUT=30]: waits for the program to end and returns
# its exit status (see the mapping above). After TIMEOUT it is killed and
# 124 is returned.
e2e_exit_code() {
    local name=$1 timeout=${2:-30} pid=${E2E_PIDS[$1]:-} rc
    [ -n "$pid" ] || { e2e_error "nothing launched as $name"; return 127; }
    if ! e2e_poll "$timeout" e2e_not kill -0 "$pid" 2>/dev/null; then
        e2e_error "$name still running after ${timeout}s: killed"
        e2e_stop_pid "$pid"
        unset "E2E_PIDS[$name]"
        return 124
    fi
    wait "$pid"; rc=$?
    unset "E2E_PIDS[$name]"
    return "$rc"
}

# e2e_kill NAME: ends the program (TERM, then KILL) and forgets it.
e2e_kill() {
    local pid=${E2E_PIDS[$1]:-}
    [ -n "$pid" ] || return 0
    e2e_stop_pid "$pid"
    unset "E2E_PIDS[$1]"
}

# e2e_wait_output NAME REGEX [TIMEOUT=10]: waits until a line of the
# program's stdout matches the extended regex.
e2e_wait_output() {
    local file; file=$(e2e_out "$1")
    e2e_poll "${3:-10}" grep -Eq -- "$2" "$file" 2>/dev/null && return 0
    e2e_error "no line matching '$2' from $1 within ${3:-10}s"
    return 1
}

# e2e_run [-t SECONDS] EXE ARGS...: runs EXE in the foreground (default
# limit 20 s) with stdin closed; its stdout is ours, its status is returned.
e2e_run() {
    local limit=20
    if [ "$1" = -t ]; then limit=$2; shift 2; fi
    local exe; exe=$(e2e_exe "$1"); shift
    timeout -k 3 "$limit" "$E2E_WINE" "$exe" "$@" </dev/null
}

# --- windows -------------------------------------------------------------

# Titles are compared exactly with what `xdotool getwindowname` prints (the
# UTF-8 _NET_WM_NAME). `xdotool search --name` cannot be used for them: it
# matches WM_NAME, where wine writes '?' for every non-Latin-1 character.
e2e_find_window() {
    local title=$1 pid=${2:-} wid
    local -a candidates
    if [ -n "$pid" ]; then
        mapfile -t candidates < <(xdotool search --all --onlyvisible --pid "$pid" --name '' 2>/dev/null)
    else
        mapfile -t candidates < <(xdotool search --onlyvisible --name '' 2>/dev/null)
    fi
    for wid in "${candidates[@]}"; do
        if [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "$title" ]; then
            echo "$wid"
            return 0
        fi
    done
    return 1
}

# e2e_wait_window TITLE [TIMEOUT=15]: waits for a mapped window whose title
# is exactly TITLE (UTF-8) and prints its X window id (the client area).
e2e_wait_window() { e2e_wait_title "$1" "" "${2:-15}" ""; }

# e2e_wait_window_of NAME TITLE [TIMEOUT=15]: the same, but only windows of
# the program launched as NAME (wine sets _NET_WM_PID).
e2e_wait_window_of() {
    local pid=${E2E_PIDS[$1]:-}
    [ -n "$pid" ] || { e2e_error "nothing launched as $1"; return 1; }
    e2e_wait_title "$2" "$pid" "${3:-15}" " from $1"
}

# e2e_wait_title TITLE PID TIMEOUT WHAT: the loop behind the two above.
e2e_wait_title() {
    local title=$1 pid=$2 wid
    local deadline; deadline=$(e2e_deadline "$3")
    while :; do
        wid=$(e2e_find_window "$title" "$pid")
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        [ "$(e2e_now_ms)" -ge "$deadline" ] && break
        sleep 0.1
    done
    e2e_error "no window titled '$title'$4 within ${3}s"
    return 1
}

# e2e_window_gone WID [TIMEOUT=10]: waits until the window is unmapped or
# destroyed.
e2e_window_gone() { e2e_poll "${2:-10}" e2e_not e2e_window_shown "$1"; }
e2e_window_shown() { xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }

# e2e_window_geometry WID: prints "x y w h" (root coordinates, client area).
e2e_window_geometry() {
    local key value x='' y='' w='' h=''
    while IFS='=' read -r key value; do
        case $key in X) x=$value ;; Y) y=$value ;; WIDTH) w=$value ;; HEIGHT) h=$value ;; esac
    done < <(xdotool getwindowgeometry --shell "$1" 2>/dev/null)
    [ -n "$x" ] && [ -n "$h" ] || return 1
    echo "$x $y $w $h"
}

# e2e_focus WID: raises WID and gives it the X input focus, which makes it
# wine's foreground window. Wine only acts on a FocusIn event, and a newly
# shown window is made wine's foreground one without getting the X focus,
# so when the X focus is on WID already it is moved to the root window and
# back first.
e2e_focus() {
    local wid=$1
    timeout 5 xdotool windowraise "$wid" >/dev/null 2>&1
    if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$wid" ]; then
        timeout 5 xdotool windowfocus --sync "$E2E_ROOT_WID" >/dev/null 2>&1
    fi
    timeout 5 xdotool windowfocus --sync "$wid" >/dev/null 2>&1 && return 0
    e2e_error "could not focus window $wid"
    return 1
}

# e2e_click WID X Y [BUTTON=1]: focuses (and raises) WID, then clicks at
# its client coordinates X Y. Clicking a window that lacks the X focus would
# make it wine's foreground window while keys still go to the X focus, and
# then keys get lost; without a window manager nothing raises a clicked
# window either, so a click could land on one lying on top.
e2e_click() {
    e2e_focus "$1" || return 1
    timeout 5 xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

# e2e_key WID KEYS...: focuses WID and presses the keys (xdotool names:
# ctrl+v Return F1 alt+z ...).
e2e_key() {
    local wid=$1; shift
    e2e_focus "$wid" || return 1
    timeout 10 xdotool key --delay 30 "$@"
}

# e2e_press KEYS...: presses keys into whatever has the focus now.
e2e_press() { timeout 10 xdotool key --delay 30 "$@"; }

# e2e_type WID TEXT: focuses WID and types TEXT. ASCII only (see above).
e2e_type() {
    local wid=$1 text=$2
    if [ -n "$(printf '%s' "$text" | tr -d ' -~')" ]; then
        e2e_error "e2e_type handles printable ASCII only; use e2e_paste_gbk"
        return 1
    fi
    e2e_focus "$wid" || return 1
    timeout 30 xdotool type --delay 20 -- "$text"
}

# e2e_screenshot FILE [WID]: the whole screen, or one window, as PNG.
e2e_screenshot() {
    if [ -n "${2:-}" ]; then
        timeout 15 import -display "$DISPLAY" -window "$2" "$1"
    else
        timeout 15 import -display "$DISPLAY" -window root "$1"
    fi
}

# --- bytes and the clipboard ----------------------------------------------

# e2e_hex STRING: STRING's bytes as uppercase hex, no spaces;
# e2e_hex_stdin: the same for stdin.
e2e_hex_stdin() { od -An -v -tx1 | tr -d ' \n' | tr a-f A-F; }
e2e_hex() { printf '%s' "$1" | e2e_hex_stdin; }

# e2e_gbk_hex UTF8TEXT: the GBK bytes of the text, as hex.
e2e_gbk_hex() { printf '%s' "$1" | iconv -f UTF-8 -t GBK | e2e_hex_stdin; }

# e2e_utf16_hex UTF8TEXT: UTF-16 code units, "XXXX XXXX" as clipboard_tool
# prints them.
e2e_utf16_hex() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F |
        sed 's/..../& /g; s/ $//'
}

# e2e_spaced HEX: "AABBCC" -> "AA BB CC".
e2e_spaced() { printf '%s' "$1" | sed 's/../& /g; s/ $//'; }

# e2e_clip_set_hex HEX / e2e_clip_set_gbk UTF8TEXT: put bytes on the
# clipboard as CF_TEXT.
e2e_clip_set_hex() { e2e_run clipboard_tool set-hex "$1" >/dev/null; }
e2e_clip_set_gbk() { e2e_clip_set_hex "$(e2e_gbk_hex "$1")"; }

# e2e_clip_read: prints clipboard_tool's "text ..." and "unicode ..." lines.
e2e_clip_read() { e2e_run clipboard_tool read; }

# e2e_paste_gbk WID UTF8TEXT: types non-ASCII text into WID by putting its
# GBK bytes on the clipboard and pressing ctrl+v.
e2e_paste_gbk() {
    e2e_clip_set_gbk "$2" || return 1
    e2e_key "$1" ctrl+v
}

# --- the chat target's log ------------------------------------------------
# One record per line: "<ms> <hex>", hex "-" for an empty submission.

# e2e_lines LOG: the number of records (0 when there is no log yet).
e2e_lines() { if [ -f "$1" ]; then wc -l < "$1" | tr -d ' '; else echo 0; fi; }

e2e_has_lines() { [ "$(e2e_lines "$1")" -ge "$2" ]; }

# e2e_wait_lines LOG N [TIMEOUT=10]: waits until LOG has at least N records.
e2e_wait_lines() {
    local log=$1 n=$2 timeout=${3:-10}
    e2e_poll "$timeout" e2e_has_lines "$log" "$n" && return 0
    e2e_error "$log has $(e2e_lines "$log") records, wanted $n within ${timeout}s"
    return 1
}

# e2e_record LOG I: the bytes of record I (from 1) as hex, empty for an
# empty submission. Fails when there is no such record.
e2e_record() {
    local line; line=$(sed -n "${2}p" "$1" 2>/dev/null)
    [ -n "$line" ] || return 1
    line=${line#* }
    [ "$line" = - ] && line=
    echo "$line"
}

# e2e_record_ms LOG I: the timestamp of record I.
e2e_record_ms() {
    local line; line=$(sed -n "${2}p" "$1" 2>/dev/null)
    [ -n "$line" ] || return 1
    echo "${line%% *}"
}

# e2e_records LOG: all records' hex, one a line ("" for empty ones).
e2e_records() { [ -f "$1" ] && awk '{ print ($2 == "-" ? "" : $2) }' "$1"; }

# --- checks ----------------------------------------------------------------

# check NAME CMD...: runs CMD; prints "ok NAME" or "FAIL NAME" and counts.
check() {
    local name=$1; shift
    if "$@"; then
        E2E_PASSED=$((E2E_PASSED + 1)); echo "ok $name"
    else
        E2E_FAILED=$((E2E_FAILED + 1)); echo "FAIL $name"
        e2e_failure_shot
    fi
}

# With E2E_FAIL_SHOTS=DIR, every failed check leaves a screenshot there.
e2e_failure_shot() {
    [ -n "${E2E_FAIL_SHOTS:-}" ] || return 0
    mkdir -p "$E2E_FAIL_SHOTS"
    e2e_screenshot "$E2E_FAIL_SHOTS/fail-$E2E_FAILED.png" >/dev/null 2>&1 || true
}

# check_eq NAME EXPECTED ACTUAL: like check, shows both values on failure.
check_eq() {
    if [ "$2" = "$3" ]; then
        E2E_PASSED=$((E2E_PASSED + 1)); echo "ok $1"
    else
        E2E_FAILED=$((E2E_FAILED + 1)); echo "FAIL $1"
        e2e_failure_shot
        echo "  expected: $2" >&2
        echo "  actual:   $3" >&2
    fi
}

# e2e_summary: prints "N passed, M failed" as the last line; nonzero if any
# check failed.
e2e_summary() {
    E2E_SUMMARY_DONE=1
    echo "$E2E_PASSED passed, $E2E_FAILED failed"
    [ "$E2E_FAILED" -eq 0 ]
}
