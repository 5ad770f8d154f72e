#!/usr/bin/env bash
# Runs the GTK front's GoogleTest program under a private X server with openbox.
# Usage: gtk_ui_test.sh TEST_PROGRAM WORK_FOLDER
set -euo pipefail
test_program=$1 work=$2
source "$(dirname "$0")/x_session.sh"

start_x_session "$work"
timeout 60 "$test_program"
