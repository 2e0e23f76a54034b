// SPDX-License-Identifier: MIT
#include "command_line/program_arguments.h"

#include <optional>

namespace cf {
namespace {

constexpr std::string_view kUsage =
    "Uso:\n"
    "  codicefiscale [--no-gui] COGNOME,NOME,DATA,SESSO,LUOGO[,MOSTRA]\n"
    "  codicefiscale --batch [--json] [FILE]\n"
    "  codicefiscale --check [--json] CODICE... | --check -\n"
    "  codicefiscale --check CODICE --persona COGNOME,NOME,DATA,SESSO,LUOGO\n"
    "  codicefiscale --omocodici CODICE\n"
    "  codicefiscale --luoghi TESTO\n"
    "  codicefiscale --esporta FILE | --importa FILE\n"
    "  codicefiscale -h | --help | -V | --version\n"
    "  codicefiscale            (senza argomenti: apre la finestra del programma)\n"
    "\n"
    "Calcola il codice fiscale di una persona fisica, lo scrive sullo standard\n"
    "output e lo copia negli appunti, dove resta anche dopo la fine del programma.\n"
    "I dati sono un solo testo di campi separati da virgole; gli spazi attorno\n"
    "alle virgole fanno parte dei campi. Minuscole e maiuscole sono indifferenti.\n"
    "  COGNOME, NOME  come all'anagrafe (apostrofi e accenti ammessi)\n"
    "  DATA           data di nascita, giorno per primo: gg/mm/aa o gg/mm/aaaa\n"
    "                 (anche 3/7/85). Un anno di due cifre è il più recente che\n"
    "                 non porti la data nel futuro (il 01/01/2027, 15/06/27 è il\n"
    "                 1927); se il luogo allora non esisteva la persona è\n"
    "                 rifiutata e, se esisteva cento anni prima, il messaggio\n"
    "                 chiede l'anno di quattro cifre\n"
    "  SESSO          M o F\n"
    "  LUOGO          comune o stato estero: come lo scrive l'anagrafe, con gli\n"
    "                 accenti (MALÉ, LÜSEN) o in ASCII (LUESEN), con l'apostrofo\n"
    "                 per l'accento finale (FORLI') o senza accenti (FORLI,\n"
    "                 LUSEN); anche nomi antichi o nella seconda lingua\n"
    "                 (SAN REMO vale SANREMO). Un nome di più luoghi esistenti\n"
    "                 alla data di nascita dà il codice del primo, e una riga\n"
    "                 Avviso: sullo standard error nomina gli altri (NOME (PR))\n"
    "  MOSTRA         facoltativo: se presente (anche 0) mostra il codice in una\n"
    "                 finestra di messaggio\n"
    "Dati rifiutati: il motivo va sullo standard error (e in una finestra di\n"
    "messaggio se c'è uno schermo) e gli appunti non cambiano.\n"
    "\n"
    "Opzioni:\n"
    "  --no-gui         nessuna finestra di messaggio (messaggi solo sullo\n"
    "                   standard error); il codice va comunque negli appunti\n"
    "  --batch [FILE]   calcola i codici di molte persone, una per riga, lette\n"
    "                   da FILE o, senza FILE o con -, dallo standard input:\n"
    "                   righe CSV COGNOME,NOME,DATA,SESSO,LUOGO (campi tra\n"
    "                   virgolette per contenere virgole e a capo; campi in più\n"
    "                   ignorati; una prima riga che comincia con COGNOME è\n"
    "                   saltata; righe oltre 4096 byte rifiutate). Per ogni riga\n"
    "                   scrive in CSV, con a capo LF, i cinque campi, il codice\n"
    "                   e un messaggio: il motivo del rifiuto o, con il codice,\n"
    "                   l'avviso che il nome è di più luoghi (vuoti quando non ci\n"
    "                   sono); a una riga vuota risponde una riga vuota. Le\n"
    "                   risposte escono appena l'ingresso non ha altri dati\n"
    "                   pronti: un programma può scrivere una riga e leggerne\n"
    "                   subito la risposta. Mai finestre, mai appunti.\n"
    "                   Una riga con un codice nel settimo campo (il sesto non\n"
    "                   si usa) lo confronta con la persona, come --persona, e\n"
    "                   scrive i cinque campi, il codice calcolato, il codice\n"
    "                   dato, sì o no (se corrisponde) e il verdetto; --json vi\n"
    "                   aggiunge codice_dato, corrisponde (true/false) e\n"
    "                   messaggio.\n"
    "  --check CODICE...  verifica codici fiscali (16 lettere e cifre) e partite IVA\n"
    "                   (11 cifre) e decodifica i codici fiscali corretti. Un\n"
    "                   codice fiscale è corretto se ha lettere in 1-6 e 12,\n"
    "                   cifre o lettere di omocodia (LMNPQRSTUV) in 7-8, 10-11\n"
    "                   e 13-15, un mese (ABCDEHLMPRST) in 9, un giorno del\n"
    "                   mese in 10-11 (+40 per le donne) e il carattere di\n"
    "                   controllo giusto; se no dice la prima regola violata.\n"
    "                   Con - legge un codice per riga dallo standard input.\n"
    "                   Con più codici scrive per ciascuno una riga CSV: codice,\n"
    "                   tipo (codice fiscale, partita IVA, nessuno), esito\n"
    "                   (corretto, errato), cognome, nome, data di nascita,\n"
    "                   sesso, luogo, provincia, avvisi. Anche --check=CODICE.\n"
    "  --persona COGNOME,NOME,DATA,SESSO,LUOGO  con --check e un solo codice:\n"
    "                   dice se il codice corrisponde alla persona (dati come\n"
    "                   nella chiamata semplice): \"Il codice corrisponde ai\n"
    "                   dati\" (per un omocodice con il codice di base), o una\n"
    "                   riga per ogni parte che differisce (\"Data di nascita:\n"
    "                   il codice indica 15/03/1980, i dati 15/03/1981\"). Il\n"
    "                   luogo corrisponde anche con un nome antico o di un\n"
    "                   omonimo, se alla data di nascita è il luogo del codice.\n"
    "                   Stato di uscita 0 se corrisponde, 1 se no.\n"
    "  --json           con --batch e --check: un oggetto JSON per riga.\n"
    "                   --batch: riga, cognome, nome, data, sesso, luogo,\n"
    "                   codice, errore, avviso (null se assenti); --check: riga,\n"
    "                   codice, tipo, corretto (true/false), cognome, nome,\n"
    "                   data_nascita, sesso, luogo, provincia, avviso (null se\n"
    "                   assente)\n"
    "  --omocodici CODICE  i 127 omocodici di un codice fiscale corretto, uno\n"
    "                   per riga: prima i sette che l'Agenzia assegna in ordine\n"
    "                   (sostituita l'ultima cifra, poi le ultime due, e così\n"
    "                   via fino a tutte e sette), poi gli altri 120 contando in\n"
    "                   binario sulle cifre sostituite, con l'ultima cifra come\n"
    "                   bit più basso (la penultima sola, la terzultima sola,\n"
    "                   l'ultima e la terzultima, la penultima e la terzultima,\n"
    "                   la quartultima sola, ...). Per un omocodice, quelli del\n"
    "                   codice originale.\n"
    "  --luoghi TESTO   luoghi il cui nome contiene TESTO (maiuscole e accenti\n"
    "                   indifferenti), al più 50, prima quelli che cominciano\n"
    "                   con TESTO: righe CSV nome, codice catastale, provincia,\n"
    "                   primo e ultimo giorno di validità del codice (vuoti se\n"
    "                   non noti; l'ultimo vuoto se il luogo esiste ancora)\n"
    "  --esporta FILE   scrive l'archivio in FILE: un file CSV (.csv: UTF-8,\n"
    "                   intestazione, campi tra virgolette se serve, come da\n"
    "                   RFC 4180) o un foglio OpenDocument (.ods) che\n"
    "                   LibreOffice ed Excel aprono; colonne Cognome, Nome,\n"
    "                   Codice fiscale, Sesso, Data di nascita, Luogo di nascita,\n"
    "                   Provincia; le persone nell'ordine dell'archivio\n"
    "  --importa FILE   aggiunge all'archivio le persone di FILE (.csv o .ods,\n"
    "                   le stesse colonne, intestazione facoltativa): ogni riga\n"
    "                   è controllata come nella finestra, il codice calcolato\n"
    "                   se manca e confrontato se c'è (un omocodice vale); le\n"
    "                   righe scartate vanno sullo standard error con il motivo\n"
    "                   e nulla di loro è scritto; le altre sono aggiunte in\n"
    "                   una sola scrittura, tutte o nessuna\n"
    "  --               fine delle opzioni: ogni argomento che segue è un dato,\n"
    "                   anche se comincia con -\n"
    "  -h, --help       mostra questo aiuto\n"
    "  -V, --version    mostra la versione\n"
    "\n"
    "Stato di uscita: 0 codice calcolato (o formalmente corretto, o della persona\n"
    "data con --persona; per --batch e --check ogni riga), 1 dati rifiutati (o\n"
    "codice errato, o d'altri; per --batch e --check almeno una riga), 2\n"
    "argomenti non validi, ingresso illeggibile o standard output non\n"
    "scrivibile, 128+N esecuzione con i dati di una persona interrotta dal\n"
    "segnale N (SIGTERM 143, SIGINT 130, SIGHUP 129).\n"
    "\n"
    "Gli argomenti sono visibili agli altri utenti (ps) per un attimo, finché il\n"
    "programma non li cancella; i dati letti dallo standard input (--batch -,\n"
    "--check -) restano riservati.\n"
    "\n"
    "Esempi:\n"
    "  codicefiscale BIANCHI,LUCIA,3/7/85,F,ROMA\n"
    "  codicefiscale \"DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO,1\"\n"
    "  codice=$(codicefiscale --no-gui \"Verdi,Giancarlo,10/02/1970,m,Milano\")\n"
    "  codicefiscale --check BNCLCU85L43H501J\n"
    "  codicefiscale --check BNCLCU85L43H501J \\\n"
    "    --persona \"Bianchi,Lucia,3/7/85,F,Roma\"\n"
    "  codicefiscale --batch persone.csv > codici.csv\n"
    "  codicefiscale --batch --json persone.csv |\n"
    "    sed -n 's/.*\"codice\":\"\\([0-9A-Z]*\\)\".*/\\1/p' | codicefiscale --check -\n"
    "  codicefiscale --luoghi forlì\n"
    "  codicefiscale --esporta archivio.ods\n";

struct Parsed {
    std::optional<ProgramMode> mode;
    std::string value;  // of --omocodici, --luoghi, --esporta, --importa, --check=
    std::vector<std::string> operands;
    bool json = false;
    bool noGui = false;
    std::optional<std::string> person;  // --persona
};

ProgramRequest Usage(std::string what)
{
    return {ProgramMode::UsageError, std::move(what), {}, false, false, {}};
}

// Sets the mode of an option; false when another mode was set before.
bool SetMode(Parsed& parsed, ProgramMode mode)
{
    if (parsed.mode && *parsed.mode != mode)
        return false;
    parsed.mode = mode;
    return true;
}

// The request once every argument has been read.
ProgramRequest Complete(Parsed parsed, std::string_view option)
{
    ProgramRequest request{
        parsed.mode.value_or(ProgramMode::PersonData), {}, {}, parsed.json, parsed.noGui, {}};
    const bool jsonAllowed = request.mode == ProgramMode::Check || request.mode == ProgramMode::Batch;
    if (parsed.json && !jsonAllowed)
        return Usage("--json vale solo con --batch e --check");
    if (parsed.person && request.mode != ProgramMode::Check)
        return Usage("--persona vale solo con --check");
    switch (request.mode) {
    case ProgramMode::PersonData:
        for (std::size_t i = 0; i < parsed.operands.size(); ++i) {
            if (parsed.operands[i] == "-")
                return Usage("- vale solo con --batch e --check");
            if (i > 0)
                request.text += ' ';
            request.text += parsed.operands[i];
        }
        if (request.text.empty()) {
            if (parsed.noGui)
                return Usage("--no-gui vuole i dati di una persona");
            request.mode = ProgramMode::Windowed;
        }
        return request;
    case ProgramMode::Check:
        if (!parsed.value.empty())
            request.codes.push_back(parsed.value);
        request.codes.insert(request.codes.end(), parsed.operands.begin(), parsed.operands.end());
        if (request.codes.empty())
            return Usage("--check vuole almeno un codice, o - per leggerli dallo standard input");
        for (const std::string& code : request.codes)
            if (code == "-" && request.codes.size() > 1)
                return Usage("--check - legge i codici dallo standard input e non ne vuole altri");
        if (parsed.person) {
            if (parsed.person->empty())
                return Usage("--persona vuole i dati di una persona: COGNOME,NOME,DATA,SESSO,LUOGO");
            if (request.codes.size() != 1 || request.codes.front() == "-")
                return Usage("--check con --persona vuole un solo codice");
            if (parsed.json)
                return Usage("--json non vale con --persona");
            request.person = std::move(*parsed.person);
        }
        return request;
    case ProgramMode::Batch:
        if (parsed.operands.size() > 1)
            return Usage("--batch legge un solo file");
        if (!parsed.operands.empty())
            request.text = parsed.operands.front();
        return request;
    case ProgramMode::Homocodes:
    case ProgramMode::Places:
    case ProgramMode::Export:
    case ProgramMode::Import:
        if (!parsed.operands.empty())
            return Usage(std::string(option) + " vuole un solo argomento");
        if (parsed.value.empty())
            return Usage(std::string(option) + " vuole un testo non vuoto");
        request.text = parsed.value;
        return request;
    default:
        if (!parsed.operands.empty() || parsed.noGui)
            return Usage(std::string(option) + " non vuole altri argomenti");
        return request;
    }
}

}  // namespace

ProgramRequest ReadProgramArguments(std::span<const char* const> arguments)
{
    Parsed parsed;
    std::string modeOption;  // the option that chose the mode, for messages
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.starts_with('-') || argument == "-") {
            parsed.operands.emplace_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const bool hasValue = equals != std::string_view::npos;
        std::optional<ProgramMode> mode;
        if (name == "-h" || name == "--help")
            mode = ProgramMode::Help;
        else if (name == "-V" || name == "--version")
            mode = ProgramMode::Version;
        else if (name == "--check")
            mode = ProgramMode::Check;
        else if (name == "--batch")
            mode = ProgramMode::Batch;
        else if (name == "--omocodici")
            mode = ProgramMode::Homocodes;
        else if (name == "--luoghi")
            mode = ProgramMode::Places;
        else if (name == "--esporta")
            mode = ProgramMode::Export;
        else if (name == "--importa")
            mode = ProgramMode::Import;
        else if (name == "--json" && !hasValue)
            parsed.json = true;
        else if (name == "--no-gui" && !hasValue)
            parsed.noGui = true;
        else if (name == "--persona" && (hasValue || i + 1 < arguments.size()))
            parsed.person = hasValue ? std::string(argument.substr(equals + 1)) : std::string(arguments[++i]);
        else if (name == "--persona")
            return Usage("--persona vuole un argomento");
        else
            return Usage("opzione sconosciuta: " + std::string(argument));
        if (!mode)
            continue;
        if (!SetMode(parsed, *mode))
            return Usage(modeOption + " e " + std::string(name) + " non vanno insieme");
        modeOption = name;
        const bool takesValue = *mode == ProgramMode::Homocodes || *mode == ProgramMode::Places
                                || *mode == ProgramMode::Export || *mode == ProgramMode::Import;
        if (hasValue && (takesValue || *mode == ProgramMode::Check)) {
            parsed.value = argument.substr(equals + 1);
        } else if (hasValue) {
            return Usage(std::string(name) + " non vuole un valore");
        } else if (takesValue) {
            if (i + 1 == arguments.size())
                return Usage(std::string(name) + " vuole un argomento");
            parsed.value = arguments[++i];
        }
    }
    return Complete(std::move(parsed), modeOption);
}

std::string_view UsageText()
{
    return kUsage;
}

}  // namespace cf
