// Any bytes as a settings file: the reader either takes all of it or names a line, and every key
// it takes keeps the registry's limits.
#include "fuzz_check.h"
#include "settings/reg_file_format.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const RegFileContent content = parseRegFile(text);
    if (content.error) {
        KELVANE_FUZZ_CHECK(content.roots.empty());
        KELVANE_FUZZ_CHECK(content.error->line >= 1);
        KELVANE_FUZZ_CHECK(!content.error->message.empty());
        return 0;
    }
    struct Level
    {
        const RegNode *node;
        std::size_t depth;
    };
    for (const auto &[root, top] : content.roots) {
        KELVANE_FUZZ_CHECK(!rootName(root).empty());
        std::vector<Level> pending{{&top, 0}};
        while (!pending.empty()) {
            const Level level = pending.back();
            pending.pop_back();
            KELVANE_FUZZ_CHECK(level.depth <= kMaxKeyDepth);
            for (const StoredValue &value : level.node->values()) {
                KELVANE_FUZZ_CHECK(isWritableRegName(value.name));
                KELVANE_FUZZ_CHECK(level.node->value(value.name) == &value);
            }
            for (const auto &child : level.node->children()) {
                KELVANE_FUZZ_CHECK(keyPathWithinLimits(child->name()));
                KELVANE_FUZZ_CHECK(isWritableRegName(child->name()));
                KELVANE_FUZZ_CHECK(level.node->child(child->name()) == child.get());
                pending.push_back({child.get(), level.depth + 1});
            }
        }
    }
    return 0;
}
