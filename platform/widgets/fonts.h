#pragma once

// The windows were designed with Windows fonts (Tahoma, Arial, Courier New,
// MS Sans Serif). On machines without them Qt picks metric-compatible free
// fonts instead, so that captions keep their widths.

namespace qv {

// Call once, after the application object exists and before any window.
void installFontSubstitutes();

} // namespace qv
