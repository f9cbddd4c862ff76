#pragma once

namespace fai {

enum class TCursor { Default, HourGlass };

// The mouse cursor of the whole application, as screens set it around a long creation: the
// hourglass until it is set back to the default. Setting the same cursor twice is harmless.
void SetScreenCursor(TCursor cursor);
TCursor ScreenCursor();

}  // namespace fai
