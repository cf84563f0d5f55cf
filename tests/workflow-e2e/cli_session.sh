# Sourced by the workflow scripts that run vantrel-cli as a user does. Needs $cli (the program)
# and $work (a scratch folder, removed by the caller).

# Ends the test with the reason and what the last command printed on stderr.
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/err" ] && { echo "--- stderr:" >&2; cat "$work/err" >&2; }
  exit 1
}

# Keeps the output in $out and the exit status in $status.
run() {
  out=$("$cli" "$@" 2>"$work/err")
  status=$?
}
