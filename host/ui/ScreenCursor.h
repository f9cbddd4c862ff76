#pragma once

namespace fai {

enum class TCursor { Default, HourGlass };

// The mouse cursor of the whole application, as screens set it around a long creation: the
// hourglass until it is set back to the default. Setting the same cursor twice is harmless.
void SetScreenCursor(TCursor cursor);
TCursor ScreenCursor();

// The hourglass while a screen is being made, and the default cursor again when the making
// ends, however it ends: a screen then shown modally is worked with the normal cursor, and
// one that fails to be made leaves no hourglass behind.
class [[nodiscard]] HourGlassScope {
  public:
    HourGlassScope() { SetScreenCursor(TCursor::HourGlass); }
    ~HourGlassScope() { SetScreenCursor(TCursor::Default); }
    HourGlassScope(const HourGlassScope&) = delete;
    HourGlassScope& operator=(const HourGlassScope&) = delete;
};

}  // namespace fai
