# Sourced by the desktop tests: a scratch folder $work with a fresh home and configuration,
# removed at exit after every process in pids has been ended, and an Xvfb display of its own
# for Qt's xcb platform. shot NAME saves the screen as $shots/NAME.png when $shots is set.
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

shot() { [ -z "${shots:-}" ] || import -window root "$shots/$1.png"; }
