#include "app/GestureWindow.h"

#include "gestures/GestureInput.h"
#include "measurement/CaptureCycle.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"

namespace kesmaro {

void LoadGestureInput(Program& p)
{
    FormDirectX_Load(
        p, GestureOperations{
               .captureImage = [](Program& q) { CaptureImage(q); },
               .screenshotFolder = [](Program& q) { return ScreenshotFolder(q); },
               .saveScreenshot = [](Program& q, const std::string& base,
                                    const std::string& format) { SaveScreenshot(q, base, format); },
           });
}

void UnloadGestureInput(Program& p)
{
    FormDirectX_Unload(p);
}

} // namespace kesmaro
