// zorvi-draws: the game's draws as evidence. Collects games through the program's own shuffle,
// checks a game log's commitments against their reveals, tallies draw statistics and prints
// the record of an evening.
#include <iostream>
#include <string>
#include <vector>

#include "DrawsCommands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

namespace {

const char* const kUsage =
    "usage:\n"
    "  zorvi-draws collect --numbers 75|90 --games G [--key HEX]\n"
    "      prints G games, one a line, the numbers in draw order; with --key (64 hex digits)\n"
    "      from the reproducible ChaCha20 source, else from the operating system's generator\n"
    "  zorvi-draws verify LOGFILE... [--series FILE]...\n"
    "      checks every seal against the lines before it, every commitment against its reveal,\n"
    "      every draw and winner's drawn numbers against the revealed sequence, and every\n"
    "      winner and verdict against the coupon series (given, or found where the program\n"
    "      finds it); exit 0 when all hold, 1 with every line that fails\n"
    "  zorvi-draws stats --numbers 75|90 --games G [--key HEX]\n"
    "      prints the chi-square tests of G games as a table\n"
    "  zorvi-draws report LOGFILE... --out FILE.pdf [--title TEXT] [--series FILE]...\n"
    "      prints the evening as a PDF: a first page in brief with what verify finds, then\n"
    "      every game: its rules and series, commitment, reveal and seal, the numbers in draw\n"
    "      order, every check (misses too) judged again by the series, and the winners\n";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
#ifdef _WIN32
    // The same games are the same bytes on every system: lines end with LF on Windows too.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (command == "collect")
        return zorvi::RunCollect(args);
    if (command == "verify")
        return zorvi::RunVerify(args);
    if (command == "stats")
        return zorvi::RunStats(args);
    if (command == "report")
        return zorvi::RunReport(args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << "zorvi-draws: unknown command " << command << "\n" << kUsage;
    return 2;
}
