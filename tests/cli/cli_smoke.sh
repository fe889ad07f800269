#!/usr/bin/env bash
# The command-line program end to end: exit statuses and the summaries on standard output.
set -euo pipefail
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export VIAMAPPA_CONFIG="$work/settings.reg"
cd "$work"

fail() { echo "cli_smoke: $*" >&2; exit 1; }

"$cli" --help | grep -q "create FILE" || fail "help lists no commands"
"$cli" create demo.mdb 2>/dev/null || fail "create failed"
info="$("$cli" info demo.mdb)"
grep -q "^Tavole: 23$" <<<"$info" || fail "not 23 tables: $info"
grep -Eq "^  regazi +210$" <<<"$info" || fail "regazi rows: $info"
grep -Eq "^  comuni +1$" <<<"$info" || fail "comuni rows: $info"
sqlite3 demo.mdb "SELECT count(*) FROM local" | grep -qx 1 || fail "the sqlite3 tool cannot read the file"

if "$cli" create demo.mdb 2>/dev/null; then fail "create replaced a file without --yes"; fi
"$cli" --yes create demo.mdb 2>/dev/null || fail "create --yes failed"
"$cli" duplicate demo.mdb copia.mdb 2>/dev/null || fail "duplicate failed"
"$cli" check copia.mdb >/dev/null || fail "check of the copy failed"
if "$cli" duplicate demo.mdb ./demo.mdb --yes 2>/dev/null; then fail "duplicate onto its source"; fi
echo "non un database" > testo.mdb
if "$cli" repair testo.mdb 2>/dev/null; then fail "repair of a text file succeeded"; fi
if "$cli" info testo.mdb 2>/dev/null; then fail "info of a text file succeeded"; fi
set +e
"$cli" frobnicate 2>/dev/null
[ $? -eq 2 ] || fail "unknown command is not status 2"
echo "cli_smoke: ok"
