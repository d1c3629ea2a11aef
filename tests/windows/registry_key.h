#pragma once

#include "platform/win32/win32_text.h"

#include <gtest/gtest.h>
#include <string>

namespace kelvane::testing {

// A key of the test's own below HKEY_CURRENT_USER\Software\KelvaneTest, named after the test
// and the process, deleted with all it holds when the test ends.
class OwnTestKey
{
public:
    OwnTestKey()
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test ? std::string(test->test_suite_name()) + "." + test->name()
                                : std::string("outside");
        for (char &c : name) {
            if (c == '/' || c == '\\')
                c = '.';
        }
        path = "Software\\KelvaneTest\\" + name + "." + std::to_string(::GetCurrentProcessId());
        remove();
    }
    ~OwnTestKey()
    {
        remove();
        // The common parent goes once the last test has taken its key away; while another
        // test still has one below it, this fails and leaves it.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
    }
    OwnTestKey(const OwnTestKey &) = delete;
    OwnTestKey &operator=(const OwnTestKey &) = delete;

    std::string path;

private:
    void remove() { ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::widen(path).c_str()); }
};

} // namespace kelvane::testing
