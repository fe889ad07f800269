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
# A generated region through the four imports; the counts agree with GDAL's reading of the files.
"$cli" synth region --arcs 3000 --comuni 12 --localita 40 --seed 5 2>/dev/null || fail "synth failed"
"$cli" create regione.mdb 2>/dev/null || fail "create of the region database failed"
graph="$("$cli" import-graph regione.mdb region/GEO_GRAFO.shp 2>/dev/null)" || fail "import-graph failed"
grep -q "^Inseriti 3000 Archi; inserite 3000 polilinee$" <<<"$graph" || fail "graph summary: $graph"
"$cli" import-comuni regione.mdb region/COMUNI.shp 2>/dev/null | grep -q "inseriti 12 Comuni" || fail "comuni"
"$cli" import-localita regione.mdb region/LOCALITA.shp 2>/dev/null | grep -q "inserite 40 Località" || fail "localita"
"$cli" import-toponimi regione.mdb region/toponimi.txt 2>/dev/null | grep -q "^Inseriti [1-9][0-9]* Toponimi$" ||
  fail "toponimi"
if "$cli" import-graph regione.mdb region/GEO_GRAFO.shp 2>/dev/null; then fail "a second graph import ran"; fi
if command -v ogrinfo >/dev/null; then
  features="$(ogrinfo -so -al region/GEO_GRAFO.shp | sed -n 's/^Feature Count: //p')"
  arcs="$("$cli" info regione.mdb | sed -n 's/^  archi *//p')"
  [ "$features" = "$arcs" ] || fail "ogrinfo counts $features features, the database $arcs arcs"
fi
"$cli" check regione.mdb >/dev/null || fail "the imported database is not sound"
# A route from the start of arc 1 to the end of arc 40: its length, its stretches, its file.
end_of() { sqlite3 -separator ' ' regione.mdb "SELECT n.coord_x, n.coord_y FROM archi a JOIN nodi n ON n.ID = a.$1 WHERE a.ID = $2"; }
read -r x1 y1 <<<"$(end_of nodini 1)"
read -r x2 y2 <<<"$(end_of nodfin 40)"
route="$("$cli" route regione.mdb "$x1" "$y1" "$x2" "$y2" --save percorso.txt 2>/dev/null)" || fail "route failed"
head -1 <<<"$route" | grep -Eq "^Il percorso minimo identificato misura [0-9]+\.[0-9]{2} Km$" || fail "route: $route"
if tail -n +2 <<<"$route" | grep -Evq "^Km [ 0-9]*[0-9]\.[0-9]{2} - .+ - .+$"; then fail "route lines: $route"; fi
[ "$(head -c 38 percorso.txt)" = "Percorso Minimo deteminato da Viamappa" ] || fail "route file"
if "$cli" route regione.mdb 1 1 2 2 2>/dev/null; then fail "a route between points far from the graph"; fi

set +e
"$cli" frobnicate 2>/dev/null
[ $? -eq 2 ] || fail "unknown command is not status 2"
"$cli" route regione.mdb 1 1 2 2>/dev/null
[ $? -eq 2 ] || fail "a route without its last coordinate is not status 2"
echo "cli_smoke: ok"
