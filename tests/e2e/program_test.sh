#!/usr/bin/env bash
# The program end to end under wine: its window, sending lines into another
# program's edit box with the button and with the hotkey, the two options,
# the clipboard's two forms, Esc, a second copy, and all hotkeys taken.
#
#   tests/e2e/program_test.sh     (after scripts/build; E2E_VERBOSE=1 for notes)
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"
. "$here/program_lib.sh"

e2e_start || exit 1
# Each scenario starts with chat_clear: a fresh chat target, launched before
# the program is touched, because a window that appears takes wine's
# foreground without the X focus.
log=''

# --- the window -----------------------------------------------------------
app_start app || { e2e_summary; exit 1; }
read -r _ visible x y w h caption <<<"$(probe_main | head -1)"
check_eq "outer size is 429 x 320" "429 320" "$w $h"
check_eq "centred on the 1024 x 768 screen" "297 224" "$x $y"
check_eq "caption names the hotkey" "$(e2e_gbk_hex '开始(F1键)')" "$caption"
e2e_screenshot "$E2E_DIR/window.png" "$APP_WID" >/dev/null 2>&1
[ -n "${E2E_SCREENSHOT:-}" ] && cp "$E2E_DIR/window.png" "$E2E_SCREENSHOT"

# --- three lines, the button, cycling --------------------------------------
lines=("第一行 line one" "second 第二" "三")
chat_clear
app_set_lines "${lines[@]}"
# Two seconds: time enough to bring the chat target to the foreground after
# the click before the first tick.
probe setinterval "$(e2e_hex 2)" >/dev/null
app_click_button
chat_focus
check "four ticks arrive" e2e_wait_lines "$log" 4 12
check_eq "lines arrive in order and cycle, GBK byte-exact" \
    "$(expected_hex "${lines[@]}" "${lines[0]}")" "$(e2e_records "$log" | head -4)"
check "one line per tick" ticks_apart "$log" 4 2000
check_eq "running caption" "$(e2e_gbk_hex '停止(F1键)')" "$(app_caption)"
check_eq "clipboard holds the last line as text and as unicode" \
    "$(clip_expected "${lines[0]}")" "$(clip_now_without_cr)"
app_click_button
check_eq "a second click stops the run" "$(e2e_gbk_hex '开始(F1键)')" "$(app_caption)"
check "nothing arrives after the stop" no_more_records "$log" 2.5
probe setinterval "$(e2e_hex 1)" >/dev/null

# --- the second Enter ------------------------------------------------------
chat_clear
app_set_lines "a1" "b2"
app_click 106 236  # 选择框1
chat_focus
hotkey_toggle F1
check "two ticks with a second Enter" e2e_wait_lines "$log" 4 6
check_eq "each line is followed by an empty submission" \
    "$(printf '%s\n' "$(e2e_hex a1)0D" "" "$(e2e_hex b2)0D" "")" "$(e2e_records "$log" | head -4)"
hotkey_toggle F1
app_click 106 236

# --- three random characters -----------------------------------------------
chat_clear
app_click 164 237  # 选择框2
chat_focus
hotkey_toggle F1
check "two ticks with the random suffix" e2e_wait_lines "$log" 2 5
hotkey_toggle F1
app_click 164 237
check "each line ends in three hanzi" records_have_hanzi_suffix "$log" "$(e2e_hex a1)0D" "$(e2e_hex b2)0D"

# --- Esc ends the program, also during a run --------------------------------
chat_clear
app_set_lines "esc test"
chat_focus
hotkey_toggle F1
e2e_wait_lines "$log" 1 5
e2e_key "$APP_WID" Escape
app_exit=0; e2e_exit_code app 10 || app_exit=$?
check_eq "Esc ends the program with exit code 0" 0 "$app_exit"
check "no line arrives after the end" no_more_records "$log" 2.5

# --- the hotkey ---------------------------------------------------------------
chat_clear
app_start app || { e2e_summary; exit 1; }
app_set_lines "hot 热键" "key"
chat_focus
e2e_press F1
check "F1 in the other program starts a run" e2e_wait_lines "$log" 2 5
check_eq "its lines arrive" "$(expected_hex "hot 热键" "key")" "$(e2e_records "$log" | head -2)"
e2e_press F1
check "F1 again stops it" app_caption_becomes '开始(F1键)'
check "nothing arrives after F1 stopped it" no_more_records "$log" 2.5

chat_clear
chat_focus
e2e_press F1
e2e_wait_lines "$log" 1 5
app_click_button
check_eq "a run started with F1 stops with a click" "$(e2e_gbk_hex '开始(F1键)')" "$(app_caption)"
check "and sends no more" no_more_records "$log" 2.5

# --- a second copy falls back to F2 ------------------------------------------
chat_clear
app_start second || { e2e_summary; exit 1; }
second_caption=$(app_caption)
check_eq "a second copy shows F2" "$(e2e_gbk_hex '开始(F2键)')" "$second_caption"
app_set_lines "from the second copy"
chat_focus
e2e_press F2
check "F2 toggles the second copy" e2e_wait_lines "$log" 1 5
check_eq "the second copy's line arrives" "$(expected_hex 'from the second copy')" "$(e2e_records "$log" | head -1)"
e2e_press F2
check "F2 again stops the second copy" app_caption_becomes '开始(F2键)'
app_quit second
app_quit app

# --- every hotkey taken ------------------------------------------------------
e2e_launch holder hotkey_holder F1 F2 F3 AltZ
e2e_wait_output holder '^ready' 10
check "the holder has all four keys" test "$(grep -c granted "$(e2e_out holder)")" -eq 4
e2e_launch app vexmora
box=$(wait_box 15)
read -r box_hwnd box_title box_text <<<"$box"
check_eq "the failure box says so" "$(e2e_gbk_hex '程序结束') $(e2e_gbk_hex '注册热键失败.')" "$box_title $box_text"
check_eq "the main window never appears" "" "$(probe_main | awk '$2 == 1')"
box_wid=$(e2e_wait_window "程序结束" 5)
e2e_key "$box_wid" Return
app_exit=0; e2e_exit_code app 10 || app_exit=$?
check_eq "ends with exit code 1 after the box" 1 "$app_exit"
e2e_kill holder

e2e_summary
