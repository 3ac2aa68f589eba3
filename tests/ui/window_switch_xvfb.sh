#!/bin/sh
# Two editor windows under a real window manager on a private X server: the editor chooser of
# the one lists the other and raises it. Skipped (77) without Xvfb, openbox, xdotool or xprop.
# Usage: window_switch_xvfb.sh TESSARY WORK_FOLDER
set -u
tessary=$1
work=$2/window-switch
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: no $tool"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work/home"
pids=""
# The editors first, the server last.
cleanup() {
  for p in $pids; do order="$p ${order:-}"; done
  for p in ${order:-}; do kill "$p" 2>/dev/null; sleep 0.2; done
}
trap cleanup EXIT

# The server picks a free display and writes its number to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$work/display" >/dev/null 2>&1 &
pids="$!"
read -r number <"$work/display"
export DISPLAY=":$number" TESSARY_HOME="$work/home" QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
pids="$pids $!"
printf '[Wraning]\r\nShow=0\r\n' >"$work/home/tessary.ini"
printf 'first\r\n' >"$work/first.txt"
printf 'second\r\n' >"$work/second.txt"

wait_for() {  # wait_for COMMAND...: up to ten seconds
  i=0
  until "$@" >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -gt 100 ] && return 1
    sleep 0.1
  done
}
window_of() {
  w=$(xdotool search --all --onlyvisible --pid "$1" --name 'Tessary' 2>/dev/null | head -n 1)
  [ -n "$w" ] && echo "$w"
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
active() { xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //'; }
same_window() { [ "$(printf '%d' "$(active)")" = "$1" ]; }

wait_for wm_running || { echo "the window manager did not start"; exit 1; }
"$tessary" "$work/first.txt" &
first=$!
pids="$pids $first"
wait_for window_of "$first" || { echo "first window did not appear"; exit 1; }
"$tessary" "$work/second.txt" &
second=$!
pids="$pids $second"
wait_for window_of "$second" || { echo "second window did not appear"; exit 1; }
w1=$(window_of "$first")
w2=$(window_of "$second")
[ -n "${TESSARY_DEBUG:-}" ] && echo "w1=$w1 w2=$w2 active=$(active)"
xdotool windowactivate --sync "$w2"
wait_for same_window "$w2" || { echo "second window not active"; exit 1; }

# 文書を選択 (Ctrl+Tab in the default key map) in the second window, then Enter in its list.
xdotool key --window "$w2" ctrl+Tab
wait_for xdotool search --onlyvisible --name 'エディター選択' || { echo "no chooser"; exit 1; }
chooser=$(xdotool search --onlyvisible --name 'エディター選択' | head -n 1)
xdotool windowactivate --sync "$chooser"
sleep 0.5
[ -n "${TESSARY_DEBUG:-}" ] && { echo "w1=$w1 w2=$w2 chooser=$chooser"; for w in $(xprop -root _NET_CLIENT_LIST | sed "s/.*# //; s/,//g"); do echo "$w $(xprop -id $w WM_NAME _NET_WM_PID)"; done; }
xdotool key --window "$chooser" Return
if wait_for same_window "$w1"; then
  echo "the chooser raised the first window"
  exit 0
fi
echo "active window $(active), expected $w1"
exit 1
