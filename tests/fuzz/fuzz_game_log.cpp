// A game log as an auditor may be handed it: the verifier, the record reader, the judging of
// checks and the printed record must take any bytes without a crash, and agree on what fails.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "GameRecord.h"
#include "GameReport.h"
#include "LogVerifier.h"
#include "SeriesFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // A NUL splits the input into two month files, as a game may span them.
    const std::size_t split = bytes.find('\0');
    const std::string first(bytes.substr(0, split));
    const std::string second(split == std::string_view::npos ? std::string_view()
                                                             : bytes.substr(split + 1));

    zorvi::SeriesFiles series;
    zorvi::LogVerifier verifier(&series);
    zorvi::GameRecordReader reader;
    for (const std::string* text : {&first, &second}) {
        std::istringstream forVerifier(*text);
        verifier.Feed(forVerifier, "log");
        std::istringstream forReader(*text);
        reader.Feed(forReader, "log");
    }
    const zorvi::LogVerifier::Result result = verifier.Finish();
    if (result.ok != result.failures.empty() ||
        result.failures.size() > zorvi::LogVerifier::kMaxFailures)
        __builtin_trap();
    std::vector<zorvi::RecordedGame> games = reader.Finish();
    zorvi::JudgeChecks(games, series);
    if (games.size() <= 20) {
        zorvi::GameReportOptions options;
        options.verified = result.ok;
        const std::string pdf = zorvi::RenderGameReport(games, options);
        if (pdf.rfind("%PDF-", 0) != 0)
            __builtin_trap();
    }
    return 0;
}
