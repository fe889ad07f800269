#include "db/RoadNetworkSchema.h"

#include <memory>
#include <string>

#include "base/NumberText.h"
#include "db/DataDictionary.h"
#include "db/RegionalCompanies.h"

namespace viamappa {

namespace {

// Each table with its fields in order, its indexes and their members; captions and descriptions are
// those a person reads in the dictionary.
// regazi
constexpr SchemaField k_regazi_fields[] = {
    {"codice", 'I', 0, true, "Codice", "Contiene il codice regionale dell'Azienda"},
    {"denom", 'A', 40, true, "Denominazione", "Contiene la denominazione dell'Azienda"},
};
constexpr const char* k_regazi_codice_members[] = {"codice"};
constexpr SchemaIndex k_regazi_indexes[] = {
    {"codice", true, "Codici Regionali Azienda", "Elenca le aziende in ordine di codice regionale",
     k_regazi_codice_members},
};

// comuni
constexpr SchemaField k_comuni_fields[] = {
    {"ID", 'I', 0, true, "ID Comune", "Contiene l'identificativo univoco assegnato al Comune"},
    {"denom", 'A', 40, true, "Denominazione", "Contiene la denominazione del Comune"},
    {"provin", 'A', 4, true, "Codice Provincia", "Contiene il codice della Provincia di appartenenza"},
    {"istat", 'A', 6, true, "Cod Istat", "Contiene il codice ISTAT del Comune"},
};
constexpr const char* k_comuni_codice_members[] = {"ID"};
constexpr const char* k_comuni_istat_members[] = {"istat"};
constexpr SchemaIndex k_comuni_indexes[] = {
    {"codice", true, "Codice Comune", "Elenca i Comuni", k_comuni_codice_members},
    {"istat", true, "Codice Istat", "Elenca i Comuni per codice Istat", k_comuni_istat_members},
};

// geocom
constexpr SchemaField k_geocom_fields[] = {
    {"ID", 'I', 0, true, "ID Comune", "Contiene l'identificativo univoco assegnato al Comune"},
    {"sub", 'I', 0, true, "N.ro area distinta", "Indica il progressivo dell'area distinta"},
    {"excl", 'I', 0, true, "N.ro area esclusa", "Indica il progressivo dell'area di esclusione"},
    {"punti", 'I', 0, true, "N.ro coordinate", "Indica il n.ro delle coordinate presenti"},
    {"coord", 'O', 0, false, "Coordinate X,Y", "Contiene l'insieme delle coordinate X,Y"},
    {"minx", 'F', 0, true, "Minima X", "Esprime il valore minimo della coordinata X"},
    {"miny", 'F', 0, true, "Minima Y", "Esprime il valore minimo della coordinata Y"},
    {"maxx", 'F', 0, true, "Massima X", "Esprime il valore massimo della coordinata X"},
    {"maxy", 'F', 0, true, "Massima Y", "Esprime il valore massimo della coordinata Y"},
};
constexpr const char* k_geocom_codice_members[] = {"ID", "sub", "excl"};
constexpr SchemaIndex k_geocom_indexes[] = {
    {"codice", true, "Codice", "Elenca i punti dell'entità areale", k_geocom_codice_members},
};

// local
constexpr SchemaField k_local_fields[] = {
    {"ID", 'I', 0, true, "ID Località", "Contiene l'identificativo univoco assegnato alla Località"},
    {"denom", 'A', 40, true, "Denominazione", "Contiene la denominazione della Località"},
    {"istat", 'A', 6, true, "Codice Istat", "Contiene il codice del Comune di pertinenza"},
    {"nucleo", 'B', 0, true, "Nucleo", "Se vero indica un Nucleo abitato; altrimenti è un Centro Abitato"},
    {"abitanti", 'L', 0, true, "Abitanti", "Abitanti della località"},
};
constexpr const char* k_local_codice_members[] = {"ID"};
constexpr SchemaIndex k_local_indexes[] = {
    {"codice", true, "Codice Località", "Elenca le Località", k_local_codice_members},
};

// geoloc
constexpr SchemaField k_geoloc_fields[] = {
    {"ID", 'I', 0, true, "ID Località", "Contiene l'identificativo univoco assegnato alla Località"},
    {"sub", 'I', 0, true, "N.ro area distinta", "Indica il progressivo dell'area distinta"},
    {"excl", 'I', 0, true, "N.ro area esclusa", "Indica il progressivo dell'area di esclusione"},
    {"punti", 'I', 0, true, "N.ro coordinate", "Indica il n.ro delle coordinate presenti"},
    {"coord", 'O', 0, false, "Coordinate X,Y", "Contiene l'insieme delle coordinate X,Y"},
    {"minx", 'F', 0, true, "Minima X", "Esprime il valore minimo della coordinata X"},
    {"miny", 'F', 0, true, "Minima Y", "Esprime il valore minimo della coordinata Y"},
    {"maxx", 'F', 0, true, "Massima X", "Esprime il valore massimo della coordinata X"},
    {"maxy", 'F', 0, true, "Massima Y", "Esprime il valore massimo della coordinata Y"},
};
constexpr const char* k_geoloc_codice_members[] = {"ID", "sub", "excl"};
constexpr SchemaIndex k_geoloc_indexes[] = {
    {"codice", true, "Codice", "Elenca i punti dell'entità areale", k_geoloc_codice_members},
};

// toponimi
constexpr SchemaField k_toponimi_fields[] = {
    {"ID", 'L', 0, true, "ID Toponimo", "Contiene l'identificativo univoco assegnato al toponimo"},
    {"denom", 'A', 120, true, "Denominazione", "Contiene la denominazione del toponimo"},
    {"minx", 'F', 0, true, "Coordinata X min", "Coordinata X min del toponimo"},
    {"miny", 'F', 0, true, "Coordinata Y min", "Coordinata Y min del toponimo"},
    {"maxx", 'F', 0, true, "Coordinata X max", "Coordinata X max del toponimo"},
    {"maxy", 'F', 0, true, "Coordinata Y max", "Coordinata Y max del toponimo"},
    {"comune", 'I', 0, true, "Comune", "Codice del comune di pertinenza"},
};
constexpr const char* k_toponimi_codice_members[] = {"ID"};
constexpr SchemaIndex k_toponimi_indexes[] = {
    {"codice", true, "Codice Nodo", "Elenca i toponimi", k_toponimi_codice_members},
};

// nodi
constexpr SchemaField k_nodi_fields[] = {
    {"ID", 'L', 0, true, "ID Nodo", "Contiene l'identificativo univoco assegnato al Nodo"},
    {"coord_x", 'F', 0, true, "Coordinata X", "Coordinata X del nodo"},
    {"coord_y", 'F', 0, true, "Coordinata Y", "Coordinata Y del nodo"},
};
constexpr const char* k_nodi_codice_members[] = {"ID"};
constexpr SchemaIndex k_nodi_indexes[] = {
    {"codice", true, "Codice Nodo", "Elenca i Nodi del Grafo Stradale", k_nodi_codice_members},
};

// archi
constexpr SchemaField k_archi_fields[] = {
    {"ID", 'L', 0, true, "ID Arco", "Contiene l'identificativo univoco assegnato all'Arco stradale"},
    {"orgden", 'A', 60, false, "Denominazione Origine",
     "Contiene la denominazione originaria dell'arco stradale"},
    {"orgalt", 'A', 60, false, "Alternativa Origine",
     "Contiene la denominazione alternativa originearia dell'arco stradale"},
    {"denom", 'A', 60, false, "Denominazione", "Contiene la denominazione dell'arco stradale"},
    {"alterna", 'A', 60, false, "Alternativa", "Contiene la denominazione alternativa dell'arco stradale"},
    {"codele", 'A', 20, false, "Codice Elemento", "Contiene il codice regionale dell'Arco Strada"},
    {"codreg", 'A', 20, false, "Codice Regionale", "Contiene il codice regionale della strada"},
    {"classe", 'A', 10, false, "Classe", "Contiene la classe dello stradario"},
    {"piazza", 'B', 0, true, "Arco Piazza", "Indicatore arco tipo piazza"},
    {"modnome", 'B', 0, true, "Denominazione Modificata", "Indicatore arco con denominazione modificata"},
    {"modifica", 'B', 0, true, "Arco Modificato", "Indicatore arco modificato manualmente"},
    {"elimina", 'B', 0, true, "Arco Eliminato", "Indicatore arco eliminato manualmente"},
    {"aggiunto", 'B', 0, true, "Arco Aggiunto", "Indicatore arco aggiunto manualmente"},
    {"verifica", 'B', 0, true, "Arco Verificato", "Indicatore arco verificato"},
    {"datins", 'D', 0, true, "Data Inserimento", "Data inserimento"},
    {"datmod", 'D', 0, true, "Data Ultima Modifica", "Data ultima modifica"},
    {"nodini", 'L', 0, true, "ID Nodo inizio", "Contiene l'identificativo del Nodo di inizio Arco"},
    {"nodfin", 'L', 0, true, "ID Nodo fine", "Contiene l'identificativo del Nodo di fine Arco"},
    {"local", 'I', 0, true, "Località", "Codice della località di pertinenza"},
    {"comune", 'I', 0, true, "Comune", "Codice del comune di pertinenza"},
};
constexpr const char* k_archi_codice_members[] = {"ID"};
constexpr SchemaIndex k_archi_indexes[] = {
    {"codice", true, "Codice Arco", "Elenca gli Archi", k_archi_codice_members},
};

// geoarchi
constexpr SchemaField k_geoarchi_fields[] = {
    {"ID", 'L', 0, true, "ID Arco", "Contiene l'identificativo univoco assegnato all'Arco stradale"},
    {"punti", 'I', 0, true, "N.ro coordinate", "Indica il n.ro delle coordinate presenti"},
    {"coord", 'O', 0, false, "Coordinate X,Y", "Contiene l'insieme delle coordinate X,Y"},
    {"minx", 'F', 0, true, "Minima X", "Esprime il valore minimo della coordinata X"},
    {"miny", 'F', 0, true, "Minima Y", "Esprime il valore minimo della coordinata Y"},
    {"maxx", 'F', 0, true, "Massima X", "Esprime il valore massimo della coordinata X"},
    {"maxy", 'F', 0, true, "Massima Y", "Esprime il valore massimo della coordinata Y"},
};
constexpr const char* k_geoarchi_codice_members[] = {"ID"};
constexpr SchemaIndex k_geoarchi_indexes[] = {
    {"codice", true, "Codice", "Elenca i punti dell'entità lineare", k_geoarchi_codice_members},
};

// orgarchi
constexpr SchemaField k_orgarchi_fields[] = {
    {"ID", 'L', 0, true, "ID Arco", "Contiene l'identificativo univoco assegnato all'Arco stradale"},
    {"punti", 'I', 0, true, "N.ro coordinate", "Indica il n.ro delle coordinate presenti"},
    {"coord", 'O', 0, false, "Coordinate X,Y", "Contiene l'insieme delle coordinate X,Y"},
    {"minx", 'F', 0, true, "Minima X", "Esprime il valore minimo della coordinata X"},
    {"miny", 'F', 0, true, "Minima Y", "Esprime il valore minimo della coordinata Y"},
    {"maxx", 'F', 0, true, "Massima X", "Esprime il valore massimo della coordinata X"},
    {"maxy", 'F', 0, true, "Massima Y", "Esprime il valore massimo della coordinata Y"},
};
constexpr const char* k_orgarchi_codice_members[] = {"ID"};
constexpr SchemaIndex k_orgarchi_indexes[] = {
    {"codice", true, "Codice", "Elenca i punti dell'entità lineare", k_orgarchi_codice_members},
};

// tipi
constexpr SchemaField k_tipi_fields[] = {
    {"tipo", 'A', 20, true, "Tipo", "Contiene la denominazione del Tipo Stradario"},
};
constexpr const char* k_tipi_codice_members[] = {"tipo"};
constexpr SchemaIndex k_tipi_indexes[] = {
    {"codice", true, "Codice Tipo", "Elenca i tipi", k_tipi_codice_members},
};

// nomi
constexpr SchemaField k_nomi_fields[] = {
    {"tipo", 'A', 20, true, "Tipo", "Contiene la denominazione del Tipo Stradario"},
    {"nome", 'A', 60, true, "Denominazione", "Contiene la denominazione dello Stradario"},
};
constexpr const char* k_nomi_codice_members[] = {"tipo", "nome"};
constexpr SchemaIndex k_nomi_indexes[] = {
    {"codice", true, "Codice Nome", "Elenca i nomi", k_nomi_codice_members},
};

// fermate
constexpr SchemaField k_fermate_fields[] = {
    {"ID", 'L', 0, true, "ID Fermata", "Contiene l'identificativo univoco assegnato alla Fermata"},
    {"denom", 'A', 40, true, "Denominazione Fermata", "Contiene la denominazione della fermata"},
    {"ubicaz", 'A', 40, false, "Ubicazione Fermata", "Contiene l'ubicazione della fermata"},
    {"fermata", 'A', 10, true, "Codice Fermata", "Contiene il codice aziendale della fermata"},
    {"local", 'I', 0, true, "Località", "Codice della località di pertinenza"},
    {"coord_x", 'F', 0, true, "Coordinata X", "Coordinata X della fermata"},
    {"coord_y", 'F', 0, true, "Coordinata Y", "Coordinata Y della fermata"},
};
constexpr const char* k_fermate_codice_members[] = {"ID"};
constexpr SchemaIndex k_fermate_indexes[] = {
    {"codice", true, "Codice Fermata", "Elenca le Fermate", k_fermate_codice_members},
};

// itiner
constexpr SchemaField k_itiner_fields[] = {
    {"ID", 'L', 0, true, "ID Itinerario", "Contiene l'identificativo univoco assegnato all'Itinerario"},
    {"codperc", 'A', 20, true, "Codice Percorso", "Contiene il codice del percorso"},
    {"denom", 'A', 120, false, "Descrittore", "Contiene la descrizione sommaria del percorso"},
    {"geolung", 'F', 0, true, "Lunghezza (geo.)", "Lunghezza del percorso in metri (geometrica)"},
    {"conlung", 'F', 0, true, "Lunghezza (cont.)", "Lunghezza del percorso in metri (contabile)"},
};
constexpr const char* k_itiner_codice_members[] = {"ID"};
constexpr SchemaIndex k_itiner_indexes[] = {
    {"codice", true, "Codice Itinerario", "Elenca gli Itinerari", k_itiner_codice_members},
};

// geoitin
constexpr SchemaField k_geoitin_fields[] = {
    {"ID", 'L', 0, true, "ID Itinerario", "Contiene l'identificativo univoco assegnato all'Itinerario"},
    {"punti", 'I', 0, true, "N.ro coordinate", "Indica il n.ro delle coordinate presenti"},
    {"coord", 'O', 0, false, "Coordinate X,Y", "Contiene l'insieme delle coordinate X,Y"},
    {"minx", 'F', 0, true, "Minima X", "Esprime il valore minimo della coordinata X"},
    {"miny", 'F', 0, true, "Minima Y", "Esprime il valore minimo della coordinata Y"},
    {"maxx", 'F', 0, true, "Massima X", "Esprime il valore massimo della coordinata X"},
    {"maxy", 'F', 0, true, "Massima Y", "Esprime il valore massimo della coordinata Y"},
};
constexpr const char* k_geoitin_codice_members[] = {"ID"};
constexpr SchemaIndex k_geoitin_indexes[] = {
    {"codice", true, "Codice", "Elenca i punti dell'entità lineare", k_geoitin_codice_members},
};

// fermitin
constexpr SchemaField k_fermitin_fields[] = {
    {"ID", 'L', 0, true, "ID Itinerario", "Contiene l'identificativo univoco assegnato all'Itinerario"},
    {"sub", 'I', 0, true, "Progressivo", "Contiene il progressivo ordinamentale della fermata"},
    {"geodist", 'F', 0, true, "Km Progr (geo.)", "Distanza progressiva (geometrica)"},
    {"condist", 'F', 0, true, "Km Progr (cont.)", "Distanza progressiva (contabile)"},
    {"fermata", 'L', 0, true, "ID Fermata", "Contiene l'identificativo univoco assegnato alla Fermata"},
    {"primaria", 'B', 0, true, "Fermata Primaria", "Indicatore Fermata Primario (S/N)"},
    {"facolt", 'B', 0, true, "Fermata Primaria", "Indicatore Fermata Facoltativa (S/N)"},
};
constexpr const char* k_fermitin_codice_members[] = {"ID", "sub"};
constexpr SchemaIndex k_fermitin_indexes[] = {
    {"codice", true, "Codice Fermata/Itinerario", "Elenca le Fermate/Itinerario", k_fermitin_codice_members},
};

constexpr SchemaTable kTables[] = {
    {"regazi", "Codici Regionali Azienda", "Contiene la codificazione regionale delle Aziende",
     k_regazi_fields, k_regazi_indexes},
    {"comuni", "Comuni", "Contiene le codificazioni dei Comuni", k_comuni_fields, k_comuni_indexes},
    {"geocom", "Confini Comunali", "Descrive i poligoni di rappresentazione dei confini comunali",
     k_geocom_fields, k_geocom_indexes},
    {"local", "Località", "Contiene le codificazioni delle Località", k_local_fields, k_local_indexes},
    {"geoloc", "Confini Località", "Descrive i poligoni di rappresentazione dei confini delle località",
     k_geoloc_fields, k_geoloc_indexes},
    {"toponimi", "Toponimi cartografia", "Contiene le codificazioni dei toponimi della cartografia",
     k_toponimi_fields, k_toponimi_indexes},
    {"nodi", "Nodi del Grafo Stradale", "Contiene le codificazioni dei Nodi del Grafo Stradale",
     k_nodi_fields, k_nodi_indexes},
    {"archi", "Archi Grafo", "Contiene le codificazioni degli Archi del grafo stradale", k_archi_fields,
     k_archi_indexes},
    {"geoarchi", "Archi Grafo Stradale",
     "Descrive la polilinea di rappresentazione dell'Arco del Grafo Stradale", k_geoarchi_fields,
     k_geoarchi_indexes},
    {"orgarchi", "Archi Grafo Stradale Origine",
     "Descrive la polilinea di rappresentazione dell'Arco del Grafo Stradale", k_orgarchi_fields,
     k_orgarchi_indexes},
    {"tipi", "Tipi Stradario", "Contiene le codificazioni dei Tipi Stradario", k_tipi_fields, k_tipi_indexes},
    {"nomi", "Nomi Stradario", "Contiene le codificazioni dei Nomi Stradario", k_nomi_fields, k_nomi_indexes},
    {"fermate", "Fermate", "Contiene le codificazioni delle Fermate", k_fermate_fields, k_fermate_indexes},
    {"itiner", "Itinerari", "Contiene le codificazioni degli Itinerari", k_itiner_fields, k_itiner_indexes},
    {"geoitin", "Itinerari", "Descrive la polilinea di rappresentazione dell'Itinerario", k_geoitin_fields,
     k_geoitin_indexes},
    {"fermitin", "Fermate Itinerari", "Contiene le codificazioni delle Fermate per Itinerari",
     k_fermitin_fields, k_fermitin_indexes},
};

constexpr SchemaRelation kRelations[] = {
    {"geo_comune", "comuni", "ID", "geocom", "ID"},
    {"local_comune", "comuni", "istat", "local", "istat"},
    {"geo_local", "local", "ID", "geoloc", "ID"},
    {"topo_comune", "comuni", "ID", "toponimi", "comune"},
    {"geo_archi", "archi", "ID", "geoarchi", "ID"},
    {"org_archi", "archi", "ID", "orgarchi", "ID"},
    {"archi_ini", "nodi", "ID", "archi", "nodini"},
    {"archi_fin", "nodi", "ID", "archi", "nodfin"},
    {"archi_loc", "local", "ID", "archi", "local"},
    {"archi_com", "comuni", "ID", "archi", "comune"},
    {"fermate_local", "local", "id", "fermate", "local"},
    {"geo_itiner", "itiner", "ID", "geoitin", "ID"},
    {"ferma_itin", "itiner", "ID", "fermitin", "ID"},
};

}  // namespace

std::span<const SchemaTable> RoadNetworkTables() {
  return kTables;
}

std::span<const SchemaRelation> RoadNetworkRelations() {
  return kRelations;
}

bool WriteRoadNetworkDictionary(const DictionaryTables& d) {
  for (const SchemaTable& table : kTables) {
    if (!AddTableRow(d.tavole, table.name, table.caption, table.description)) return false;
    for (const SchemaField& field : table.fields) {
      if (!AddFieldRow(d.campi, table.name, field.name, field.type, field.size, field.required, field.caption,
                       field.description))
        return false;
    }
    for (const SchemaIndex& index : table.indexes) {
      if (!AddIndexRow(d.indici, table.name, index.name, index.primary, index.caption, index.note))
        return false;
      int position = 0;
      for (const char* field : index.fields) {
        if (!AddIndexFieldRow(d.indici2, table.name, index.name, position++, field)) return false;
      }
    }
  }
  for (const SchemaRelation& relation : kRelations) {
    if (!AddRelationRow(d.relaz, relation.name, relation.primary_table, relation.foreign_table) ||
        !AddRelationFieldRow(d.relaz2, relation.name, 0, relation.primary_field, relation.foreign_field))
      return false;
  }
  return true;
}

std::vector<CatalogRow> SeedRows() {
  std::vector<CatalogRow> rows;
  for (int code = 0; code < kRegionalCompanyCount; ++code)
    rows.push_back(
        {"regazi", {{"codice", FormatInteger(code)}, {"denom", std::string(RegionalCompanyName(code))}}});
  rows.push_back(
      {"comuni", {{"ID", "0"}, {"denom", "*** Comune non assegnato ***"}, {"provin", " "}, {"istat", " "}}});
  rows.push_back({"local",
                  {{"ID", "0"},
                   {"denom", "*** Località non assegnata ***"},
                   {"istat", " "},
                   {"nucleo", "0"},
                   {"abitanti", "0"}}});
  return rows;
}

bool WriteSeedRows(DbConnection& connection) {
  std::unique_ptr<DbTable> table;
  for (const CatalogRow& row : SeedRows()) {
    if (!table || table->name() != row.table) {
      table.reset();
      table = std::make_unique<DbTable>(connection, row.table);
      if (!table->IsOpen() || (row.table == "regazi" && !table->SelectIndex("codice"))) return false;
    }
    if (!table->AddNew()) return false;
    for (const auto& [field, value] : row.values) {
      if (!table->SetField(field, value)) return false;
    }
    if (!table->Update()) return false;
  }
  return true;
}

}  // namespace viamappa
