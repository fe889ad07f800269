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
# Localization, the exports and the street list; a refusal is status 1.
"$cli" localize regione.mdb 2>/dev/null | grep -q "è stata effettuata" || fail "localize"
"$cli" localize-toponimi regione.mdb 2>/dev/null | grep -q "è stata effettuata" || fail "localize-toponimi"
if "$cli" export-changes regione.mdb cambi.shp 2>/dev/null; then fail "export-changes without changes ran"; fi
[ ! -e cambi.shp ] || fail "a refused export wrote a file"
"$cli" export-graph regione.mdb grafo.shp 2>/dev/null | grep -q "^Sono stati esportati 3000 Archi Stradali$" ||
  fail "export-graph"
"$cli" export-tramex regione.mdb tramex.SHP 2>/dev/null | grep -q "^Sono stati esportati 3000 Archi Stradali$" ||
  fail "export-tramex"
[ -e tramex.DBF ] || fail "the Tramex set's table does not follow the letter case of its extension"
"$cli" street-list regione.mdb elenco.txt --comune 1 2>/dev/null | grep -Eq "^Inserite [1-9][0-9]* righe in ELENCO_STRADE$" ||
  fail "street-list of a municipality"
head -1 elenco.txt | grep -q "^Comune - " || fail "street-list heading"
if "$cli" street-list regione.mdb altro.txt --comune 99999 2>/dev/null; then fail "an unknown municipality"; fi
if command -v ogrinfo >/dev/null; then
  features="$(ogrinfo -so -al grafo.shp | sed -n 's/^Feature Count: //p')"
  [ "$features" = 3000 ] || fail "ogrinfo counts $features features in the exported graph"
fi

set +e
"$cli" frobnicate 2>/dev/null
[ $? -eq 2 ] || fail "unknown command is not status 2"
echo "cli_smoke: ok"
