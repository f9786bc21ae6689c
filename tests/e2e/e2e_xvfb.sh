#!/usr/bin/env bash
# The desktop program end to end under a virtual X server, driven only by
# synthetic keys: start-up window, parameter dialog, release point, a whole
# simulation run, Save Image and Exit. The saved bitmap must show the coast,
# the release disc and the tracks; a screenshot of the screen is kept.
#
# Usage: e2e_xvfb.sh PROGRAM SAMPLE_DATA_DIR TEST_DATA_DIR OUTPUT_DIR
# Every wait is bounded: a program that hangs fails the test.
set -euo pipefail

PROGRAM="$(realpath "$1")"
SAMPLE_DATA="$(realpath -m "$2")"
TEST_DATA="$(realpath -m "$3")"
OUTPUT="$(realpath -m "$4")"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

WAIT_WINDOW_SECONDS=20
WAIT_RUN_SECONDS=120
WAIT_EXIT_SECONDS=20
KEY_DELAY_MS=120
SCREEN="1280x1024x24"
SAVED_NAME="lake_run"

for tool in Xvfb xdotool import python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "e2e_xvfb: SKIPPED, $tool is not installed"
    exit 0
  fi
done

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e_xvfb: FAILED: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$OUTPUT/e2e_failure.png" 2>/dev/null || true
  [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
  exit 1
}

# The data: the generated sample lake when the build has it, else the small
# test lake under the sample names.
if [ -f "$SAMPLE_DATA/geomtan.inp" ] && [ -f "$SAMPLE_DATA/tanws.fld" ]; then
  for f in geomtan.inp tanws.fld bougarab.wav; do
    [ -f "$SAMPLE_DATA/$f" ] && cp "$SAMPLE_DATA/$f" "$work/"
  done
  release_x="65.7"
  release_y="288.4"
else
  cp "$TEST_DATA/testlake.inp" "$work/geomtan.inp"
  cp "$TEST_DATA/testlake.fld" "$work/tanws.fld"
  release_x="3"
  release_y="3"
fi
mkdir -p "$OUTPUT"
rm -f "$OUTPUT"/e2e_*

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n1 "$work/display")"
echo "e2e_xvfb: display $DISPLAY, data from $( [ "$release_x" = 3 ] && echo test lake || echo "$SAMPLE_DATA")"

# The id of the visible window whose title matches, waited for.
wait_window() {
  local title="$1" id=""
  for _ in $(seq 1 $((WAIT_WINDOW_SECONDS * 10))); do
    id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
# Waits until window `id` is no longer visible.
wait_hidden() {
  local id="$1"
  for _ in $(seq 1 $((WAIT_WINDOW_SECONDS * 10))); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id" || return 0
    sleep 0.1
  done
  return 1
}
# A visible window with this title other than `old`.
wait_new_window() {
  local title="$1" old="$2" id
  for _ in $(seq 1 $((WAIT_WINDOW_SECONDS * 10))); do
    id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | grep -vx "$old" | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
keys() { xdotool key --clearmodifiers --delay "$KEY_DELAY_MS" "$@"; }
focus() { xdotool windowfocus --sync "$1"; }
picture_hash() { import -window "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }

cd "$work"
started=$(date +%s)
QT_QPA_PLATFORM=xcb "$PROGRAM" >"$work/app.log" 2>&1 &
app_pid=$!

# Start-up window: Tab through the three groups and the music box to
# Continue, which Enter presses.
startup="$(wait_window '^Startup$')" || fail "no start-up window"
focus "$startup"
keys Tab Tab Tab Tab Return
main="$(wait_window '^HORIZONTAL TRANSPORT IN LAKE TANGANYIKA$')" || fail "no main window after Continue"
wait_hidden "$startup" || fail "the start-up window stayed"

# Run menu, Enter Parameters Values. The menu opens on its first item; the
# Run menu has two items on E, and their key moves between them: E to Exit,
# E back to Enter Parameters Values, Enter chooses it.
focus "$main"
keys alt+r e e Return
params="$(wait_window '^Select parameters$')" || fail "Enter Parameters Values showed no dialog"
# Continue is the last control of the dialog: one step back from the first.
focus "$params"
keys shift+Tab space
wait_hidden "$params" || fail "Continue did not close the parameter dialog"

# Select Point: S stops on Select Point (Start Simulation is the other S).
focus "$main"
keys alt+r s Return
ask_x="$(wait_window '^Release Point$')" || fail "Select Point asked nothing"
xdotool type --delay 40 -- "$release_x"
keys Return
ask_y="$(wait_new_window '^Release Point$' "$ask_x")" || fail "no second input box"
xdotool type --delay 40 -- "$release_y"
keys Return
wait_hidden "$ask_y" || fail "the Y input box stayed"
sleep 0.5
if xdotool search --onlyvisible --name '^Release point$' >/dev/null 2>&1; then
  fail "the release point ($release_x, $release_y) was refused"
fi

# Start Simulation: S, S, Enter. The run has ended when the picture has
# changed and then the program has neither drawn nor used the processor
# for a second.
focus "$main"
before="$(picture_hash "$main")"
keys alt+r s s Return
run_started=$(date +%s)
changed=0
still=0
last_hash=""
last_ticks="$(cpu_ticks)"
while :; do
  sleep 0.5
  kill -0 "$app_pid" 2>/dev/null || fail "the program died during the run"
  [ $(( $(date +%s) - run_started )) -le "$WAIT_RUN_SECONDS" ] || fail "the run did not end within ${WAIT_RUN_SECONDS}s"
  hash="$(picture_hash "$main")"
  ticks="$(cpu_ticks)"
  [ "$hash" != "$before" ] && changed=1
  if [ "$changed" = 1 ] && [ "$hash" = "$last_hash" ] && [ $((ticks - last_ticks)) -le 1 ]; then
    still=$((still + 1))
  else
    still=0
  fi
  [ "$still" -ge 2 ] && break
  last_hash="$hash"
  last_ticks="$ticks"
done
echo "e2e_xvfb: the run took about $(( $(date +%s) - run_started ))s"
import -window root "$OUTPUT/e2e_screen.png" || fail "no screenshot"

# Save Image on the menu bar: Alt+S, a name, Enter.
focus "$main"
keys alt+s
ask_name="$(wait_window '^Save Image$')" || fail "Save Image asked nothing"
xdotool type --delay 40 -- "$SAVED_NAME"
keys Return
wait_hidden "$ask_name" || fail "the Save Image box stayed"
for _ in $(seq 1 $((WAIT_WINDOW_SECONDS * 10))); do
  [ -s "$work/$SAVED_NAME.bmp" ] && break
  sleep 0.1
done
[ -s "$work/$SAVED_NAME.bmp" ] || fail "no $SAVED_NAME.bmp was saved"
cp "$work/$SAVED_NAME.bmp" "$OUTPUT/e2e_$SAVED_NAME.bmp"
python3 "$HERE/check_bitmap.py" "$work/$SAVED_NAME.bmp" || fail "the saved picture lacks coast, disc or tracks"

# Exit: the menu opens on Enter Parameters Values, E moves to Exit.
focus "$main"
keys alt+r e Return
for _ in $(seq 1 $((WAIT_EXIT_SECONDS * 10))); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after Exit"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "e2e_xvfb: passed in $(( $(date +%s) - started ))s"
