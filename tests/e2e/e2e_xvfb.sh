#!/usr/bin/env bash
# The whole desktop program under a virtual X server, driven only by keys:
# start-up window, parameters, release point, a run, Save Image and Exit.
# The saved bitmap must show the coast, the disc and the tracks; a
# screenshot is kept. Every wait is bounded: a hang fails the test.
# Usage: e2e_xvfb.sh PROGRAM SAMPLE_DATA_DIR TEST_DATA_DIR OUTPUT_DIR
set -euo pipefail
PROGRAM="$(realpath "$1")" SAMPLE_DATA="$(realpath -m "$2")" TEST_DATA="$(realpath -m "$3")" OUTPUT="$(realpath -m "$4")"
# A window or a file: 20 s; a run: 2 minutes; between synthetic keys: 120 ms.
WAIT_TENTHS=200 WAIT_RUN_SECONDS=120 KEY_DELAY_MS=120

for tool in Xvfb xdotool import stream; do command -v "$tool" >/dev/null 2>&1 || { echo "e2e_xvfb: SKIPPED, $tool is not installed"; exit 0; }; done
work="$(mktemp -d)" xvfb_pid="" app_pid=""
trap '[ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 143' TERM; trap 'exit 130' INT  # so that the EXIT trap runs when the test is stopped
# Waits until the shell condition holds, at most WAIT_TENTHS tenths of a second.
wait_for() { for _ in $(seq "$WAIT_TENTHS"); do eval "$1" && return 0; sleep 0.1; done; return 1; }
# Fails with the reason, a screenshot and the program's output.
fail() {
  echo "e2e_xvfb: FAILED: $*" >&2; import -window root "$OUTPUT/e2e_failure.png" 2>/dev/null || true
  sed 's/^/  program: /' "$work/app.log" >&2 2>/dev/null || true; exit 1
}

# The generated sample lake when the build has it, else the small test lake.
lake=("$SAMPLE_DATA/geomtan.inp" "$SAMPLE_DATA/tanws.fld") release=(65.7 288.4)
[ -f "${lake[0]}" ] && [ -f "${lake[1]}" ] || lake=("$TEST_DATA/testlake.inp" "$TEST_DATA/testlake.fld") release=(3 3)
cp "${lake[0]}" "$work/geomtan.inp" && cp "${lake[1]}" "$work/tanws.fld"
mkdir -p "$OUTPUT" && rm -f "$OUTPUT"/e2e_*

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & xvfb_pid=$!
wait_for '[ -s "$work/display" ]' || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n1 "$work/display")"

# The id of a visible window whose title matches and is not `$2`.
wait_window() {
  local id title="$1" other="${2:-none}"
  wait_for 'id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | grep -vx "$other" | head -n1)"; [ -n "$id" ]' && echo "$id"
}
keys() { xdotool windowfocus --sync "$1" && shift && xdotool key --clearmodifiers --delay "$KEY_DELAY_MS" "$@"; }
type_line() { xdotool type --delay 40 -- "$1" && xdotool key Return; }
picture_hash() { import -window "$main" rgb:- 2>/dev/null | md5sum; }

cd "$work"
QT_QPA_PLATFORM=xcb "$PROGRAM" >"$work/app.log" 2>&1 & app_pid=$!
startup="$(wait_window '^Startup$')" || fail "no start-up window"
keys "$startup" Tab Tab Tab Tab Return  # through the groups and the music box to Continue
main="$(wait_window '^HORIZONTAL TRANSPORT IN LAKE TANGANYIKA$')" || fail "no main window after Continue"
# The Run menu opens on its first item; E moves between the two E items.
keys "$main" alt+r e e Return
params="$(wait_window '^Select parameters$')" || fail "Enter Parameters Values showed no dialog"
keys "$params" shift+Tab space  # Continue, the dialog's last control
keys "$main" alt+r s Return     # Select Point (Start Simulation is the other S)
ask_x="$(wait_window '^Release Point$')" || fail "Select Point asked nothing"
type_line "${release[0]}"
wait_window '^Release Point$' "$ask_x" >/dev/null || fail "no second input box"
type_line "${release[1]}"

# Start Simulation. The run has ended when the picture, once changed,
# stays the same for a second.
before="$(picture_hash)" last="" still=0 started=$SECONDS
keys "$main" alt+r s s Return
while [ "$still" -lt 2 ] && sleep 0.5; do
  kill -0 "$app_pid" 2>/dev/null || fail "the program died during the run"
  [ $((SECONDS - started)) -le "$WAIT_RUN_SECONDS" ] || fail "the run did not end within ${WAIT_RUN_SECONDS}s"
  hash="$(picture_hash)"
  if [ "$hash" != "$before" ] && [ "$hash" = "$last" ]; then still=$((still + 1)); else still=0; fi
  last="$hash"
done
import -window root "$OUTPUT/e2e_screen.png" || fail "no screenshot"

keys "$main" alt+s  # Save Image, on the menu bar
wait_window '^Save Image$' >/dev/null || fail "Save Image asked nothing"
type_line lake_run
wait_for '[ -s lake_run.bmp ]' && cp lake_run.bmp "$OUTPUT/e2e_lake_run.bmp" || fail "no lake_run.bmp was saved"
# The coast (black), the release disc (green 0,128,0) and the tracks (red)
# each have their least pixel count.
stream -map rgb -storage-type char lake_run.bmp - | od -An -v -tx1 -w3 | sort | uniq -c >pixels.txt
for want in "coast 00 00 00 200" "disc 00 80 00 20" "tracks ff 00 00 10"; do
  read -r name r g b least <<<"$want"
  count="$(awk -v c="$r $g $b" '$2 " " $3 " " $4 == c {print $1}' pixels.txt)"
  [ "${count:-0}" -ge "$least" ] || fail "the saved picture lacks the $name: ${count:-0} pixels of #$r$g$b, $least wanted"
done

keys "$main" alt+r e Return  # Exit: E moves from the first item to Exit
wait_for '! kill -0 "$app_pid" 2>/dev/null' || fail "the program did not end after Exit"
status=0; wait "$app_pid" || status=$?; app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "e2e_xvfb: passed in ${SECONDS}s"
