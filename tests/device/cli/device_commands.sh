#!/usr/bin/env bash
# vantrel-cli's ports and device commands against the in-process virtual keyboard: outputs and
# exit statuses (0 done, 1 refused or failed, 2 usage, 3 no device).
set -u
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS DESCRIPTION -- COMMAND...: runs the command, keeps its stdout and stderr.
expect() {
    local want="$1" what="$2"
    shift 3
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"
        sed 's/^/  out: /' "$work/out"
        sed 's/^/  err: /' "$work/err" | tr '\r' '\n' | tail -5
        failures=$((failures + 1))
    fi
}
contains() {
    if ! grep -qF -- "$2" "$work/$1"; then
        echo "FAIL: $1 lacks: $2"
        failures=$((failures + 1))
    fi
}

expect 0 "ports" -- "$cli" ports
contains out "Input ports:"
contains out "Vantrel Virtual Keyboard"

expect 0 "connect" -- "$cli" device --virtual connect
contains out "Vantrel Virtual Keyboard Connected!"

expect 0 "connect by name" -- "$cli" device --in "Vantrel Virtual Keyboard" \
    --out "Vantrel Virtual Keyboard" connect

expect 0 "slots as JSON" -- "$cli" device --virtual slots --json
contains out '"device": "Vantrel Virtual Keyboard"'
contains out '{"slot": 0, "name": "Empty", "empty": true}'

expect 0 "delete two slots" -- "$cli" device --virtual delete 1 2
contains out "Slot 2 deleted"

# A file the keyboard refuses as a style image: every packet acknowledged, then a refusal.
head -c 3000 /dev/zero | tr '\0' '\125' >"$work/bad.mix"
expect 1 "send a malformed image" -- "$cli" device --virtual send "$work/bad.mix" --slot 3
contains err "  Download error!"
contains err "132/132"
expect 1 "send quietly" -- "$cli" device --virtual send "$work/bad.mix" --slot 3 --quiet
contains err "  Download error!"
if grep -qF "/132" "$work/err"; then
    echo "FAIL: --quiet still drew the bar"
    failures=$((failures + 1))
fi

expect 1 "send a missing file" -- "$cli" device --virtual send "$work/none.mix" --slot 3
expect 2 "no ports named" -- "$cli" device connect
expect 2 "both --virtual and --in" -- "$cli" device --virtual --in 0 --out 0 connect
expect 2 "slot 256" -- "$cli" device --virtual delete 256
expect 2 "send without a slot" -- "$cli" device --virtual send "$work/bad.mix"
expect 3 "unknown port" -- "$cli" device --in "No Such Port" --out "No Such Port" connect

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all device commands behaved"
