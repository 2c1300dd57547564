#pragma once

namespace velmora::figures {

/// Returns once the display server has handled every request the program has sent it: on X11
/// a round trip over Qt's own connection, so a frame that Qt has flushed is then on the
/// screen. Returns at once where there is no display server (the offscreen platform).
void WaitForDisplay();

}  // namespace velmora::figures
