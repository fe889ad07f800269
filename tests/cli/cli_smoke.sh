#!/usr/bin/env bash
# The command-line program end to end: exit statuses and the summaries on standard output.
set -euo pipefail
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export VIAMAPPA_CONFIG="$work/settings.reg"
cd "$work"

fail() { echo "cli_smoke: $*" >&2; exit 1; }

# Into a file: grep -q stops reading at the first match, and the rest of a long help would die of SIGPIPE.
"$cli" --help >help.txt || fail "help failed"
grep -q "create FILE" help.txt || fail "help lists no commands"
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

# Background files from the region, and pictures of its map over them.
"$cli" make-sfx regione.mdb regione.sfx 2>/dev/null | grep -q "regione.sfx: 12 comuni, 40 località in" ||
  fail "make-sfx"
if "$cli" make-sfx regione.mdb regione.sfx 2>/dev/null; then fail "make-sfx replaced a file without --yes"; fi
png_signature() { head -c 4 "$1" | od -An -tx1 | tr -d ' \n'; }
if "$cli" render regione.mdb mappa.png --size 320x200 --sfondo regione.sfx >render.txt 2>render.err; then
  grep -q "^mappa.png: 320 x 200 pixel, Scala 1:" render.txt || fail "render summary: $(cat render.txt)"
  [ "$(png_signature mappa.png)" = "89504e47" ] || fail "render wrote no PNG"
  # Long enough for a header, and no background file.
  for i in 1 2 3 4 5 6 7 8 9 10; do echo "non uno sfondo"; done > falso.sfx
  if "$cli" render regione.mdb falso.png --sfondo falso.sfx 2>render.err; then fail "render over a false background"; fi
  grep -q "Il file non risponde alle specifiche del formato SFW" render.err || fail "render: $(cat render.err)"
  if command -v gdal_rasterize >/dev/null; then
    gdal_rasterize -q -ot Byte -ts 300 300 -init 250 -burn 40 -burn 120 -burn 200 region/LOCALITA.shp orto.tif
    "$cli" make-sfw orto.tif orto.sfw 2>/dev/null | grep -q "orto.sfw: 300 x 300 pixel, 3 bande" || fail "make-sfw"
    "$cli" render regione.mdb orto.png --scala 50000 --sfondo orto.sfw >/dev/null 2>&1 || fail "render over orto.sfw"
  fi
elif ! grep -q "non disegna immagini" render.err; then
  fail "render: $(cat render.err)"
fi

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
# The map queries over the region: hit lines on standard output, the condition and its count.
"$cli" search regione.mdb "a" --comuni | grep -Eq "^C[0-9]{4,} - Comune: " || fail "search finds no municipality"
if "$cli" search regione.mdb "   " 2>/dev/null; then fail "a blank fragment was searched"; fi
highlight="$("$cli" highlight regione.mdb --classi ss,SC --da-verificare)" || fail "highlight failed"
grep -qx "(classe = 'SS' OR classe = 'SC') AND verifica = FALSE" <<<"$highlight" || fail "condition: $highlight"
"$cli" highlight regione.mdb --da-verificare | grep -qx "Archi selezionati: 3000" || fail "not every arc to verify"

# A route from the start of arc 1 to the end of arc 40: its length, its stretches, its file.
end_of() { sqlite3 -separator ' ' regione.mdb "SELECT n.coord_x, n.coord_y FROM archi a JOIN nodi n ON n.ID = a.$1 WHERE a.ID = $2"; }
read -r x1 y1 <<<"$(end_of nodini 1)"
read -r x2 y2 <<<"$(end_of nodfin 40)"
route="$("$cli" route regione.mdb "$x1" "$y1" "$x2" "$y2" --save percorso.txt 2>/dev/null)" || fail "route failed"
head -1 <<<"$route" | grep -Eq "^Il percorso minimo identificato misura [0-9]+\.[0-9]{2} Km$" || fail "route: $route"
if tail -n +2 <<<"$route" | grep -Evq "^Km [ 0-9]*[0-9]\.[0-9]{2} - .+ - .+$"; then fail "route lines: $route"; fi
[ "$(head -c 38 percorso.txt)" = "Percorso Minimo deteminato da Viamappa" ] || fail "route file"
if "$cli" route regione.mdb 1 1 2 2 2>/dev/null; then fail "a route between points far from the graph"; fi

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
# The changes reach the communication of the changes.
"$cli" export-changes regione.mdb cambi.shp 2>/dev/null | grep -q "^Sono stati esportati [1-9]" || fail "export-changes"

# The graph as a whole. The region is consistent: regenerating its nodes changes nothing, and
# merging nothing either (each arc has an element code of its own). The check changes nothing and
# lists as many findings as it counts; a name is found and renamed on exactly the arcs that carry it.
"$cli" regenerate-nodes regione.mdb 2>/dev/null | grep -q "^Modificati 0 Nodi Inizio/Fine Archi$" ||
  fail "regenerate-nodes"
"$cli" merge-arcs regione.mdb 2>/dev/null | grep -q "^Eliminati 0 Archi superflui$" || fail "merge-arcs"
"$cli" validate regione.mdb --report verifica.csv >conteggi.txt 2>/dev/null || fail "validate failed"
# Localized above: every arc lies in one of the region's municipalities.
grep -q "^Archi senza comune: 0$" conteggi.txt || fail "validate counts: $(cat conteggi.txt)"
findings="$(awk -F': ' '{ total += $2 } END { print total }' conteggi.txt)"
[ "$(($(wc -l <verifica.csv) - 1))" = "$findings" ] || fail "the report does not list every finding"
name="$("$cli" find-names regione.mdb VIA 2>/dev/null | head -n 1)"
[ -n "$name" ] || fail "find-names found no street"
quoted="${name//\'/\'\'}"
carried="$(sqlite3 regione.mdb "SELECT count(*) FROM archi WHERE denom = '$quoted'")"
"$cli" rename regione.mdb "$name" "NOME PROVA" 2>/dev/null | grep -qx "Modificati $carried toponimi di $carried" ||
  fail "rename of $name"
"$cli" find-names regione.mdb prova 2>/dev/null | grep -qx "NOME PROVA" || fail "the new name is not found"
if "$cli" rename regione.mdb "NOME PROVA" "NOME PROVA" 2>/dev/null; then fail "a rename to the same name ran"; fi
if "$cli" find-names regione.mdb VIA --localita 99999 2>/dev/null; then fail "an unknown locality was taken"; fi
set +e
"$cli" rename regione.mdb "NOME PROVA" 2>/dev/null
[ $? = 2 ] || fail "a rename without its new name is no usage error"
set -e

set +e
"$cli" symbols 2>/dev/null
[ $? -eq 2 ] || fail "symbols without a file is not status 2"
"$cli" arc regione.mdb uno 2>/dev/null
[ $? -eq 2 ] || fail "arc with a bad identifier is not status 2"
"$cli" frobnicate 2>/dev/null
[ $? -eq 2 ] || fail "unknown command is not status 2"
"$cli" highlight regione.mdb --classi XX 2>/dev/null
[ $? -eq 2 ] || fail "an unknown class is not status 2"
"$cli" route regione.mdb 1 1 2 2>/dev/null
[ $? -eq 2 ] || fail "a route without its last coordinate is not status 2"
echo "cli_smoke: ok"
