// Settings-style text: parse, read, edit and write back must never crash, and an edit
// must read back as written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Helpers.h"
#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto doc = zorvi::IniDocument::Parse(text);
    for (const char* key : {"number_count", "voice", "winners", "language", ""}) {
        if (auto value = doc.Get("common", key))
            (void)zorvi::Helpers::ParseLeadingInt(*value);
    }
    (void)zorvi::Helpers::ParseLeadingInt(text);
    doc.Set("common", "fuzz_key", "value=1");
    auto back = zorvi::IniDocument::Parse(doc.Serialize());
    auto value = back.Get("common", "fuzz_key");
    if (!value || *value != "value=1")
        __builtin_trap();
    return 0;
}
