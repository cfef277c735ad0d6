# Shared by the install and uninstall scenarios: the prefix's places as the
# installer sees them, the install click, and the check of everything an
# install leaves. Sourced after tests/support/page-driver.sh by a driver that
# has set $arch, $bits, $e2e, $probe and $payload.
install_tests=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
settings=$install_tests/../../../sample/info.ini
drive_c=$WINEPREFIX/drive_c
# A Windows path of the prefix as a host path.
host() {
  local p=${1//\\//}
  case $p in
    [Cc]:/*) echo "$drive_c/${p:3}" ;;
    [Dd]:/*) echo "$WINEPREFIX/drive_d/${p:3}" ;;
    *) echo "$p" ;;
  esac
}
probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }
special() { probe folder "$1"; }  # CSIDL

# What this system makes of the installer: the default folder and the
# registry view the uninstall entry goes to.
if [ "$arch" = win64 ] && [ "$bits" = 32 ]; then
  default_folder='C:\Program Files (x86)\QXSimulator' entry_view=32 other_view=64
else
  default_folder='C:\Program Files\QXSimulator' entry_view=64 other_view=32
fi
[ "$arch" = win32 ] && other_view=  # one view only
entry_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QXSimulator'
work_folder=$drive_c/qxextract
display_name=岚舟模拟器

appdata=$(special 26) desktop=$(special 16) startup=$(special 7) programs=$(special 2)
runs_log=$(host "$appdata")/QXSimulator/sample-runs.log
start_menu=$(host "$programs")/QXSimulator
pinned=$(host "$appdata")"/Microsoft/Internet Explorer/Quick Launch/User Pinned/TaskBar/QXSimulator.lnk"

# A host path under drive_c as the Windows path Wine shows.
win() { local p=${1#"$drive_c"/}; echo "C:\\${p//\//\\}"; }
lnk() { probe lnk "$(win "$1")"; }

# The install folder as the batch file names it: blanks quoted per component.
quoted() { sed -E 's/([^\\]* [^\\]*)/"\1"/g' <<<"$1"; }

expect_equal() { [ "$1" = "$2" ] || fail "$3: '$1', expected '$2'"; }

run_installer() { # [setup]
  setup=${1:-$e2e/setup.exe}
  start_installer
}

# Presses an install button, watching the message loop from then on.
click_install() {
  local before
  before=$(region $PERCENT)
  rm -f "$drive_c/loop-gap.txt"
  wine "$probe" loop-gap QXInstall 'C:\loop-gap.txt' >/dev/null 2>&1 &
  click "$@"
  wait_region $PERCENT "$before" || fail "the installing page did not show"
}

# Everything a quick or custom install leaves, read back from the system.
check_install() { # folder desktop(0/1) pin(0/1) autorun(0/1) prerequisite(ran/skipped)
  local folder=$1 h
  h=$(host "$folder")
  diff -r -x VMware14.exe -x uninstall.lst -x uninstall.ini "$payload" "$h" >/dev/null ||
    { diff -r "$payload" "$h" | head -5 >&2; fail "the install folder differs from the payload"; }
  # The install record the packer adds: the settings, and every item once.
  cmp -s "$settings" "$h/uninstall.ini" || fail "uninstall.ini is not the installer's settings"
  expect_equal "$(grep -c '^[DF] ' "$h/uninstall.lst")" "$(($(cd "$payload" && find . -mindepth 1 | wc -l) + 2))" \
    "items in uninstall.lst"
  if [ "$5" = ran ]; then
    [ ! -e "$h/VMware14.exe" ] && [ ! -e "$h/Vmware.bat" ] || fail "the prerequisite's files stayed"
    grep -qF "VMware14.exe	$(quoted "$folder")\\VMware14.exe /s /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\" ADDLOCAL=ALL" "$runs_log" ||
      fail "the prerequisite's setup did not record its silent command line"
  else
    cmp -s "$payload/VMware14.exe" "$h/VMware14.exe" || fail "the prerequisite's setup did not stay"
    ! grep -q '^VMware14.exe' "$runs_log" || fail "the prerequisite ran although installed"
  fi
  local values
  values=$(probe reg $entry_view "$entry_key") || fail "no uninstall entry in the $entry_view-bit view"
  local expected
  expected=$(printf '%s\n' \
    "DisplayIcon|REG_SZ|$folder\\QXSimulator.exe" "DisplayName|REG_SZ|$display_name" "DisplayVersion|REG_SZ|0.2.0.1760" \
    "MyVersion|REG_DWORD|1760" "NoModify|REG_DWORD|1" "NoRemove|REG_DWORD|0" "NoRepair|REG_DWORD|1" \
    "Publisher|REG_SZ|青屿岚舟网络科技有限公司" "UninstallString|REG_SZ|$folder\\uninstall.exe" \
    "URLInfoAbout|REG_SZ|https://www.example.com/qx")
  expect_equal "$(sort <<<"$values")" "$(sort <<<"$expected")" "uninstall entry"
  if [ -n "$other_view" ] && probe reg $other_view "$entry_key" >/dev/null; then
    fail "an uninstall entry in the $other_view-bit view too"
  fi
  expect_equal "$(lnk "$start_menu/$display_name.lnk")" "$folder\\QXSimulator.exe" "start-menu shortcut"
  expect_equal "$(lnk "$start_menu/卸载$display_name.lnk")" "$folder\\uninstall.exe" "uninstall shortcut"
  expect_equal "$(ls "$start_menu" | wc -l)" 2 "start-menu entries"
  if [ "$2" = 1 ]; then
    expect_equal "$(lnk "$(host "$desktop")/$display_name.lnk")" "$folder\\QXSimulator.exe" "desktop shortcut"
  else
    [ ! -e "$(host "$desktop")/$display_name.lnk" ] || fail "a desktop shortcut although cleared"
  fi
  if [ "$3" = 1 ]; then
    expect_equal "$(lnk "$pinned")" "$folder\\QXSimulator.exe" "taskbar pin"
    grep -qF "syspin.exe	\"$folder\\syspin\" \"$folder\\QXSimulator.exe\" c:5386	" "$runs_log" ||
      fail "syspin did not record the pin command line"
  else
    [ ! -e "$pinned" ] || fail "pinned although cleared"
    ! grep -q '^syspin.exe' "$runs_log" 2>/dev/null || fail "syspin ran although cleared"
  fi
  if [ "$4" = 1 ]; then
    expect_equal "$(lnk "$(host "$startup")/QXBallonTips.lnk")" "$folder\\QXBallonTips.exe" "auto-start shortcut"
  else
    [ -z "$(ls "$(host "$startup")" 2>/dev/null)" ] || fail "auto-start entries although cleared"
  fi
  local report=$(host "$appdata")/QXSimulator
  cmp -s "$payload/HttpInstallSubmit.exe" "$report/HttpInstallSubmit.exe" || fail "the report program was not staged"
  iconv -f GBK -t UTF-8 "$report/submitconfig.ini" | tr -d '\r' | grep -qxF "installPath=$folder" || fail "submitconfig.ini: installPath"
  grep -qx 'Version=0.2.0.1760' <(tr -d '\r' <"$report/submitconfig.ini") || fail "submitconfig.ini: Version"
  for _ in $(tries 50); do [ -f "$report/install-report.json" ] && break; sleep 0.1; done
  grep -q '"build": *"1760"' "$report/install-report.json" || fail "no install report"
  grep -qF "HttpInstallSubmit.exe	\"$appdata\\QXSimulator\\HttpInstallSubmit.exe\" \"1760_0\"	" "$runs_log" ||
    fail "the report program's command line"
  # The work folder keeps only itself until a success-page button is pressed.
  [ -d "$work_folder" ] && [ -z "$(ls "$work_folder")" ] || fail "work folder: $(ls "$work_folder" 2>&1)"
  [ ! -e "$h/Vmware.bat" ] || fail "Vmware.bat left behind"
}

# A failure box's text as its window holds it, then OK: the installer ends 1.
expect_failure_box() { # name expected-first-line
  local text
  text=$(probe box "$caption" 60) || fail "no failure box"
  shot "$1"
  expect_equal "$text" "$2
安装模拟器失败，程序退出!" "failure box"
  answer_box "$1-answered" Return
  expect_exit 1
}

# VMware Workstation as its own setup registers it, at a given version.
register_vmware() { # version
  probe setreg 64 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\vmware.exe' '' \
    'C:\Program Files (x86)\VMware\VMware Workstation\vmware.exe' || fail "cannot register VMware"
  probe setreg 32 'HKLM\SOFTWARE\VMware, Inc.\VMware Workstation' ProductVersion "$1" || fail "cannot register VMware"
}

gap_note() { echo "longest message-loop gap [$arch $scenario]: $(cat "$drive_c/loop-gap.txt" 2>/dev/null || echo '?') ms"; }

# ---- snapshots of the prefix and the uninstaller
snapshot_tool=$install_tests/../../support/prefix-snapshot
allowed="$install_tests/../../support/wine-noise.allow $install_tests/uninstall-leftovers.allow"
uncaption="$display_name 卸载"
states=$(mktemp -d)
trap 'rm -rf "$states"' EXIT

# The prefix as it is now, under a name.
take() { "$snapshot_tool" take "$states/$1" || fail "no snapshot $1"; }
# Nothing but the allowed leftovers between two snapshots; the difference
# and the rules that matched are printed either way.
expect_same() { # before after [extra-allow-file]
  local rules=() f out rc wine
  for f in $allowed ${3:-}; do rules+=(--allow "$f"); done
  out=$("$snapshot_tool" diff "$states/$1" "$states/$2" "${rules[@]}")
  rc=$?
  # Wine's own bookkeeping as one sum; the product's allowances one by one.
  wine=$(sed -n 's/^allowed (\([0-9]*\) lines\{0,1\}): .*\[wine-noise\.allow:[0-9]*\]$/\1/p' <<<"$out" | awk '{ s += $1 } END { print s + 0 }')
  grep -v '\[wine-noise\.allow:[0-9]*\]$' <<<"$out" | sed "s/^/   [$arch $scenario] /"
  echo "   [$arch $scenario] (and ${wine:-0} lines of Wine's own bookkeeping, tests/support/wine-noise.allow)"
  [ "$rc" = 0 ] || fail "the prefix differs from before ($1 -> $2)"
}

entry_value() { probe reg $entry_view "$entry_key" | sed -n "s/^$1|REG_SZ|//p"; }

uninstaller_pid=
# Starts a Windows program line as the shell would (the program, then words).
start_uninstaller() { # program [word...]
  wine "$@" >/dev/null 2>&1 &
  uninstaller_pid=$!
}
# The uninstaller's temporary worker has ended (and with it its file).
expect_no_worker() {
  for _ in $(tries 100); do probe running qx-uninstall- >/dev/null || break; sleep 0.1; done
  ! probe running qx-uninstall- >/dev/null || fail "the uninstaller's worker did not end"
}
# The original's exit code, and no worker left once it is done.
expect_uninstaller_exit() { # code
  expect_exit "$1" "$uninstaller_pid"
  expect_no_worker
}
# A box of the uninstaller: its text checked against a pattern, then a key.
answer() { # name pattern key
  local text
  text=$(probe box "$uncaption" 60) || fail "no box for $1"
  sleep 0.2
  shot "$1"
  grep -qE "$2" <<<"$text" || fail "the box for $1 says: $text"
  local box
  box=$(find_window "$uncaption" 10)
  xdotool windowfocus "$box" 2>/dev/null
  xdotool key "$3"
  window_gone "$uncaption" || fail "the box for $1 stayed"
  box_text=$text
}
confirm() { answer "$1-confirm" '^确定要卸载岚舟模拟器吗\?$' y; }

# The uninstaller as the list of programs runs it with "/S": its exit code,
# then no worker left.
silent_uninstall() { # expected-code program
  wine "$2" /S >/dev/null 2>&1
  local rc=$?
  [ "$rc" = "$1" ] || fail "the silent uninstall ended $rc, expected $1"
  expect_no_worker
}
