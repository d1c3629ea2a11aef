#include "app/help_file.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = KELVANE_HELP_SOURCE_DIR;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every match of the pattern's first group, in order.
std::vector<std::string> matches(const std::string &text, const std::regex &pattern)
{
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

// The text a reader sees: tags dropped, blanks folded.
std::string readable(const std::string &html)
{
    return std::regex_replace(html, std::regex("(<[^>]*>|\\s)+"), " ");
}

// A page's entry is a term that carries the id of the control it explains, then a description.
void expectEntry(const std::string &html, const std::string &id, std::string caption)
{
    std::erase(caption, '&'); // as the user reads it, without the access key's mark
    std::smatch entry;
    const std::regex pattern("<dt id=\"" + id +
                             "\">((?:(?!<dt)[\\s\\S])*?)</dt>\\s*<dd>([\\s\\S]*?)</dd>");
    ASSERT_TRUE(std::regex_search(html, entry, pattern)) << "no entry with the id \"" << id << "\"";
    EXPECT_NE(readable(entry[1]).find(caption), std::string::npos)
        << "the entry \"" << id << "\" does not name \"" << caption << "\"";
    EXPECT_GE(readable(entry[2]).size(), 10u) << "the entry \"" << id << "\" explains nothing";
}

// Every window has a page that explains its boxes and buttons, and every switch of a tool
// window, under the control's or the switch's name as its anchor.
TEST(HelpPagesTest, EveryWindowsPageExplainsItsBoxesButtonsAndSwitches)
{
    TestApp app;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(helpPage(id));
        const std::string html = readFile(kSources / helpPage(id));
        for (const Control *control : app.windows.window(id).controls()) {
            if ((control->kind() == ControlKind::CheckBox ||
                 control->kind() == ControlKind::Button) &&
                !control->caption().empty())
                expectEntry(html, control->name(), control->caption());
        }
        if (auto *tool = dynamic_cast<ToolWindow *>(&app.windows.window(id))) {
            ASSERT_TRUE(tool->switches() && !tool->switches()->all().empty());
            for (const auto &s : tool->switches()->all())
                expectEntry(html, s->def().name, s->def().caption);
        }
    }
}

// Links between pages, from the contents and the index too, reach a file and an anchor that
// are there; no page has an anchor twice; the project, the contents and the index list every
// page (the project names what the compiled file holds).
TEST(HelpPagesTest, EveryInternalLinkResolvesAndEveryPageIsListed)
{
    std::vector<std::string> pages, files = {"deutsch.hhc", "deutsch.hhk"};
    for (const auto &entry : fs::directory_iterator(kSources))
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().filename().string());
    static const std::regex link(R"re((?:href|value)="([^"#:]*\.(?:html|css)(?:#[^"]*)?)")re");
    static const std::regex id(R"re(\sid="([^"]+)")re");
    for (const char *list : {"deutsch.hhp", "deutsch.hhc", "deutsch.hhk"}) {
        const std::string text = readFile(kSources / list);
        for (const std::string &page : pages)
            EXPECT_TRUE(std::regex_search(text, std::regex("[\n\"]" + page + "[\r\n\"]")))
                << list << " does not list " << page;
    }
    files.insert(files.end(), pages.begin(), pages.end());
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const std::string html = readFile(kSources / file);
        std::set<std::string> seen;
        for (const std::string &anchor : matches(html, id))
            EXPECT_TRUE(seen.insert(anchor).second) << "the id \"" << anchor << "\" twice";
        for (const std::string &target : matches(html, link)) {
            const std::string page = target.substr(0, target.find('#'));
            ASSERT_TRUE(fs::exists(kSources / page)) << target;
            EXPECT_TRUE(
                page == target ||
                readFile(kSources / page).find(" id=\"" + target.substr(page.size() + 1) + "\"") !=
                    std::string::npos)
                << target;
        }
    }
}

} // namespace
} // namespace kelvane::testing
