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
# A table dropped by another tool fails the check, and the repair puts it back.
cp demo.mdb rotta.mdb
sqlite3 rotta.mdb 'DROP TABLE geoarchi'
if "$cli" check rotta.mdb >/dev/null; then fail "check passed a database without geoarchi"; fi
"$cli" repair rotta.mdb 2>/dev/null || fail "repair of a dropped table failed"
"$cli" check rotta.mdb >/dev/null || fail "the repaired database is not sound"
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
# The graph conflated into itself: every arc has its analogue, nothing is added.
merge="$("$cli" import-secondario regione.mdb region/GEO_GRAFO.shp --snap 2,5 --report merge.csv 2>/dev/null)" ||
  fail "import-secondario failed"
grep -q "^Inseriti 0 Archi derivati da Archi Secondari$" <<<"$merge" || fail "secondary summary: $merge"
[ "$(grep -c ';analogo;' merge.csv)" = 3000 ] || fail "not every arc analogous in the report"
if "$cli" import-secondario regione.mdb region/GEO_GRAFO.shp --snap dieci 2>/dev/null; then fail "a bad factor ran"; fi

# An arc's attributes: shown, renamed through the street directory's questions (answered only by
# --yes), deleted in the regional graph (marked) and as an added arc (removed).
"$cli" arc regione.mdb 1 | grep -q "^ID=1$" || fail "arc 1 not shown"
if "$cli" set-name regione.mdb 1 "via dell'ulivo nuovo" --classe sp 2>/dev/null; then
  fail "a name outside the directory stored without --yes"
fi
renamed="$("$cli" --yes set-name regione.mdb 1 "via dell'ulivo nuovo" --classe sp 2>/dev/null)" || fail "set-name --yes"
for line in "denom=VIA DELL'ULIVO NUOVO" "classe=SP" "modnome=1"; do
  grep -qx "$line" <<<"$renamed" || fail "set-name did not store $line: $renamed"
done
sqlite3 regione.mdb "SELECT count(*) FROM nomi WHERE tipo = 'VIA' AND nome = 'DELL''ULIVO NUOVO'" | grep -qx 1 ||
  fail "the new name is not in the directory"
if "$cli" delete-arc regione.mdb 1 2>/dev/null; then fail "delete-arc without --yes"; fi
"$cli" --yes delete-arc regione.mdb 1 2>/dev/null | grep -q "eliminato in modo logico" || fail "regional deletion"
"$cli" arc regione.mdb 1 | grep -qx "elimina=1" || fail "arc 1 not marked deleted"
sqlite3 regione.mdb "DELETE FROM orgarchi WHERE ID = 2; UPDATE archi SET aggiunto = 1 WHERE ID = 2"
"$cli" --yes delete-arc regione.mdb 2 2>/dev/null | grep -q "eliminato dal database" || fail "added arc not removed"
if "$cli" arc regione.mdb 2 2>/dev/null; then fail "a removed arc is still shown"; fi
"$cli" check regione.mdb >/dev/null || fail "the database is not sound after the deletions"

# The pictures of the symbol library, read back by GDAL: symbol 1 (the red disc) sits in the middle of
# the second cell, pattern 0 fills the first swatch.
"$cli" symbols simboli.png >/dev/null 2>&1 || fail "symbols failed"
"$cli" patterns retini.png >/dev/null 2>&1 || fail "patterns failed"
if "$cli" symbols simboli.png 2>/dev/null; then fail "symbols replaced a file without --yes"; fi
"$cli" --yes symbols simboli.png >/dev/null 2>&1 || fail "symbols --yes failed"
if command -v gdalinfo >/dev/null; then
  gdalinfo simboli.png | grep -q "^Size is 864, 1980$" || fail "symbols picture size"
  gdalinfo retini.png | grep -q "^Size is 392, 316$" || fail "patterns picture size"
  [ "$(gdallocationinfo -valonly simboli.png 54 18 | tr '\n' ' ')" = "207 0 0 " ] || fail "symbol 1 is not red"
  [ "$(gdallocationinfo -valonly retini.png 40 40 | tr '\n' ' ')" = "0 0 0 " ] || fail "pattern 0 is not solid"
fi

set +e
"$cli" symbols 2>/dev/null
[ $? -eq 2 ] || fail "symbols without a file is not status 2"
"$cli" arc regione.mdb uno 2>/dev/null
[ $? -eq 2 ] || fail "arc with a bad identifier is not status 2"
"$cli" frobnicate 2>/dev/null
[ $? -eq 2 ] || fail "unknown command is not status 2"
echo "cli_smoke: ok"
