#pragma once

#include "platform/Beeper.h"
#include "platform/GameWindows.h"
#include "platform/MouseButtons.h"
#include "platform/NumberInput.h"

namespace kesmaro {

// Stand-ins where a service is not available on this system.
class NullBeeper : public Beeper {
public:
    void SystemBeep() override {}
    void Tone(int, int) override {}
};

class NullMouseButtons : public MouseButtons {
public:
    MouseStart Start(Handler) override { return MouseStart::NoInputSystem; }
    void Stop() override {}
};

// Without a dialog every question counts as cancelled.
class NullNumberInput : public NumberInput {
public:
    std::optional<double> Ask(const NumberRequest&) override { return std::nullopt; }
};

class NullGameWindows : public GameWindows {
public:
    WindowId FindWindow(const std::string&) override { return kNoWindow; }
    WindowId ForegroundWindow() override { return kNoWindow; }
    PixelBuffer GrabClientRegion(WindowId, const Rect& region) override
    {
        return PixelBuffer(region.width, region.height);
    }
    PixelBuffer GrabPicture(WindowId, PictureArea, const Rect& region) override
    {
        return PixelBuffer(region.width, region.height);
    }
    Rect WindowRect(WindowId) override { return {}; }
};

} // namespace kesmaro
