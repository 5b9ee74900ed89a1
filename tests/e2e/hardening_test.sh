#!/usr/bin/env bash
# The program under hostile input and faults, end to end under wine: a box of
# 10,000 lines, a 1 MB paragraph, bytes that are not valid GBK, absurd
# intervals and a storm of hotkey presses, the clipboard held by another
# program, and lines removed during a run.
#
#   tests/e2e/hardening_test.sh     (after scripts/build)
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"
. "$here/program_lib.sh"

e2e_start || exit 1
log=''

box_line() { probe line "$1"; }
set_box_file() { PROBE_LIMIT=320 probe settextfile "$(e2e_winpath "$1")" >/dev/null; }
set_box() { probe settext "$(e2e_gbk_hex "$1")" >/dev/null; }
responsive() { [ -n "$(app_caption)" ]; }
running() { app_caption_becomes '停止(F1键)'; }
stopped() { app_caption_becomes '开始(F1键)'; }

# Every record is the box's line with the same index, counting from 0.
records_match_box_lines() {
    local i=0 record want
    while read -r record; do
        want=$(box_line "$i"); want=${want/#-/}
        [ "$record" = "$want" ] || { e2e_error "record $i: $record, box line: $want"; return 1; }
        i=$((i + 1))
    done < <(e2e_records "$log")
    [ "$i" -gt 0 ]
}

records_at_most() {
    local record
    while read -r record; do
        [ $(( ${#record} / 2 )) -le "$2" ] || { e2e_error "a record of $(( ${#record} / 2 )) bytes"; return 1; }
    done < <(e2e_records "$1")
}

app_start app || { e2e_summary; exit 1; }

# --- 10,000 lines -------------------------------------------------------------
python3 -c "import sys; sys.stdout.buffer.write(b'\r\n'.join(b'line %05d' % i for i in range(10000)))" \
    >"$E2E_DIR/lines.txt"
chat_clear
set_box_file "$E2E_DIR/lines.txt"
check_eq "the box holds 10,000 lines" 10000 "$(probe count)"
check_eq "its last line reads back" "$(e2e_hex 'line 09999')0D" "$(box_line 9999)"
chat_focus
hotkey_toggle F1
e2e_wait_lines "$log" 3 6
# The pass is cut short to the first three and the last three lines: the
# cursor stands at 3, so the tail follows and then the wrap to line 0.
python3 -c "import sys; sys.stdout.buffer.write(b'\r\n'.join(b'line %05d' % i for i in (0, 1, 2, 9997, 9998, 9999)))" \
    >"$E2E_DIR/short.txt"
set_box_file "$E2E_DIR/short.txt"
e2e_wait_lines "$log" 8 10
hotkey_toggle F1
check_eq "10,000 lines: the first ticks, then the tail and the wrap" \
    "$(expected_hex 'line 00000' 'line 00001' 'line 00002' 'line 09997' 'line 09998' 'line 09999' 'line 00000' 'line 00001')" \
    "$(e2e_records "$log" | head -8)"

# --- lines removed during a run ----------------------------------------------
chat_clear
set_box $'r0\r\nr1\r\nr2\r\nr3\r\nr4'
chat_focus
hotkey_toggle F1
e2e_wait_lines "$log" 4 7
set_box $'n0\r\nn1'  # the cursor is at 4 now, past the new end
e2e_wait_lines "$log" 7 6
hotkey_toggle F1
check_eq "lines removed during a run: it goes on from line 0" \
    "$(expected_hex r0 r1 r2 r3 n0 n1 n0)" "$(e2e_records "$log" | head -7)"

# --- bytes that are not GBK --------------------------------------------------
chat_clear
probe settext "616263810D0A78797AFE" >/dev/null  # lone lead bytes at the ends of both lines
chat_focus
hotkey_toggle F1
check "a line with a lone lead byte is sent" e2e_wait_lines "$log" 2 5
hotkey_toggle F1
check "as the box holds it" records_match_box_lines
check "without a crash" e2e_alive app

# --- absurd intervals and a storm of hotkey presses ------------------------------
chat_clear
set_box "storm"
probe setinterval "31$(printf '30%.0s' $(seq 99))" >/dev/null  # a hundred digits
chat_focus
hotkey_toggle F1
check "a hundred-digit interval still starts a run" running
check "but nothing is sent" no_more_records "$log" 2.5
e2e_press F1
check "and the run stops" stopped
probe setinterval 31 >/dev/null
chat_focus
# shellcheck disable=SC2046
timeout 20 xdotool key --delay 4 $(printf 'F1 %.0s' $(seq 100))
sleep 1
check "100 presses within a second leave it responsive" responsive
check "an even number of presses leaves it stopped" stopped
check "and sending nothing" no_more_records "$log" 2.5
e2e_press F1
check "one more press starts a run" e2e_wait_lines "$log" 1 4
check "whose caption says so" running
e2e_press F1
check "and one more stops it" stopped

# --- the clipboard held open by another program -------------------------------
chat_clear
set_box $'c0\r\nc1\r\nc2'
chat_focus
hotkey_toggle F1
e2e_wait_lines "$log" 1 4
e2e_launch clip clipboard_tool hold 2.6
e2e_wait_output clip '^held' 5
held=$(e2e_lines "$log")
e2e_exit_code clip 10
check_eq "nothing reaches the target while the clipboard is held" 1 "$held"
e2e_wait_lines "$log" 3 5
hotkey_toggle F1
check_eq "the held-back line comes first after the release" "$(expected_hex c0 c1 c2)" "$(e2e_records "$log" | head -3)"

# --- a 1 MB paragraph, last: wine's rich edit is slow to take it in and out ---
python3 -c "import sys; sys.stdout.buffer.write(('中文字符abc' * 100000).encode('gbk'))" >"$E2E_DIR/mb.txt"
chat_clear
# Wine's rich edit lays out a paragraph this long in about two minutes of
# CPU here; setting the text waits for that.
set_box_file "$E2E_DIR/mb.txt"
count=$(probe count)
check "a 1 MB paragraph wraps into many lines" test "${count:-0}" -gt 1000
chat_focus
hotkey_toggle F1
check "a run starts over the 1 MB box" running
check "its wrapped lines are sent" e2e_wait_lines "$log" 3 30
hotkey_toggle F1
check "each at most 8187 bytes" records_at_most "$log" 8187
check "each the box's wrapped line" records_match_box_lines
check "the program is still there" e2e_alive app

app_quit app
e2e_summary
