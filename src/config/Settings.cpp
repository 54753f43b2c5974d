#include "config/Settings.h"

#include "common/Text.h"
#include "common/Utf8.h"

namespace kesmaro {

ScreenSizeList BuildScreenSizeList()
{
    static const std::array<const char*, kScreenSizeCount> texts = {
        "2048×1536  GXGA     ", "1920×1200  WideUXGA ", "1920×1080  FHD      ",
        "1600×1200  UXGA     ", "1680×1050  WideSXGA+", "1400×1050  SXGA+    ",
        "1600×900   HD+      ", "1280×1024  SXGA     ", "1440×900   WideXGA+ ",
        "1366×768   HD       ", "1280×800   WideXGA  ", "1280×720   HD-      ",
        "1024×768   XGA      ", " 800×600   SVGA     ",
    };
    ScreenSizeList list;
    for (int i = 0; i < kScreenSizeCount; ++i) {
        const std::string_view text = texts[static_cast<std::size_t>(i)];
        ScreenSize& s = list[static_cast<std::size_t>(i)];
        s.Text = text;
        // The sizes are counted in characters: "×" is one.
        s.Width =
            static_cast<std::int32_t>(ParseInteger(TrimSpaces(Utf8Left(text, 4))).value_or(0));
        s.Height =
            static_cast<std::int32_t>(ParseInteger(TrimSpaces(Utf8Mid(text, 5, 4))).value_or(0));
        s.Name = TrimSpaces(Utf8Right(text, 10));
    }
    return list;
}

} // namespace kesmaro
