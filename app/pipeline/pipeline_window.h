#pragma once

#include <string>

namespace Thermolyx {

// What the worker needs of the main window. The worker calls these from its own
// thread; the window only stores and invalidates, painting stays on the UI thread.
class PipelineWindow {
public:
    // New readings are in the readings store: repaint the whole client area.
    virtual void InvalidateReadings() = 0;
    // The device-count text, "Device:%d".
    virtual void SetDeviceCountText(const std::wstring& text) = 0;

protected:
    ~PipelineWindow() = default;
};

}  // namespace Thermolyx
