// viamappa-cli: the batch commands of the road-graph editor, without a window.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCommands.h"
#include "db/Engine.h"

namespace {

constexpr const char* kUsage =
    "Uso: viamappa-cli [--yes] COMANDO [ARGOMENTI]\n"
    "\n"
    "Viamappa - \"Gestione Grafo Stradale\": i comandi senza finestra.\n"
    "\n"
    "Comandi:\n"
    "  create FILE                  crea un nuovo database vuoto\n"
    "  repair FILE                  ripara un database\n"
    "  duplicate ORIGINE DEST       scrive una copia compattata di un database\n"
    "  check FILE                   verifica l'integrità di un database\n"
    "  info FILE                    mostra le tavole di un database con il numero di righe\n"
    "  import-graph DB FILE.shp     importa il grafo stradale in un database\n"
    "  import-comuni DB FILE.shp    importa i comuni con i loro confini\n"
    "  import-localita DB FILE.shp  importa le località con i loro confini\n"
    "  import-toponimi DB FILE.txt  importa i toponimi della cartografia\n"
    "  import-secondario DB FILE.shp [--snap METRI] [--report FILE.csv]\n"
    "                               integra un grafo secondario nel grafo stradale: aggiunge gli\n"
    "                               archi che mancano e li collega entro il fattore di snap (10 m se\n"
    "                               non indicato); il report ha una riga per record del grafo secondario\n"
    "  localize DB                  localizza gli archi nei comuni e nelle località\n"
    "  localize-toponimi DB         localizza i toponimi nei comuni\n"
    "  export-graph DB FILE.shp     esporta il grafo stradale\n"
    "  export-changes DB FILE.shp   esporta la comunicazione delle variazioni del grafo\n"
    "  export-tramex DB FILE.shp    esporta il grafo per Tramex\n"
    "  street-list DB FILE.txt [--comune ID | --localita ID]\n"
    "                               scrive l'elenco stradario di un comune, di una località\n"
    "                               o di tutto il grafo\n"
    "  search DB FRAMMENTO [--comuni] [--localita] [--toponimi] [--strade] [--intere] [--comune ID]\n"
    "                               cerca comuni, località, toponimi e strade per frammento del nome e\n"
    "                               scrive le righe dei risultati; senza tipi: comuni, località e strade;\n"
    "                               --intere una riga per strada, --comune solo nel comune ID\n"
    "  highlight DB [--classi SS,SR,SP,SC,PR] [--verificati] [--da-verificare] [--aggiunti]\n"
    "               [--nomi-modificati] [--geometrie-modificate] [--eliminati] [--piazza]\n"
    "               [--senza-nome] [--alternativa]\n"
    "                               scrive la condizione degli archi da evidenziare e quanti ne sceglie\n"
    "  route DB X1 Y1 X2 Y2 [--save FILE] [--snap METRI]\n"
    "                               il percorso minimo tra due punti del grafo, agganciati come nei\n"
    "                               modi Partenza e Arrivo (entro 15 m se non indicato): la lunghezza e\n"
    "                               i tratti via per via sullo standard output, e nel FILE con --save\n"
    "  arc DB ID                    mostra i campi di un arco stradale, uno per riga (campo=valore)\n"
    "  set-name DB ID NOME [--alterna NOME] [--classe CODICE]\n"
    "                               corregge denominazione, alternativa e classe (SC, SP, SR, SS, PR)\n"
    "                               di un arco con i controlli sullo stradario; le domande hanno\n"
    "                               risposta sì solo con --yes; mostra l'arco come è registrato\n"
    "  delete-arc DB ID             elimina un arco: in modo logico se del grafo regionale, dal\n"
    "                               database (con i nodi rimasti senza archi) se aggiunto; solo con --yes\n"
    "  regenerate-nodes DB          fa concordare i nodi iniziali e finali degli archi con la loro\n"
    "                               geometria (Rigenera Nodi)\n"
    "  merge-arcs DB                unisce gli archi spezzati senza necessità (Riduzione Archi spezzati)\n"
    "  find-names DB FRAMMENTO [--alterna] [--comune ID | --localita ID]\n"
    "                               elenca i toponimi degli archi che contengono il frammento\n"
    "                               (denominazione principale, o alternativa con --alterna)\n"
    "  rename DB VECCHIO NUOVO [--alterna] [--comune ID | --localita ID]\n"
    "                               rinomina gli archi che portano esattamente il toponimo VECCHIO\n"
    "  validate DB [--report FILE.csv]\n"
    "                               verifica il grafo stradale senza modificarlo: elenca le anomalie\n"
    "                               (nel file, se indicato) e conta quelle di ogni tipo\n"
    "  synth CARTELLA [--arcs N] [--comuni M] [--localita K] [--seed S] [--lato METRI]\n"
    "                               scrive una regione sintetica (grafo, comuni, località, toponimi)\n"
    "                               su un quadrato di METRI di lato (100000 se non indicato)\n"
    "  install-settings CARTELLA [DATABASE]\n"
    "                               scrive la configurazione, se non esiste ancora, con la cartella\n"
    "                               di installazione e il database da aprire\n"
    "  settings-path                mostra dove si trova la configurazione\n"
    "  symbols FILE.png             disegna i simboli puntuali come nella griglia di scelta\n"
    "  patterns FILE.png            disegna le retinature delle aree\n"
    "  make-sfx DB FILE.sfx [--doppie] [--64]\n"
    "                               scrive una cartografia di sfondo dai comuni e dalle località del\n"
    "                               database (coordinate compatte, se non --doppie; offset a 64 bit con\n"
    "                               --64)\n"
    "  make-sfw RASTER FILE.sfw     scrive un'ortofoto di sfondo da un raster georeferenziato letto con\n"
    "                               GDAL (per esempio un GeoTIFF)\n"
    "  render DB FILE.png [--size LARGHEZZAxALTEZZA] [--scala N] [--centro X Y] [--sfondo FILE]\n"
    "                               disegna la mappa in un'immagine PNG come la finestra (1920x1080, la\n"
    "                               vista iniziale se non indicate; lo stile dalla configurazione)\n"
    "  --help                       mostra questo aiuto\n"
    "  --version                    mostra la versione del programma e del motore del database\n"
    "\n"
    "Opzioni:\n"
    "  --yes                        risponde sì alle domande, anche se sostituire un file esistente\n"
    "\n"
    "I messaggi e l'avanzamento sono scritti sullo standard error, i risultati sullo standard output.\n"
    "Lo stato di uscita è 0 quando il comando è riuscito, 1 quando è stato rifiutato o è fallito,\n"
    "2 quando la riga di comando è errata.\n";

}  // namespace

int main(int argc, char** argv) {
  namespace cli = viamappa::cli;
  cli::Options options;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--yes" || word == "-y") {
      options.yes = true;
    } else {
      words.emplace_back(word);
    }
  }
  if (words.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = words.front();
  const std::vector<std::string> args(words.begin() + 1, words.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("viamappa-cli 1.0.0 (%s)\n", viamappa::EngineVersion().c_str());
    return 0;
  }
  if (command == "create") return cli::Create(args, options);
  if (command == "repair") return cli::Repair(args, options);
  if (command == "duplicate") return cli::Duplicate(args, options);
  if (command == "check") return cli::Check(args, options);
  if (command == "info") return cli::Info(args, options);
  if (command == "import-graph") return cli::Import(cli::ImportKind::Graph, args, options);
  if (command == "import-comuni") return cli::Import(cli::ImportKind::Municipalities, args, options);
  if (command == "import-localita") return cli::Import(cli::ImportKind::Localities, args, options);
  if (command == "import-toponimi") return cli::Import(cli::ImportKind::Toponyms, args, options);
  if (command == "import-secondario") return cli::ImportSecondary(args, options);
  if (command == "localize") return cli::Localize(cli::LocalizeKind::RoadGraph, args, options);
  if (command == "localize-toponimi") return cli::Localize(cli::LocalizeKind::Toponyms, args, options);
  if (command == "export-graph") return cli::Export(cli::ExportKind::Graph, args, options);
  if (command == "export-changes") return cli::Export(cli::ExportKind::Changes, args, options);
  if (command == "export-tramex") return cli::Export(cli::ExportKind::Tramex, args, options);
  if (command == "street-list") return cli::StreetList(args, options);
  if (command == "search") return cli::Search(args, options);
  if (command == "highlight") return cli::Highlight(args, options);
  if (command == "route") return cli::Route(args, options);
  if (command == "arc") return cli::ArcFields(args, options);
  if (command == "set-name") return cli::SetName(args, options);
  if (command == "delete-arc") return cli::DeleteArc(args, options);
  if (command == "regenerate-nodes") return cli::RegenerateNodes(args, options);
  if (command == "merge-arcs") return cli::MergeArcs(args, options);
  if (command == "find-names") return cli::FindNames(args, options);
  if (command == "rename") return cli::Rename(args, options);
  if (command == "validate") return cli::Validate(args, options);
  if (command == "synth") return cli::Synth(args, options);
  if (command == "install-settings") return cli::InstallSettings(args, options);
  if (command == "settings-path") return cli::SettingsPath(args, options);
  if (command == "symbols") return cli::Symbols(args, options);
  if (command == "patterns") return cli::Patterns(args, options);
  if (command == "make-sfx") return cli::MakeSfx(args, options);
  if (command == "make-sfw") return cli::MakeSfw(args, options);
  if (command == "render") return cli::Render(args, options);
  std::fprintf(stderr, "viamappa-cli: comando sconosciuto: %s\n\n%s", command.c_str(), kUsage);
  return 2;
}
