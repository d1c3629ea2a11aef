#include "ui/font_warm_up.h"

#if KELVANE_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <thread>
#endif

namespace kelvane {

#if KELVANE_WARM_FONTCONFIG

namespace {

// Joined at the latest when the program ends, however it ends.
struct WarmUpThread
{
    std::thread thread;
    ~WarmUpThread()
    {
        if (thread.joinable())
            thread.join();
    }
};

std::thread &warmUp()
{
    static WarmUpThread warmUp;
    return warmUp.thread;
}

} // namespace

void startFontWarmUp()
{
    if (!warmUp().joinable())
        warmUp() = std::thread([] { FcInit(); });
}

void awaitFontWarmUp()
{
    if (warmUp().joinable())
        warmUp().join();
}

#else

void startFontWarmUp() {}
void awaitFontWarmUp() {}

#endif

} // namespace kelvane
