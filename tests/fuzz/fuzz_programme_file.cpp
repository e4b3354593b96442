// The evening programme and the jackpots as a person or a damaged disk may leave them: any bytes
// are read or refused without a crash, a refusal names a line of the text, and whatever is
// taken writes back and reads back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "JackpotBook.h"
#include "ProgrammeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zorvi::ProgrammeRead read = zorvi::ParseProgramme(text);
    if (read.programme.has_value() != (read.fault.kind == zorvi::ProgrammeFaultKind::None))
        __builtin_trap();
    if (!read.programme) {
        const long lines = 1 + static_cast<long>(std::count(text.begin(), text.end(), '\n'));
        if (read.fault.line < 0 || read.fault.line > lines ||
            read.fault.field.size() > zorvi::kLongestFaultField)
            __builtin_trap();
        for (int language = 0; language < 3; ++language)
            if (zorvi::ProgrammeFaultText(read.fault, language).empty())
                __builtin_trap();
    } else {
        const zorvi::ProgrammeRead again =
            zorvi::ParseProgramme(zorvi::FormatProgramme(*read.programme));
        if (!again.programme || !(*again.programme == *read.programme))
            __builtin_trap();
    }

    if (const auto entries = zorvi::JackpotBook::Parse(text)) {
        if (entries->size() > zorvi::JackpotBook::kMostEntries)
            __builtin_trap();
    }
    return 0;
}
