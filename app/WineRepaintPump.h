#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Under Wine only, paints what JUCE has queued, 60 times a second. JUCE 7.0.5
    on Windows turns repaint() into InvalidateRect only from its DXGI vblank
    thread, and Wine 8 does not implement IDXGIOutput::WaitForVBlank, so there
    a window would never repaint after its first paint. Does nothing on real
    Windows (no ntdll!wine_get_version) and elsewhere. */
class WineRepaintPump : private juce::Timer
{
public:
    WineRepaintPump();
    ~WineRepaintPump() override;

    static bool runningUnderWine();

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE(WineRepaintPump)
};
