#include "app/PanelLayout.h"

PanelLayout computePanelLayout(int width, int interfaceHeight)
{
    PanelLayout layout;
    layout.versionLabel = {10, 15, width - 20, 50};
    layout.helpButton = {width - 104, 2, 94, 30};
    layout.step1Label = {10, layout.versionLabel.getBottom() + 5, width - 20, 30};
    layout.interface = {10, layout.step1Label.getBottom() + 5, width - 20, interfaceHeight};
    layout.step2Label = {10, layout.interface.getBottom() + 10, width - 20, 30};
    // The bar ends exactly where the button begins.
    layout.updateButton = {width - 104, layout.step2Label.getBottom() + 20, 94, 30};
    layout.progressBar = {10, layout.step2Label.getBottom() + 20, width - 114, 30};
    return layout;
}
