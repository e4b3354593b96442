#include <QGuiApplication>
#include <iostream>

#include "CommandLine.h"
#include "Commands.h"
#include "CouponPrinter.h"
#include "SeriesFile.h"

namespace zorvi {

int RunPrint(int argc, char** argv, const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"numbers", "series", "from", "to", "out"}, {}, &error)) {
        std::cerr << "zorvi-coupons: " << error << "\n";
        return kExitUsage;
    }
    if (line.Positional().size() != 1 || !line.Has("numbers") || !line.Has("series") ||
        !line.Has("out")) {
        std::cerr << "zorvi-coupons: print needs --numbers, --series, --out and one file\n";
        return kExitUsage;
    }
    PrintOptions options;
    options.numbers = ParseNumbersOption(line.Value("numbers"));
    if (options.numbers == 0)
        return kExitUsage;
    options.series = line.Value("series");
    options.outPath = line.Value("out");
    const auto from = line.Has("from") ? line.Number("from") : std::uint64_t{1};
    const auto to = line.Has("to") ? line.Number("to") : std::uint64_t{0};
    if (!from || !to || (line.Has("to") && *to == 0)) {
        std::cerr << "zorvi-coupons: --from and --to take coupon numbers from 1\n";
        return kExitUsage;
    }
    options.from = *from;
    options.to = *to;
    const auto bytes = SeriesFile::Read(line.Positional().front(), &error);
    if (!bytes) {
        std::cerr << "zorvi-coupons: " << error << "\n";
        return kExitUsage;
    }

    // Printing needs fonts, not a screen: the offscreen platform works on any machine.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!CouponPrinter::Print(*bytes, options, &error)) {
        std::cerr << "zorvi-coupons: " << error << "\n";
        return kExitFaults;
    }
    std::cout << "Wrote " << options.outPath << "\n";
    return kExitDone;
}

} // namespace zorvi
