#include "app/help_file.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = KELVANE_HELP_SOURCE_DIR;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text a reader sees: tags dropped, character references resolved, blanks folded.
std::string readable(std::string_view html)
{
    static const std::map<std::string, std::string> named = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"nbsp", " "}};
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            i = html.find('>', i);
            if (i == std::string_view::npos)
                break;
            out += ' ';
        } else if (html[i] == '&' && html.find(';', i) != std::string_view::npos) {
            const std::size_t end = html.find(';', i);
            const std::string name(html.substr(i + 1, end - i - 1));
            if (named.contains(name)) {
                out += named.at(name);
                i = end;
            } else {
                out += '&';
            }
        } else {
            out += html[i];
        }
    }
    std::string folded;
    for (char c : out) {
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (!blank || (!folded.empty() && folded.back() != ' '))
            folded += blank ? ' ' : c;
    }
    return folded;
}

// One page of the help: its entries are term-description pairs whose term carries the id of
// the control it explains.
class Page
{
public:
    explicit Page(std::string name)
        : m_name(std::move(name))
        , m_html(readFile(kSources / m_name))
    {}

    bool exists() const { return !m_html.empty(); }
    const std::string &html() const { return m_html; }

    std::set<std::string> ids() const
    {
        std::set<std::string> found;
        static const std::regex id(R"re(\sid="([^"]+)")re");
        for (auto it = std::sregex_iterator(m_html.begin(), m_html.end(), id);
             it != std::sregex_iterator(); ++it)
            found.insert((*it)[1]);
        return found;
    }

    // The term with this id and the description after it; empty when there is none.
    std::pair<std::string, std::string> entry(const std::string &id) const
    {
        const std::size_t at = m_html.find("<dt id=\"" + id + "\">");
        if (at == std::string::npos)
            return {};
        const std::size_t termEnd = m_html.find("</dt>", at);
        const std::size_t description = m_html.find("<dd>", termEnd);
        const std::size_t descriptionEnd = m_html.find("</dd>", description);
        if (termEnd == std::string::npos || description == std::string::npos ||
            descriptionEnd == std::string::npos || m_html.find("<dt", termEnd) < description)
            return {};
        return {
            readable(std::string_view(m_html).substr(at, termEnd - at)),
            readable(std::string_view(m_html).substr(description, descriptionEnd - description))};
    }

private:
    std::string m_name;
    std::string m_html;
};

std::vector<std::string> pageFiles()
{
    std::vector<std::string> pages;
    for (const auto &file : fs::directory_iterator(kSources))
        if (file.path().extension() == ".html")
            pages.push_back(file.path().filename().string());
    std::sort(pages.begin(), pages.end());
    return pages;
}

// A caption as the user reads it: without the "&" that marks the access key.
std::string shown(std::string caption)
{
    std::erase(caption, '&');
    return caption;
}

void expectEntry(const Page &page, const std::string &id, const std::string &caption)
{
    const auto [term, description] = page.entry(id);
    EXPECT_NE(term.find(shown(caption)), std::string::npos)
        << "no entry with the id \"" << id << "\" that names \"" << shown(caption) << "\"";
    EXPECT_GE(description.size(), 10u) << "the entry \"" << id << "\" explains nothing";
}

TEST(HelpPagesTest, EverySwitchOfEveryToolWindowHasItsAnchorAndEntryOnItsWindowsPage)
{
    TestApp app;
    for (WindowId id : kAllWindows) {
        auto *tool = dynamic_cast<ToolWindow *>(&app.windows.window(id));
        if (!tool)
            continue;
        SCOPED_TRACE(helpPage(id));
        const Page page(helpPage(id));
        ASSERT_NE(tool->switches(), nullptr);
        ASSERT_FALSE(tool->switches()->all().empty());
        for (const auto &s : tool->switches()->all())
            expectEntry(page, s->def().name, s->def().caption);
    }
}

TEST(HelpPagesTest, EveryWindowHasAPageThatExplainsItsBoxesAndButtons)
{
    TestApp app;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(helpPage(id));
        const Page page(helpPage(id));
        ASSERT_TRUE(page.exists());
        for (const Control *control : app.windows.window(id).controls()) {
            if ((control->kind() == ControlKind::CheckBox ||
                 control->kind() == ControlKind::Button) &&
                !control->caption().empty())
                expectEntry(page, control->name(), control->caption());
        }
    }
}

// Links between pages, from the contents and the index too, reach a file and an anchor that
// are there; the pages name their style sheet and no anchor twice.
TEST(HelpPagesTest, EveryInternalLinkResolves)
{
    std::vector<std::string> files = pageFiles();
    files.insert(files.end(), {"deutsch.hhc", "deutsch.hhk"});
    static const std::regex link(R"re((?:href|value)="([^"#:]*\.(?:html|css))(?:#([^"]*))?")re");
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const Page page(file);
        const std::string &html = page.html();
        if (file.ends_with(".html")) {
            EXPECT_NE(html.find("href=\"hilfe.css\""), std::string::npos);
            std::multiset<std::string> all;
            static const std::regex id(R"re(\sid="([^"]+)")re");
            for (auto it = std::sregex_iterator(html.begin(), html.end(), id);
                 it != std::sregex_iterator(); ++it)
                all.insert((*it)[1]);
            for (const std::string &anchor : all)
                EXPECT_EQ(all.count(anchor), 1u) << "the id \"" << anchor << "\" twice";
        }
        for (auto it = std::sregex_iterator(html.begin(), html.end(), link);
             it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1];
            const std::string anchor = (*it)[2];
            ASSERT_TRUE(fs::exists(kSources / target)) << target;
            if (!anchor.empty()) {
                EXPECT_TRUE(Page(target).ids().contains(anchor)) << target << "#" << anchor;
            }
        }
    }
}

// Runs the CHM lister with these arguments and an output file after them; the file's text, or
// nothing when the lister failed.
std::string chmls(const std::vector<std::string> &arguments)
{
    const fs::path out =
        fs::temp_directory_path() / ("kelvane-help-" + std::to_string(::getpid()) + ".out");
    std::string line = KELVANE_CHMLS;
    for (const std::string &argument : arguments)
        line += " '" + argument + "'";
    line += " '" + out.string() + "' >/dev/null 2>&1";
    if (std::system(line.c_str()) != 0 || !fs::exists(out))
        return {};
    std::string text = readFile(out);
    fs::remove(out);
    return text;
}

std::set<std::string> pagesLinkedFrom(const std::string &sitemap)
{
    std::set<std::string> pages;
    static const std::regex local(R"re(name="Local" value="([^"#]+))re");
    for (auto it = std::sregex_iterator(sitemap.begin(), sitemap.end(), local);
         it != std::sregex_iterator(); ++it)
        pages.insert((*it)[1]);
    return pages;
}

TEST(HelpFileBuildTest, TheBuiltFilesContentsAndIndexListEveryPage)
{
    const fs::path chm = KELVANE_HELP_CHM;
    if (std::string(KELVANE_CHMLS).empty() || !fs::exists(chm))
        GTEST_SKIP() << "built without the CHM compiler: no deutsch.chm to look into";

    const std::string contents = chmls({"extracttoc", chm.string()});
    const std::string index = chmls({"extractindex", chm.string()});
    ASSERT_FALSE(contents.empty());
    ASSERT_FALSE(index.empty());
    const std::set<std::string> inContents = pagesLinkedFrom(contents);
    const std::set<std::string> inIndex = pagesLinkedFrom(index);
    std::vector<std::string> files = pageFiles();
    files.push_back("hilfe.css");
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(chmls({"extract", chm.string(), "/" + file}) == readFile(kSources / file))
            << "the compiled file does not hold the page as written";
        if (file.ends_with(".html")) {
            EXPECT_TRUE(inContents.contains(file)) << "not in the contents";
            EXPECT_TRUE(inIndex.contains(file)) << "not in the index";
        }
    }
}

} // namespace
} // namespace kelvane::testing
