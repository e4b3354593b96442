#include "Commands.h"

#include <filesystem>
#include <iostream>

#include "CommandLine.h"
#include "CouponGenerator.h"
#include "CouponInspector.h"
#include "GameRules.h"
#include "SeriesFile.h"

namespace zorvi {

namespace {

constexpr std::uint64_t kSampleCount = 3000;
// The program checks coupon numbers up to this one.
constexpr std::uint64_t kCheckableCoupons = GameRules::kHighestCouponNumber;

int Usage(const std::string& message) {
    std::cerr << "zorvi-coupons: " << message << "\n";
    return kExitUsage;
}

} // namespace

int ParseNumbersOption(const std::string& value) {
    for (const int numbers : {GameRules::kNumbers75, GameRules::kNumbers90})
        if (value == std::to_string(numbers))
            return numbers;
    std::cerr << "zorvi-coupons: --numbers must be 75 or 90\n";
    return 0;
}

int RunGenerate(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"numbers", "count", "seed", "out"}, {"free-middle", "force"}, &error))
        return Usage(error);
    if (!line.Positional().empty())
        return Usage("unexpected argument " + line.Positional().front());
    if (!line.Has("numbers") || !line.Has("count") || !line.Has("seed") || !line.Has("out"))
        return Usage("generate needs --numbers, --count, --seed and --out");
    GenerateOptions options;
    options.numbers = ParseNumbersOption(line.Value("numbers"));
    if (options.numbers == 0)
        return kExitUsage;
    const auto count = line.Number("count");
    const auto seed = line.Number("seed");
    if (!count || !seed)
        return Usage("--count and --seed take whole numbers");
    options.count = *count;
    options.seed = *seed;
    options.freeMiddle = line.Flag("free-middle");
    const std::string invalid = CouponGenerator::Validate(options);
    if (!invalid.empty())
        return Usage(invalid);
    if (options.count > kCheckableCoupons)
        std::cerr << "zorvi-coupons: note: the program checks coupon numbers up to "
                  << kCheckableCoupons << "\n";

    // Once coupons are printed, their file is the only way to check them: never replaced
    // unless asked.
    std::error_code ec;
    if (!line.Flag("force") &&
        std::filesystem::exists(std::filesystem::symlink_status(line.Value("out"), ec))) {
        std::cerr << "zorvi-coupons: " << line.Value("out")
                  << " exists; it is kept (add --force to replace it)\n";
        return kExitFaults;
    }
    if (!SeriesFile::Write(line.Value("out"), CouponGenerator::Generate(options), &error)) {
        std::cerr << "zorvi-coupons: " << error << "\n";
        return kExitFaults;
    }
    std::cout << "Wrote " << options.count << " coupons to " << line.Value("out") << "\n";
    return kExitDone;
}

int RunGenerateSamples(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"count"}, {"overwrite"}, &error))
        return Usage(error);
    if (line.Positional().size() != 1)
        return Usage("generate-samples needs one folder");
    const auto count = line.Has("count") ? line.Number("count") : kSampleCount;
    if (!count || *count == 0 || *count > CouponGenerator::kMaxCount)
        return Usage("--count must be 1 to " + std::to_string(CouponGenerator::kMaxCount));
    const std::filesystem::path folder = line.Positional().front();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    int status = kExitDone;
    for (const SampleSeries& sample : SampleSeriesList()) {
        const std::filesystem::path path = folder / sample.fileName;
        // A hall's own series under the same name is never replaced unless asked.
        if (!line.Flag("overwrite") && std::filesystem::exists(path, ec)) {
            std::cout << "Kept " << path.string() << "\n";
            continue;
        }
        GenerateOptions options{sample.numbers, *count, sample.seed, sample.freeMiddle};
        if (!SeriesFile::Write(path.string(), CouponGenerator::Generate(options), &error)) {
            std::cerr << "zorvi-coupons: " << error << "\n";
            status = kExitFaults;
            continue;
        }
        std::cout << "Wrote " << *count << " coupons to " << path.string() << "\n";
    }
    return status;
}

int RunInspect(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"numbers", "list"}, {}, &error))
        return Usage(error);
    if (line.Positional().size() != 1 || !line.Has("numbers"))
        return Usage("inspect needs --numbers 75|90 and one file");
    const int numbers = ParseNumbersOption(line.Value("numbers"));
    if (numbers == 0)
        return kExitUsage;
    const auto list = line.Has("list") ? line.Number("list") : std::uint64_t{20};
    if (!list)
        return Usage("--list takes a whole number");
    const auto bytes = SeriesFile::Read(line.Positional().front(), &error);
    if (!bytes)
        return Usage(error);
    const InspectReport report =
        CouponInspector::Inspect(*bytes, numbers, static_cast<std::size_t>(*list));
    std::cout << "File: " << line.Positional().front() << "\n" << CouponInspector::Format(report);
    return report.Clean() ? kExitDone : kExitFaults;
}

} // namespace zorvi
