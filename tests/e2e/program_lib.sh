# Helpers for driving the program under test (sourced after harness.sh).
# Client coordinates below are those of the window's layout.

APP_TITLE='Vexmora,网页、游戏等全部通杀-Talquin'
declare -A APP_WIDS=() APP_HWNDS=()
APP_NAME='' APP_WID='' CHAT_WID='' CHAT_RUN=0

# probe_main: "<hwnd> <visible> <x> <y> <w> <h> <caption hex>" per main window.
probe_main() { e2e_run window_probe list | tr -d '\r'; }

# app_start NAME: launches a copy of the program as NAME, waits for its
# window and makes it the current copy.
app_start() {
    local name=$1 before hwnd
    before=$(probe_main | awk '{ print $1 }')
    e2e_launch "$name" vexmora || return 1
    APP_WID=$(e2e_wait_window_of "$name" "$APP_TITLE" 20) || return 1
    hwnd=$(probe_main | awk '{ print $1 }' | grep -vxF "$before" | head -1)
    [ -n "$hwnd" ] || { e2e_error "no new main window from $name"; return 1; }
    APP_WIDS[$name]=$APP_WID APP_HWNDS[$name]=$hwnd APP_NAME=$name
}

app_use() { APP_NAME=$1 APP_WID=${APP_WIDS[$1]}; }

# app_caption: the current copy's button caption, as hex.
app_caption() { probe_main | awk -v h="${APP_HWNDS[$APP_NAME]}" '$1 == h { print $7 }'; }

app_click() { e2e_click "$APP_WID" "$1" "$2"; }
# app_click_button: clicks 按钮1 and waits until the caption has changed.
# Only then is the click surely handled: the focus may move on to another
# window without the program taking back the foreground afterwards.
app_click_button() {
    local before; before=$(app_caption)
    app_click 48 266
    e2e_poll 5 caption_differs "$before" || e2e_error "the caption did not change after a click"
}
caption_differs() { [ "$(app_caption)" != "$1" ]; }

# hotkey_toggle KEY: presses the hotkey into whatever has the focus and
# waits until the current copy's caption has changed. Starting a run this
# way, with the chat target focused, leaves the foreground where the ticks
# must go.
hotkey_toggle() {
    local before; before=$(app_caption)
    e2e_press "$1"
    e2e_poll 3 caption_differs "$before" || e2e_error "the caption did not change after $1"
}

# probe ARGS...: window_probe with its line ends made plain.
probe() { e2e_run -t "${PROBE_LIMIT:-20}" window_probe "$@" | tr -d '\r'; }

# app_caption_becomes TEXT: waits (a few seconds) until the current copy's
# caption is TEXT (UTF-8), as a hotkey press takes a moment to arrive.
app_caption_becomes() { e2e_poll 3 caption_is "$(e2e_gbk_hex "$1")"; }
caption_is() { [ "$(app_caption)" = "$1" ]; }

# app_set_lines LINE...: replaces the text box's content with these lines.
app_set_lines() {
    local text=$1 line
    shift
    for line in "$@"; do text+=$'\r\n'$line; done
    app_click 200 100
    e2e_key "$APP_WID" ctrl+a
    e2e_paste_gbk "$APP_WID" "$text"
    sleep 0.2
}

# app_quit NAME: Esc in that copy's window; waits for it to end.
app_quit() {
    e2e_key "${APP_WIDS[$1]}" Escape
    e2e_exit_code "$1" 10
}

# chat_clear: a fresh chat target with an empty log in $log.
chat_clear() {
    e2e_kill chat
    log=$E2E_DIR/chat.$((++CHAT_RUN)).log
    e2e_launch chat chat_target "$(e2e_winpath "$log")"
    CHAT_WID=$(e2e_wait_window_of chat "chat target" 10)
}
# chat_focus: gives the chat target the focus and makes sure it is wine's
# foreground window, where synthesized keys go. Now and then wine keeps the
# program in the foreground although the X focus has moved on; focusing the
# root window and the target again sorts that out.
chat_focus() {
    local attempt
    for attempt in 1 2 3 4 5; do
        e2e_focus "$CHAT_WID"
        e2e_poll 0.3 chat_is_foreground && return 0
        e2e_note "chat target not in the foreground (attempt $attempt)"
        timeout 5 xdotool windowfocus --sync "$E2E_ROOT_WID" >/dev/null 2>&1
        sleep 0.2
    done
    e2e_error "the chat target does not come to the foreground"
    return 1
}
chat_is_foreground() { [ "$(e2e_run window_probe foreground | tr -d '\r')" = "$(e2e_hex 'chat target')" ]; }

# expected_hex LINE...: what the chat target receives for each line, one a
# line: its GBK bytes, then the paragraph mark (0D) with which the text box
# hands out every paragraph's line and which the program sends as it is.
expected_hex() {
    local line
    for line in "$@"; do printf '%s0D\n' "$(e2e_gbk_hex "$line")"; done
}

# ticks_apart LOG N MS: the first N records are MS apart, give or take 30 %.
ticks_apart() {
    local i a b
    for ((i = 2; i <= $2; i++)); do
        a=$(e2e_record_ms "$1" $((i - 1))) b=$(e2e_record_ms "$1" "$i")
        (( (b - a) * 10 >= $3 * 7 && (b - a) * 10 <= $3 * 13 )) ||
            { e2e_error "records $((i - 1)) and $i are $((b - a)) ms apart"; return 1; }
    done
}

# no_more_records LOG SECONDS: the log does not grow for that long.
no_more_records() {
    local n; n=$(e2e_lines "$1")
    sleep "$2"
    [ "$(e2e_lines "$1")" = "$n" ]
}

# clip_expected TEXT / clip_now_without_cr: both clipboard forms of a line.
# The text box reads a line with its paragraph mark, which the check leaves out.
clip_expected() {
    printf 'text %s\nunicode %s' "$(e2e_spaced "$(e2e_gbk_hex "$1")")" "$(e2e_utf16_hex "$1")"
}
clip_now_without_cr() { e2e_clip_read | sed -E 's/ (0D|000D)$//'; }

# records_have_hanzi_suffix LOG LINEHEX...: every record is one of the lines
# followed by three characters of the GB2312 hanzi rows.
records_have_hanzi_suffix() {
    local log=$1 record prefix ok n=0; shift
    while read -r record; do
        n=$((n + 1)); ok=
        for prefix in "$@"; do
            [ "${record#"$prefix"}" != "$record" ] || continue
            grep -Eq '^(([B-E][0-9A-F]|F[0-7])(A[1-9A-F]|[B-E][0-9A-F]|F[0-9A-E])){3}$' <<<"${record#"$prefix"}" && ok=1
        done
        [ -n "$ok" ] || { e2e_error "record $n: $record"; return 1; }
    done < <(e2e_records "$log")
    [ "$n" -gt 0 ]
}

# wait_box SECONDS: the first message box on screen, "<hwnd> <title hex> <text hex>".
wait_box() {
    local deadline box; deadline=$(e2e_deadline "$1")
    while [ "$(e2e_now_ms)" -lt "$deadline" ]; do
        box=$(e2e_run window_probe boxes | tr -d '\r' | head -1)
        [ -n "$box" ] && { echo "$box"; return 0; }
        sleep 0.2
    done
    return 1
}
