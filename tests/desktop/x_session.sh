# Sourced by the desktop tests: a virtual X display of their own, a home and preference file
# of their own in $work (removed at exit, with every process in pids), and the editor
# ($editor) started on it with a file opened through its dialog; screenshots on request.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export PELBROOK_PREFERENCES=$work/preferences.reg
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# Waits until the editor's title is $1, for up to 20 seconds.
wait_for_title() {
  for _ in $(seq 200); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "the title never became: $1 (it is: $(xdotool getwindowname "$window"))"
  return 1
}

# Waits up to 20 seconds for the line "pelbrook.window: $1" in $work/log, where an editor run
# with QT_LOGGING_RULES='pelbrook.window.debug=true' sends its standard error.
wait_for_log() {
  for _ in $(seq 200); do
    grep -qxF "pelbrook.window: $1" "$work/log" && return 0
    sleep 0.1
  done
  echo "FAILED: never saw: $1"
  tail -n 20 "$work/log"
  exit 1
}

# Starts the editor ($window its window) on the file $1.
start_editor_on() {
  # On the command line rather than through the Open dialog: typed keys can outrun a dialog that
  # is slow to take the focus on a busy machine.
  "$editor" "$1" &
  pids+=($!)
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^The Pelbrook - ')
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  wait_for_title "The Pelbrook - [$1]"
  # The title comes before the list is made; mouse work needs the items in place.
  sleep 1
}

# Saves the screen as $shots/$1.png when $shots is set.
shot() { [ -z "${shots:-}" ] || import -window root "$shots/$1.png"; }
