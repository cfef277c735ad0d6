# Shared by the page scenarios: waits, clicks at layout coordinates, pixel
# digests of the main window, message boxes and exit codes. Sourced by a
# driver that runs inside tests/support/wine-run (prefix and display set up)
# and has set $scenario, $arch, $setup and $shots.
caption='岚舟模拟器 安装'
pid= win= ox=0 oy=0
# Every bound below is multiplied by this (a slow machine, an emulated CPU).
patience=${QX_PAGE_PATIENCE:-1}
tries() { seq $(($1 * patience)); }

shot() { import -window root "$shots/$scenario-$1.png" 2>/dev/null; }
fail() {
  echo "FAIL [$arch $scenario]: $*" >&2
  shot failure
  exit 1
}

# A visible top-level window titled exactly $1, waited for up to $2 seconds.
find_window() { timeout $((${2:-20} * patience)) xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_gone() {
  for _ in $(tries 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Pixels of a region of the main window (layout coordinates), as a digest.
region() { import -window root -crop "$3x$4+$((ox + $1))+$((oy + $2))" rgb:- 2>/dev/null | md5sum | cut -c1-32; }
# Waits until region x y w h differs from (or, with "same", equals) a digest.
wait_region() { # x y w h digest [same]
  local now
  for _ in $(tries 150); do
    now=$(region "$1" "$2" "$3" "$4")
    if [ "${6:-}" = same ]; then [ "$now" = "$5" ] && return 0; else [ "$now" != "$5" ] && return 0; fi
    sleep 0.1
  done
  return 1
}
# The window has painted once two looks in a row agree.
settle() {
  local a b
  a=$(region 0 0 610 390)
  for _ in $(tries 40); do
    sleep 0.15
    b=$(region 0 0 610 390)
    [ "$a" = "$b" ] && return 0
    a=$b
  done
}

click() { # layout x y
  xdotool mousemove $((ox + $1)) $((oy + $2))
  sleep 0.05
  xdotool click 1
}

start_installer() {
  wine "$setup" >/dev/null 2>&1 &
  pid=$!
  win=$(find_window QXInstall 40)
  [ -n "$win" ] || fail "the main window did not appear"
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$win")"
  ox=$X oy=$Y
  [ "$WIDTH" = 610 ] && [ "$HEIGHT" = 390 ] || fail "main window is ${WIDTH}x$HEIGHT, not 610x390"
  settle
}

alive() { kill -0 "$pid" 2>/dev/null && xdotool search --onlyvisible --name '^QXInstall$' >/dev/null 2>&1; }

expect_exit() { # code [pid]
  local p=${2:-$pid}
  for _ in $(tries 100); do
    kill -0 "$p" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$p" 2>/dev/null && fail "the installer did not end"
  wait "$p"
  local rc=$?
  [ "$rc" = "$1" ] || fail "exit code $rc, expected $1"
}

# A message box (own window without title bar) appears; press a key on it.
answer_box() { # name-for-screenshot key
  local box
  box=$(find_window "$caption" 20)
  [ -n "$box" ] || fail "no message box for $1"
  sleep 0.2
  shot "$1"
  xdotool windowfocus "$box" 2>/dev/null
  xdotool key "$2"
  window_gone "$caption" || fail "the message box for $1 stayed"
}

# From the home page to the custom-install page, waiting until it shows;
# keeps the home page's look of the path-box area in $home.
open_custom() {
  home=$(region $PATH_BOX)
  click $CUSTOM
  wait_region $PATH_BOX "$home" || fail "the custom page did not show"
  settle
}

press() { # key on the main window
  xdotool windowfocus "$win" 2>/dev/null
  xdotool key "$1"
}

# The folder dialog, driven through its tree (Wine ignores a typed path):
# from "My Computer" (the last top item) down to drive D:, then down into
# its first subfolder when asked. The prefix's D: holds only what the
# scenario made there.
pick_on_d() { # [sub]
  click $BROWSE
  local dlg
  dlg=$(find_window '选择文件夹' 20)
  [ -n "$dlg" ] || fail "the folder dialog did not appear"
  sleep 0.3
  xdotool windowfocus "$dlg" 2>/dev/null
  for k in End Right Down Down ${1:+Right Down}; do
    xdotool key $k
    sleep 0.25
  done
  shot "dialog${1:+-$1}"
  xdotool key Return
  window_gone '选择文件夹' || fail "the folder dialog stayed"
  xdotool mousemove $((ox + 300)) $((oy + 200))
  settle
}
# What the path box shows after typing a text into it, as the reference
# picture of that text.
typed_path() { # text
  click $PATH_CENTRE
  sleep 0.2
  xdotool key End shift+Home  # the typed text replaces the whole path
  xdotool type --delay 20 "$1"
  xdotool key Return
  xdotool mousemove $((ox + 300)) $((oy + 200))
  settle
  region $PATH_BOX
}

# Layout coordinates (centres) of the controls used.
LINK="189 360" CHECK="20 359" INSTALL="305 311" CUSTOM="550 362" CLOSE="590 13"
BROWSE="564 261" OPTION="27 292" RETURN="580 349" CUSTOM_INSTALL="305 337"
AGREEMENT_AREA="150 80 300 120" PATH_BOX="19 244 510 34" OPTION_BOX="20 285 15 15"
PATH_CENTRE="274 261" INFO="140 218 400 20"
OPT_SHORTCUT="27 292" OPT_TASKBAR="211 292" OPT_AUTORUN="389 292"
# The installing page's parts (rectangles) and the success page's buttons.
PERCENT="553 318 30 20" BAR="24 340 562 10" LOADING="0 32 610 228" STATUS="24 318 150 20"
SUCCESS_BUTTON="240 292 130 46" OPEN="305 315" MINI="561 13"

# Waits up to $1 seconds for the success page (its button's rectangle
# changes); prints the time it was seen and the ms between looks.
wait_success() {
  local x y w h seen
  read -r x y w h <<<"$SUCCESS_BUTTON"
  seen=$(python3 "$(dirname "${BASH_SOURCE[0]}")/screen-regions.py" change $((ox + x)) $((oy + y)) "$w" "$h" \
    $((${1:-60} * patience))) || fail "no success page"
  settle
  echo "$seen"
}

