#!/usr/bin/env bash
# Checks the e2e harness and its three helper programs on their own, without
# the program under test: pasting GBK text into the chat target through the
# clipboard, the clipboard tool's formats and holding, hotkey conflicts,
# focus between windows, and how exit codes come back from wine.
#
#   tests/e2e/selftest.sh        (E2E_BIN=... to use another build)
set -u -o pipefail
# shellcheck source=tests/e2e/harness.sh
. "$(dirname "$0")/harness.sh"

e2e_start || exit 1
echo "# display $DISPLAY, prefix warm-up ${E2E_WARMUP_MS} ms"

log=$E2E_DIR/chat.log
cliplog=$E2E_DIR/clip.log

# --- the chat target window --------------------------------------------------
e2e_launch chat chat_target "$(e2e_winpath "$log")" "$(e2e_winpath "$cliplog")"
wid=$(e2e_wait_window_of chat "chat target")
check "chat target window appears" test -n "$wid"
[ -n "$wid" ] || { e2e_summary; exit 1; }
geometry=$(e2e_window_geometry "$wid")
read -r _ _ gw gh <<<"$geometry"
check "window geometry is x y w h" grep -Eq '^-?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+$' <<<"$geometry"
check "window has the size it was made with" test "${gw:-0}" -gt 300 -a "${gh:-0}" -gt 40

# --- pasting: clipboard CF_TEXT, ctrl+v, Return -> one byte-exact record ------
# name | text (UTF-8 here, GBK on the clipboard)
long_line=$(printf '中%.0s' $(seq 1000))
paste_cases=(
    "gbk and ascii|你好abc"
    "plain ascii|Hello, world! 123"
    "full-width punctuation|，。！？【】"
    "two-byte gbk only|汉字测试"
    "one thousand hanzi|$long_line"
)
n=0
for entry in "${paste_cases[@]}"; do
    name=${entry%%|*} text=${entry#*|}
    hex=$(e2e_gbk_hex "$text")
    e2e_clip_set_hex "$hex"
    e2e_key "$wid" ctrl+v Return
    n=$((n + 1))
    e2e_wait_lines "$log" "$n" 10
    check_eq "paste $name: record is the GBK bytes" "$hex" "$(e2e_record "$log" "$n")"
    check_eq "paste $name: clipboard at Enter" "$hex" "$(e2e_record "$cliplog" "$n")"
done

# --- typing and empty submissions ---------------------------------------------
e2e_key "$wid" Return
n=$((n + 1)); e2e_wait_lines "$log" "$n" 10
check_eq "empty submission is written as -" "-" "$(sed -n "${n}p" "$log" | cut -d' ' -f2)"
check "empty record reads back as no bytes" test -z "$(e2e_record "$log" "$n")"

e2e_type "$wid" "Typed: a-z 0-9 !?"
e2e_press Return
n=$((n + 1)); e2e_wait_lines "$log" "$n" 10
check_eq "typed ascii arrives byte-exact" "$(e2e_hex "Typed: a-z 0-9 !?")" "$(e2e_record "$log" "$n")"
check "e2e_type refuses non-ascii text" e2e_not e2e_type "$wid" "你好" 2>/dev/null

e2e_paste_gbk "$wid" "粘贴"
e2e_press Return
n=$((n + 1)); e2e_wait_lines "$log" "$n" 10
check_eq "e2e_paste_gbk puts the GBK bytes in" "$(e2e_gbk_hex "粘贴")" "$(e2e_record "$log" "$n")"

check_eq "one record per Enter, nothing else" "$n" "$(e2e_lines "$log")"
# shellcheck disable=SC2016 # awk program
check "timestamps never go backwards" \
    awk 'NR > 1 && $1 < prev { bad = 1 } { prev = $1 } END { exit bad }' "$log"
check "every record has exactly two fields" awk 'NF != 2 { bad = 1 } END { exit bad }' "$log"

# --- clipboard_tool -------------------------------------------------------------
e2e_clip_set_gbk "你好abc"
mapfile -t clip < <(e2e_clip_read)
check_eq "read shows CF_TEXT bytes" "text $(e2e_spaced "$(e2e_gbk_hex "你好abc")")" "${clip[0]:-}"
check_eq "read shows CF_UNICODETEXT made from them" "unicode $(e2e_utf16_hex "你好abc")" "${clip[1]:-}"

e2e_run clipboard_tool set "plain arg" >/dev/null
check_eq "set takes an ascii argument" "text $(e2e_spaced "$(e2e_hex "plain arg")")" "$(e2e_clip_read | head -1)"

e2e_run clipboard_tool empty >/dev/null
mapfile -t clip < <(e2e_clip_read)
check_eq "emptied clipboard has no text" "text none|unicode none" "${clip[0]:-}|${clip[1]:-}"

e2e_clip_set_hex ""
check_eq "an empty CF_TEXT is present but empty" "text" "$(e2e_clip_read | head -1)"

rc=0; e2e_run clipboard_tool set-hex C4E 2>/dev/null || rc=$?
check_eq "odd-length hex is a usage error" 2 "$rc"

e2e_clip_set_hex 414243
e2e_launch hold clipboard_tool hold 3
check "hold reports when it has the clipboard" e2e_wait_output hold '^held$' 10
rc=0; busy=$(e2e_run clipboard_tool read) || rc=$?
check_eq "a held clipboard cannot be read" "3 busy" "$rc $busy"
rc=0; e2e_exit_code hold 10 || rc=$?
check_eq "hold ends by itself" 0 "$rc"
check "hold reports the release" grep -qx released "$(e2e_out hold)"
check_eq "clipboard readable again after the hold" "text 41 42 43" "$(e2e_clip_read | head -1)"

# --- hotkey_holder ----------------------------------------------------------------
e2e_launch hold1 hotkey_holder F1 AltZ
check "first holder is ready" e2e_wait_output hold1 '^ready$' 10
e2e_launch hold2 hotkey_holder F1 F2 AltZ F3
check "second holder is ready" e2e_wait_output hold2 '^ready$' 10
# holder | expected report lines
hotkey_cases=(
    "hold1|F1 granted,AltZ granted"
    "hold2|F1 refused,F2 granted,AltZ refused,F3 granted"
)
for entry in "${hotkey_cases[@]}"; do
    holder=${entry%%|*} want=${entry#*|}
    check_eq "$holder reports each key" "$want" "$(grep -v '^ready$' "$(e2e_out "$holder")" | paste -sd, -)"
done

before=$(e2e_lines "$log")
e2e_key "$wid" F1 F2 alt+z F3
# holder | key that fired there
pressed_cases=("hold1|F1" "hold1|AltZ" "hold2|F2" "hold2|F3")
for entry in "${pressed_cases[@]}"; do
    holder=${entry%%|*} key=${entry#*|}
    check "$key reaches $holder from the focused window" e2e_wait_output "$holder" "^pressed $key\$" 5
done
check "a refused key does not fire" e2e_not grep -q "pressed F1" "$(e2e_out hold2)"
e2e_paste_gbk "$wid" "热键后"
e2e_press Return
e2e_wait_lines "$log" $((before + 1)) 10
check_eq "hotkeys leave the focused edit alone" "$(e2e_gbk_hex "热键后")" "$(e2e_record "$log" $((before + 1)))"

e2e_kill hold1
e2e_launch hold3 hotkey_holder F1
e2e_wait_output hold3 '^ready$' 10
check "a killed holder's key is free again" grep -qx "F1 granted" "$(e2e_out hold3)"
e2e_kill hold2
e2e_kill hold3

e2e_launch badkey hotkey_holder F9
rc=0; e2e_exit_code badkey 10 || rc=$?
check_eq "unknown key name: exit 2" "2 unknown F9" "$rc $(cat "$(e2e_out badkey)")"

# --- focus between two windows ------------------------------------------------------
log2=$E2E_DIR/chat2.log
e2e_launch chat2 chat_target "$(e2e_winpath "$log2")"
wid2=$(e2e_wait_window_of chat2 "chat target")
check "second chat target appears" test -n "$wid2"
n1=$(e2e_lines "$log")
for i in 1 2 3; do
    e2e_type "$wid" "one$i" && e2e_press Return
    e2e_type "$wid2" "two$i" && e2e_press Return
done
e2e_wait_lines "$log" $((n1 + 3)) 10
e2e_wait_lines "$log2" 3 10
check_eq "focus switches to the first window each time" \
    "$(e2e_hex one1) $(e2e_hex one2) $(e2e_hex one3)" "$(e2e_records "$log" | tail -3 | paste -sd' ' -)"
check_eq "focus switches to the second window each time" \
    "$(e2e_hex two1) $(e2e_hex two2) $(e2e_hex two3)" "$(e2e_records "$log2" | paste -sd' ' -)"
e2e_click "$wid" 60 22
e2e_press c l i c k Return
e2e_wait_lines "$log" $((n1 + 4)) 10
check_eq "a click focuses the window too" "$(e2e_hex click)" "$(e2e_record "$log" $((n1 + 4)))"

e2e_key "$wid2" alt+F4
rc=0; e2e_exit_code chat2 10 || rc=$?
check_eq "closing the chat target exits with 0" 0 "$rc"
check "its window is gone" e2e_window_gone "$wid2" 5

# --- exit codes through wine ------------------------------------------------------
# Windows exit code | status seen by the shell
exit_cases=("0|0" "3|3" "255|255" "-1|255" "-2|254" "1000|232" "256|1" "65536|1")
for entry in "${exit_cases[@]}"; do
    code=${entry%%|*} want=${entry#*|}
    e2e_launch code clipboard_tool exit "$code"
    rc=0; e2e_exit_code code 10 || rc=$?
    check_eq "exit code $code comes back as $want" "$want" "$rc"
done
e2e_launch gui chat_target
rc=0; e2e_exit_code gui 10 || rc=$?
check_eq "a GUI program's exit code comes back too" 2 "$rc"

e2e_launch slow clipboard_tool hold 30
e2e_wait_output slow '^held$' 10
rc=0; e2e_exit_code slow 1 2>/dev/null || rc=$?
check_eq "waiting too long gives 124" 124 "$rc"
check "and the program is gone" e2e_not e2e_alive slow

# --- screenshots ------------------------------------------------------------------
e2e_screenshot "$E2E_DIR/screen.png"
check_eq "screenshot of the screen" "1024 768" "$(identify -format '%w %h' "$E2E_DIR/screen.png" 2>/dev/null)"
e2e_screenshot "$E2E_DIR/chat.png" "$wid"
check_eq "screenshot of a window" "$gw $gh" "$(identify -format '%w %h' "$E2E_DIR/chat.png" 2>/dev/null)"

e2e_summary
