#include "app/WineRepaintPump.h"

WineRepaintPump::WineRepaintPump()
{
    if (runningUnderWine())
        startTimerHz(60);
}

WineRepaintPump::~WineRepaintPump()
{
    stopTimer();
}

bool WineRepaintPump::runningUnderWine()
{
#if JUCE_WINDOWS
    static const bool underWine = []
    {
        juce::DynamicLibrary ntdll("ntdll.dll");
        return ntdll.getFunction("wine_get_version") != nullptr;
    }();
    return underWine;
#else
    return false;
#endif
}

void WineRepaintPump::timerCallback()
{
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer(i))
            peer->performAnyPendingRepaintsNow();
}
