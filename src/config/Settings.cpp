#include "config/Settings.h"

namespace kesmaro {

ScreenSizeList BuildScreenSizeList()
{
    static const std::array<const char16_t*, kScreenSizeCount> texts = {
        u"2048×1536  GXGA     ", u"1920×1200  WideUXGA ", u"1920×1080  FHD      ",
        u"1600×1200  UXGA     ", u"1680×1050  WideSXGA+", u"1400×1050  SXGA+    ",
        u"1600×900   HD+      ", u"1280×1024  SXGA     ", u"1440×900   WideXGA+ ",
        u"1366×768   HD       ", u"1280×800   WideXGA  ", u"1280×720   HD-      ",
        u"1024×768   XGA      ", u" 800×600   SVGA     ",
    };
    ScreenSizeList list;
    for (int i = 0; i < kScreenSizeCount; ++i) {
        const QString text = QString::fromUtf16(texts[static_cast<std::size_t>(i)]);
        ScreenSize& s = list[static_cast<std::size_t>(i)];
        s.Text = text;
        s.Width = text.left(4).trimmed().toInt();
        s.Height = text.mid(5, 4).trimmed().toInt();
        s.Name = text.right(10).trimmed();
    }
    return list;
}

} // namespace kesmaro
