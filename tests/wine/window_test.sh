#!/usr/bin/env bash
# The main window under Wine: hidden while the patch's message shows; opened because the game
# folder has no file table, what the user sees of it, keys that do nothing, closing, its size
# and place at 144 DPI; and no DLL planted in the game folder loaded on either path. (Clicks
# are tested in process, in platform/win32/ui, and by the Command2 and Command3 scripts.)
# Run by scripts/test-windows.sh (Xvfb, a running wineserver and the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

# Wine prefers its own copy of these DLLs to one in the program's folder, where Windows looks
# first: the override makes it look there too, so that a planted copy would be loaded. Not for
# version.dll: Wine's own advapi32 imports it, before any code of the program runs.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;shcore,uxtheme,dwmapi=n,b"
build_standin "$WORK/planted.dll" "$(dirname "$0")/planted_dll.cpp" -shared
plant_dlls() { # FOLDER
  local dll
  for dll in shcore uxtheme dwmapi version; do cp "$WORK/planted.dll" "$1/$dll.dll"; done
}

# The whole window (from the probe) is centred on the whole screen, to the pixel.
expect_centred() {
  local left top right bottom width height
  read -r left top right bottom <<<"$(probe client "$MAIN_TITLE" | sed -n 's/^rect //p')"
  read -r width height <<<"$(timeout 5 xdotool getdisplaygeometry)"
  ((${#left} && (left + right - width) ** 2 <= 1 && (top + bottom - height) ** 2 <= 1)) ||
    fail "the window at $left $top $right $bottom is not centred on the $width x $height screen"
}

hidden_window_during_the_patch_message() {
  local folder style
  folder=$(new_game_folder installs)
  write_game_files "$folder"
  plant_dlls "$folder"
  start_program "$folder"
  wait_window "$BOX_TITLE"
  style=$(probe client "$MAIN_TITLE" | sed -n 's/^style //p')
  # Neither WS_VISIBLE nor WS_DISABLED: the box neither shows nor disables it.
  ((${#style} && !(style & 0x18000000))) || fail "no hidden main window (style '$style')"
  answer_box 0 "Brantwell Installed"
  [[ -z "$(find "$folder" -name '*.loaded')" ]] || fail "planted DLLs were loaded"
}

window_of_a_failing_folder() {
  local folder before client style exstyle x y x_window shot="$WORK/screen.png"
  folder=$(new_game_folder empty)
  plant_dlls "$folder" # a mark left by any would show in the files after the run
  before=$(listing "$folder")
  open_window "$folder"
  expect_centred
  client=$(probe client "$MAIN_TITLE")
  expect_eq "$(sed -n 's/^size //p' <<<"$client")" "317 124" "client area at 96 DPI"
  style=$(sed -n 's/^style //p' <<<"$client") exstyle=$(sed -n 's/^exstyle //p' <<<"$client")
  ((exstyle & 0x80)) || fail "not a tool window (exstyle $exstyle)"
  ((!(style & 0x30000))) || fail "a minimise or maximise box (style $style)"
  read -r x y <<<"$(sed -n 's/^origin //p' <<<"$client")"
  timeout 10 import -window root "$shot"
  expect_eq "$(convert "$shot" -format "%[pixel:p{$((x + 150)),$((y + 60))}]" info:)" \
    "srgb(0,0,64)" "colour inside the client area"

  # A key that clicked would show a control, create files (Command3) or end the program.
  x_window=$(timeout 5 xdotool search --name "^${MAIN_TITLE}\$" | head -n 1)
  [[ -n "$x_window" ]] || fail "no X window for the main window"
  timeout 10 xdotool windowfocus --sync "$x_window" key Tab Return space Tab space Return
  expect_eq "$(probe texts "$MAIN_TITLE")" \
    "$(printf '%s\n' $'Button\t1003\thidden\tCommand3' $'Button\t1002\thidden\t' \
      $'Edit\t1004\thidden\tText2')" "children of the main window"
  # Alt+F4 through the same path shows that the keys above did reach the window.
  timeout 10 xdotool windowfocus --sync "$x_window" key alt+F4
  expect_exit 0
  expect_eq "$(listing "$folder")" "$before" "files after the run"
}

window_follows_the_dpi() {
  local desktop='HKCU\Control Panel\Desktop'
  timeout 20 "$WINELOADER" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  open_window "$(new_game_folder dpi)"
  # Back to the prefix's default at once, so a failure below leaves no trace in the prefix.
  timeout 20 "$WINELOADER" reg delete "$desktop" /v LogPixels /f >/dev/null
  expect_eq "$(probe client "$MAIN_TITLE" | sed -n 's/^size //p')" "476 186" "client at 144 DPI"
  expect_centred
  close_main_window_and_expect_end
}

run_case "a game that installs: the window exists, hidden, while the message shows" \
  hidden_window_during_the_patch_message
run_case "a failing folder: the window, centred, keys that do nothing, alt+F4 ends the program" \
  window_of_a_failing_folder
run_case "the client area is 476 x 186 at 144 DPI, centred" window_follows_the_dpi
