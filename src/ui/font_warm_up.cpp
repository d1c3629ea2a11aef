#include "ui/font_warm_up.h"

#if KELVANE_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <thread>
#endif

namespace kelvane {

#if KELVANE_WARM_FONTCONFIG

namespace {

std::thread &warmUp()
{
    static std::thread thread;
    return thread;
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
