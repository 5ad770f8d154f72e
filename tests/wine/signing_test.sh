#!/usr/bin/env bash
# The release signed with a certificate made here: both .exe files verify against it, the
# checksums and the archive are of the signed files, the signed program runs. By test-windows.sh.
source "$(dirname "$0")/lib.sh"
cd "$(dirname "$0")/../.."
scripts/deps.sh release
# The release folder holds the Linux program too.
[[ -x build/native/app/verdantix-installer ]] || make native >/dev/null

signed_release() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Verdantix test signer" \
    -addext extendedKeyUsage=codeSigning -keyout "$WORK/key.pem" -out "$WORK/cert.pem" 2>/dev/null
  SIGN_CERT="$WORK/cert.pem" SIGN_KEY="$WORK/key.pem" scripts/dist.sh --release "$WORK/dist" \
    >/dev/null
  local exe
  for exe in VerdantixInstaller.exe VerdantixInstaller-x86.exe; do
    osslsigncode verify -CAfile "$WORK/cert.pem" -in "$WORK/dist/$exe" >"$WORK/verify.log" 2>&1 ||
      fail "$exe does not verify: $(cat "$WORK/verify.log")"
    unzip -p "$WORK"/dist/verdantix-installer-*.zip "$exe" | cmp -s - "$WORK/dist/$exe" ||
      fail "the archive's $exe is not the signed one"
  done
  (cd "$WORK/dist" && sha256sum --quiet -c SHA256SUMS) ||
    fail "SHA256SUMS is not of the signed files"

  VERDANTIX_EXE="$WORK/dist/VerdantixInstaller.exe"
  open_window "$(new_game_folder signed)"
  probe close "$MAIN_TITLE" || fail "could not close the main window"
  expect_exit 0
}

run_case "a signed release: both programs verify, checksums and archive are of the signed \
files, the signed program opens its window" signed_release
