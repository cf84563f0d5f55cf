# Shared by the end-to-end scripts that run vantrel-keyboard on JACK; source it, then:
#   e2e_begin SCRIPTS_DIR "$0" "$@"      run this script again under scripts/with-jack when no
#                                        server is running (one of its own name, so no other
#                                        run starts, shares or stops it meanwhile); then make
#                                        $work
#   e2e_start_keyboard KEYBOARD ARGS...  start vantrel-keyboard (log in $work/keyboard.log) and
#                                        wait until it is ready
#   e2e_stop_keyboard                    SIGTERM it; fails unless it ends with status 0
#   e2e_fail TEXT                        report, show the logs, exit 1
# $work is a private folder removed on exit, the keyboard stopped first.

keyboard_pid=""

e2e_begin() {
  local scripts=$1
  shift
  if [ "${VANTREL_JACK_RUNNING:-}" != 1 ] || ! jack_lsp >/dev/null 2>&1; then
    unset VANTREL_JACK_RUNNING
    export JACK_DEFAULT_SERVER="${JACK_DEFAULT_SERVER:-vantrel-e2e-$$}"
    exec "$scripts/with-jack" "$@"
  fi
  work=$(mktemp -d)
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  if [ -n "$keyboard_pid" ]; then
    kill -TERM "$keyboard_pid" 2>/dev/null
    wait "$keyboard_pid" 2>/dev/null
  fi
  rm -rf "$work"
}

e2e_fail() {
  echo "FAIL: $*" >&2
  local log
  for log in cli.err keyboard.log; do
    if [ -f "$work/$log" ]; then
      echo "--- $log:" >&2
      grep -v "ALSA\|Alsa\|^$\|\[[#.]*\]" "$work/$log" >&2
    fi
  done
  exit 1
}

e2e_start_keyboard() {
  "$@" >"$work/keyboard.log" 2>&1 &
  keyboard_pid=$!
  local _
  for _ in $(seq 1 100); do
    grep -q "ready" "$work/keyboard.log" && return 0
    kill -0 "$keyboard_pid" 2>/dev/null || e2e_fail "vantrel-keyboard ended early"
    sleep 0.1
  done
  e2e_fail "vantrel-keyboard did not get ready"
}

e2e_stop_keyboard() {
  kill -TERM "$keyboard_pid"
  wait "$keyboard_pid"
  local stopped=$?
  keyboard_pid=""
  [ "$stopped" = 0 ] || e2e_fail "vantrel-keyboard ended with status $stopped"
}
