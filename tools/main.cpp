// zorvi-coupons: generates, checks and prints coupon-series files for the program folder.
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

const char* const kUsage =
    "usage:\n"
    "  zorvi-coupons generate --numbers 75|90 --count N --seed S [--free-middle] [--force]\n"
    "      --out FILE\n"
    "      an existing FILE is kept unless --force is given\n"
    "  zorvi-coupons generate-samples DIR [--count N] [--overwrite]\n"
    "      writes kup75.hex, VORPA.hex (free middle), KASTIRO.hex and 90.hex, 3000 coupons\n"
    "      each by default, keeping files that exist\n"
    "  zorvi-coupons inspect --numbers 75|90 [--list N] FILE\n"
    "      exit 0 when the series is clean, 1 when it has faults\n"
    "  zorvi-coupons print --numbers 75|90 --series NAME [--from A] [--to B] FILE --out OUT.pdf\n";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return zorvi::kExitUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "generate")
        return zorvi::RunGenerate(args);
    if (command == "generate-samples")
        return zorvi::RunGenerateSamples(args);
    if (command == "inspect")
        return zorvi::RunInspect(args);
    if (command == "print") {
#ifdef ZORVI_COUPONS_PRINT
        return zorvi::RunPrint(argc, argv, args);
#else
        std::cerr << "zorvi-coupons: this build has no Qt, so it cannot print\n";
        return zorvi::kExitFaults;
#endif
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return zorvi::kExitDone;
    }
    std::cerr << "zorvi-coupons: unknown command " << command << "\n" << kUsage;
    return zorvi::kExitUsage;
}
