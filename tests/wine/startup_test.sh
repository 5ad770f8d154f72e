#!/usr/bin/env bash
# The program under Wine from its start: the window at 144 DPI, keys that do nothing, alt+F4; a
# full disk; a run killed while it copies, then the patch's message over the hidden window, its
# bytes, no DLL from the game folder. Run by scripts/test-windows.sh.
source "$(dirname "$0")/lib.sh"

# Wine prefers its own copy of these DLLs to one in the program's folder, where Windows looks
# first: the override makes it look there too, so that a planted copy would be loaded. Not for
# version.dll: Wine's own advapi32 imports it, before any code of the program runs.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;shcore,uxtheme,dwmapi=n,b"

# No game files (a game that holds them open is the same failure: platform/contract); the
# screen at 144 DPI.
missing_files_open_the_window() {
  local folder client x y window desktop='HKCU\Control Panel\Desktop'
  folder=$(new_game_folder missing)
  timeout 20 "$WINELOADER" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  open_window "$folder"
  # Back to the prefix's default at once, so a failure below leaves no trace in the prefix.
  timeout 20 "$WINELOADER" reg delete "$desktop" /v LogPixels /f >/dev/null

  client=$(probe client "$MAIN_TITLE")
  expect_eq "$(sed -n 's/^size //p' <<<"$client")" "476 186" "client area at 144 DPI"
  read -r x y <<<"$(sed -n 's/^origin //p' <<<"$client")"
  timeout 10 import -window root "$WORK/screen.png"
  expect_eq "$(convert "$WORK/screen.png" -format "%[pixel:p{$((x + 200)),$((y + 90))}]" info:)" \
    "srgb(0,0,64)" "colour inside the client area"
  # A key that clicked would end the program or show a box (no list, no sources): the window
  # could not be focused again. The first X window of that title, all read (pipefail).
  window=$(timeout 5 xdotool search --name "^${MAIN_TITLE}\$" | sed -n 1p)
  [[ -n "$window" ]] || fail "no X window for the main window"
  timeout 10 xdotool windowfocus --sync "$window" key Tab Return space Tab space Return
  timeout 10 xdotool windowfocus --sync "$window" key alt+F4
  expect_exit 0
}

# A disk too full for the back-up (a small file system of its own): the window opens, and data\
# holds the previous back-up as it was and nothing else new.
full_disk_keeps_the_previous_backup() (
  local data before
  data="$(new_game_folder full-disk)/data"
  mount -t tmpfs -o size=256k tmpfs "$data" 2>/dev/null ||
    { echo "  skipped: no tmpfs can be mounted here (it needs root outside a container)"; return 0; }
  trap 'umount -l "$data"' EXIT
  head -c 65536 /dev/zero | tr '\0' o >"$data/fifa.fat.bak"
  head -c 163840 /dev/zero >"$data/fifa.fat"
  before=$(listing "$data")
  open_window "${data%/data}"
  probe close "$MAIN_TITLE" || fail "could not close the main window"
  expect_exit 0
  expect_eq "$(listing "$data")" "$before" "files in data"
)

# A table of 1 GiB, a run killed (kill -9 of its Wine process) while it copies it; the next run
# installs. Each planted DLL leaves a mark NAME.dll.loaded when loaded. (Uninstalling is the same
# file work the other way round: app/, patch/.)
killed_copy_then_install() {
  local folder data status=0 style dll
  folder=$(new_game_folder "FIFA 2004")
  data="$folder/data"
  write_game_files "$folder"
  truncate -s 1G "$data/fifa.fat" "$WORK/original.fat"
  echo "the previous back-up" >"$data/fifa.fat.bak"
  for dll in shcore uxtheme dwmapi version; do cp "$TEST_BUILD/planted.dll" "$folder/$dll.dll"; done
  start_program "$folder"
  wait_for "a temporary copy" compgen -G "$data/~verdantix-*.tmp" >/dev/null
  kill -KILL "$(program_unix_pid)"
  wait "$PROGRAM_PID" 2>/dev/null || status=$? # at once: the shell notes the kill otherwise
  expect_eq "$status" 137 "exit status of the killed run"
  expect_eq "$(cat "$data/fifa.fat.bak")" "the previous back-up" "the back-up after the kill"
  # Deleted by the system with the killed program's handle: it was delete-pending.
  wait_for "removal of the temporary copy" eval '! compgen -G "$data/~verdantix-*.tmp"'

  start_program "$folder"
  WAIT_SECONDS=60 wait_window "$BOX_TITLE" # once 1 GiB is copied and flushed, on a busy disk too
  style=$(probe client "$MAIN_TITLE" | sed -n 's/^style //p')
  # Neither WS_VISIBLE nor WS_DISABLED: the box neither shows nor disables it.
  ((${#style} && !(style & 0x18000000))) || fail "no hidden main window (style '$style')"
  answer_box 0 "Brantwell Installed"
  expect_eq "$(byte_at "$data/fifa.fat" "$FILE_TABLE_RECORD")" 01 "file table byte"
  expect_eq "$(byte_at "$data/zdata_02.big" "$ARCHIVE_F_OFFSET")" 65 "archive byte"
  cmp -s "$data/fifa.fat.bak" "$WORK/original.fat" || fail "the back-up is not the table as it was"
  expect_eq "$(ls -A "$data" | tr '\n' ' ')" "fifa.fat fifa.fat.bak zdata_02.big " "files in data"
  [[ -z "$(find "$folder" -name '*.loaded')" ]] || fail "planted DLLs were loaded"
}

run_case "missing game files: the window at 144 DPI, keys do nothing, alt+F4 ends" \
  missing_files_open_the_window
run_case "a full disk: the window opens, the previous back-up stays" \
  full_disk_keeps_the_previous_backup
run_case "a run killed while it copies a file table of 1 GiB leaves nothing behind; the next \
installs, its message over the hidden window; no DLL comes from the game folder" \
  killed_copy_then_install
