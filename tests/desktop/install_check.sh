#!/usr/bin/env bash
# The install as a packager or a user sees it: every file in place under a temporary prefix,
# the desktop entry and the metainfo accepted by their validators, the MIME types known by
# name and by content, and the installed editor opening a file named on its command line.
# Skipped (77) without desktop-file-validate or appstreamcli.
# Usage: install_check.sh BUILD-FOLDER SAMPLE.s16
set -euo pipefail
build=$1 sample=$2
id=org.pelbrook.Pelbrook
# A build of the tests alone (the sanitizer run) has nothing to install.
for built in pelbrook pelbrook-tool cutter.wav icons/256x256/org.pelbrook.Pelbrook.png; do
  [ -e "$build/$built" ] || { echo "no $built built: skipped"; exit 77; }
done
for need in desktop-file-validate appstreamcli update-mime-database; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done

work=$(mktemp -d)
editor_pid=
cleanup() {
  [ -z "$editor_pid" ] || kill "$editor_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

files=(bin/pelbrook bin/pelbrook-tool share/pelbrook/cutter.wav
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/mime/packages/$id.xml" "share/icons/hicolor/scalable/apps/$id.svg"
  share/thumbnailers/pelbrook.thumbnailer)
for size in 16 32 48 64 128 256; do files+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
for file in "${files[@]}"; do [ -s "$prefix/$file" ] || fail "$file is not installed"; done
[ -x "$prefix/bin/pelbrook" ] && [ -x "$prefix/bin/pelbrook-tool" ] || fail "the programs do not run"
for size in 16 32 48 64 128 256; do
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png")
  [ $(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3)) = "$size" ] &&
    [ $(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3)) = "$size" ] || fail "the ${size}px icon is not $size x $size"
done

desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the entry"
grep -qx 'Exec=pelbrook %F' "$desktop" || fail "Exec"
grep -qx 'Categories=Graphics;2DGraphics;RasterGraphics;' "$desktop" || fail "Categories"
grep -qx 'MimeType=application/x-tamblings2-sprites;application/x-tamblings1-sprites;' "$desktop" ||
  fail "MimeType"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli refused the metainfo"

# The MIME types by name, and by content where the name says nothing.
update-mime-database "$prefix/share/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database"; }
grep -qx '50:application/x-tamblings2-sprites:\*.s16' "$prefix/share/mime/globs2" || fail "*.s16"
grep -qx '50:application/x-tamblings1-sprites:\*.spr' "$prefix/share/mime/globs2" || fail "*.spr"
cp "$sample" "$work/unnamed-s16"
"$prefix/bin/pelbrook-tool" convert "$sample" "$work/sheet.spr"
cp "$work/sheet.spr" "$work/unnamed-spr"
if command -v gio >/dev/null; then
  for pair in unnamed-s16:application/x-tamblings2-sprites unnamed-spr:application/x-tamblings1-sprites; do
    type=$(XDG_DATA_HOME=$work/none XDG_DATA_DIRS=$prefix/share:/usr/share \
      gio info -a standard::content-type "$work/${pair%%:*}" | sed -n 's/.*content-type: //p')
    [ "$type" = "${pair#*:}" ] || fail "${pair%%:*} is taken for $type"
  done
fi

# File managers' previews: the entry names the installed types, and its Exec line, split
# without a shell and its codes filled in as a file manager does, writes a PNG within the
# size of a good file and nothing for a broken one.
thumbnailer=$prefix/share/thumbnailers/pelbrook.thumbnailer
grep -qx '\[Thumbnailer Entry\]' "$thumbnailer" || fail "no [Thumbnailer Entry]"
grep -qx 'TryExec=pelbrook-tool' "$thumbnailer" || fail "TryExec"
types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1;/p' "$prefix/share/mime/packages/$id.xml" | tr -d '\n')
grep -qx "MimeType=$types" "$thumbnailer" || fail "the thumbnailer's MimeType is not $types"
read -ra exec_words <<<"$(sed -n 's/^Exec=//p' "$thumbnailer")"
run_thumbnailer() {
  local words=() word
  for word in "${exec_words[@]}"; do
    case $word in %i) word=$1 ;; %o) word=$2 ;; %s) word=$3 ;; esac
    words+=("$word")
  done
  PATH=$prefix/bin:$PATH "${words[@]}"
}
cp "$sample" "$work/a preview source.s16"
run_thumbnailer "$work/a preview source.s16" "$work/a preview.png" 128 || fail "the thumbnailer failed"
read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$work/a preview.png")
[ $(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3)) -le 128 ] &&
  [ $(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3)) -le 128 ] || fail "the preview is larger than 128"
head -c 20 "$sample" >"$work/broken.s16"
status=0
run_thumbnailer "$work/broken.s16" "$work/broken.png" 128 2>/dev/null || status=$?
[ "$status" = 1 ] && [ ! -e "$work/broken.png" ] || fail "a broken file gave status $status or a picture"

# --help needs no display; the editor opens the file named on its command line.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pelbrook" --help | grep -q FILE ||
  fail "pelbrook --help"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pelbrook" --version |
  grep -qx 'pelbrook [0-9.]*' || fail "pelbrook --version"
file="$work/a sheet.s16"
cp "$sample" "$file"
export XDG_RUNTIME_DIR=$work/runtime PELBROOK_PREFERENCES=$work/preferences.reg
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='pelbrook.window.debug=true' \
  "$prefix/bin/pelbrook" "$file" 2>"$work/log" &
editor_pid=$!
for _ in $(seq 200); do
  grep -qx 'pelbrook.window: status: Thumbnails generated.' "$work/log" && break
  sleep 0.1
done
grep -qxF "pelbrook.window: title: The Pelbrook - [$file]" "$work/log" ||
  { cat "$work/log"; fail "the installed editor did not open $file"; }
echo "installed, validated and started: $prefix"
