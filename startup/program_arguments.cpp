#include "startup/program_arguments.h"

namespace cf {
namespace {

constexpr std::string_view kUsage =
    "Uso:\n"
    "  codicefiscale COGNOME,NOME,DATA,SESSO,LUOGO[,MOSTRA]\n"
    "  codicefiscale --check CODICE\n"
    "  codicefiscale --help | --version\n"
    "  codicefiscale                  (senza argomenti: apre la finestra del programma)\n"
    "\n"
    "Calcola il codice fiscale di una persona fisica, lo scrive sullo standard\n"
    "output e lo copia negli appunti, dove resta anche dopo la fine del programma.\n"
    "I dati sono un solo testo di campi separati da virgole; gli spazi attorno\n"
    "alle virgole fanno parte dei campi. Minuscole e maiuscole sono indifferenti.\n"
    "  COGNOME, NOME  come all'anagrafe (apostrofi e accenti ammessi)\n"
    "  DATA           data di nascita, giorno per primo: gg/mm/aa o gg/mm/aaaa\n"
    "                 (anche 3/7/85); anni 00-29 = 2000-2029, 30-99 = 1930-1999\n"
    "  SESSO          M o F\n"
    "  LUOGO          comune o stato estero come scritto nell'elenco dei luoghi\n"
    "                 (SAN REMO vale SANREMO)\n"
    "  MOSTRA         facoltativo: se presente (anche 0) mostra il codice in una\n"
    "                 finestra di messaggio\n"
    "Dati rifiutati: il motivo va sullo standard error (e in una finestra di\n"
    "messaggio se c'è uno schermo) e gli appunti non cambiano.\n"
    "\n"
    "Opzioni:\n"
    "  --check CODICE  verifica un codice fiscale (16 caratteri) o una partita IVA\n"
    "                  (11 cifre) e decodifica il codice fiscale corretto\n"
    "  --help          mostra questo aiuto\n"
    "  --version       mostra la versione\n"
    "\n"
    "Stato di uscita: 0 codice calcolato (o formalmente corretto), 1 dati\n"
    "rifiutati (o codice errato), 2 argomenti non validi.\n"
    "\n"
    "Esempi:\n"
    "  codicefiscale BIANCHI,LUCIA,3/7/85,F,ROMA\n"
    "  codicefiscale \"DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO,1\"\n"
    "  codice=$(codicefiscale \"Verdi,Giancarlo,10/02/1970,m,Milano\")\n"
    "  codicefiscale --check BNCLCU85L43H501J\n";

ProgramRequest Option(std::span<const char* const> arguments)
{
    const std::string_view option = arguments.front();
    if (option == "--check") {
        if (arguments.size() != 2)
            return {ProgramMode::UsageError, "--check vuole un solo codice"};
        return {ProgramMode::Check, arguments[1]};
    }
    ProgramMode mode;
    if (option == "--help")
        mode = ProgramMode::Help;
    else if (option == "--version")
        mode = ProgramMode::Version;
    else
        return {ProgramMode::UsageError, "opzione sconosciuta: " + std::string(option)};
    if (arguments.size() != 1)
        return {ProgramMode::UsageError, std::string(option) + " non vuole altri argomenti"};
    return {mode, {}};
}

}  // namespace

ProgramRequest ReadProgramArguments(std::span<const char* const> arguments)
{
    if (!arguments.empty() && std::string_view(arguments.front()).starts_with("--"))
        return Option(arguments);

    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += arguments[i];
    }
    if (text.empty())
        return {ProgramMode::Windowed, {}};
    return {ProgramMode::PersonData, text};
}

std::string_view UsageText()
{
    return kUsage;
}

}  // namespace cf
