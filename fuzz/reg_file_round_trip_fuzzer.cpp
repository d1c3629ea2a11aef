// Whatever the reader takes, the writer writes so that it reads back as the same keys and values:
// written once more, the text is the same to the byte. A text too large to be read again is not
// written by the program, so it is not checked here.
#include "fuzz_check.h"
#include "settings/reg_file_format.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const RegFileContent content = parseRegFile(text);
    if (content.error)
        return 0;
    const auto written = serializeRegFile(content.roots, kLargestSettingsFile);
    if (!written)
        return 0;
    const RegFileContent back = parseRegFile(*written);
    KELVANE_FUZZ_CHECK(!back.error);
    KELVANE_FUZZ_CHECK(serializeRegFile(back.roots) == *written);
    return 0;
}
