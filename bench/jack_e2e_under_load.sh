#!/usr/bin/env bash
# The end-to-end tests over JACK, ROUNDS times, with `stress --cpu LOAD` keeping as many
# CPU-bound processes beside them: each round on a fresh server from scripts/with-jack (the
# period set by VANTREL_JACK_PERIOD, 128 frames unless set). Prints one line per round (its
# status, seconds, the server's late cycles) and the number of rounds in which every test
# passed. The tests that wait out hundreds of late acknowledges are left out unless SLOW=1;
# SLOW=only runs just those.
#   bench/jack_e2e_under_load.sh [ROUNDS [LOAD [PRESET]]]      (defaults: 20, 2, ci)
# Run it with JACK_DEFAULT_SERVER and TMPDIR set to a name and folder of its own on a machine
# where other people's servers run.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-20}" load="${2:-2}" preset="${3:-ci}"
include='^e2e\.|UploadOverJack' exclude=SlowOverJack
case "${SLOW:-0}" in
  1) exclude=NOTHING_LEFT_OUT ;;
  only) include=SlowOverJack exclude=NOTHING_LEFT_OUT ;;
esac
log="${TMPDIR:-/tmp}"
export QT_QPA_PLATFORM=offscreen

stress_pid=""
if [ "$load" -gt 0 ]; then
  stress --cpu "$load" >/dev/null 2>&1 &
  stress_pid=$!
fi
trap '[ -n "$stress_pid" ] && kill "$stress_pid" 2>/dev/null' EXIT

cd "$root"
passed=0
for round in $(seq 1 "$rounds"); do
  start=$(date +%s)
  scripts/with-jack ctest --preset "$preset" -R "$include" -E "$exclude" \
    --output-on-failure >"$log/vantrel-round-$round.log" 2>&1
  status=$?
  late=$(grep -c "XRun" "$log/vantrel-jackd.log" 2>/dev/null)
  [ "$status" = 0 ] && passed=$((passed + 1))
  echo "round $round: status $status, $(($(date +%s) - start)) s, $late late cycles" \
    "$(grep -o '[0-9]*% tests passed.*' "$log/vantrel-round-$round.log")"
done
echo "$passed of $rounds rounds passed (${VANTREL_JACK_PERIOD:-128}-frame periods," \
  "$load CPU-bound processes beside them)"
[ "$passed" = "$rounds" ]
