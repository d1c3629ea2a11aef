#pragma once

namespace kelvane {

// Fontconfig reads its configuration and its caches of the installed fonts (several
// milliseconds) before the first text can be measured. The program has it done on a thread of
// its own while the toolkit starts and the first window's controls are made; whatever measures
// text first waits here for it. Both are called on the interface thread; where the fonts do
// not come from fontconfig, both do nothing.
void startFontWarmUp();
void awaitFontWarmUp();

} // namespace kelvane
