#include "windows/ZodeduriHelpWindowClass.h"

#include "windows/ZodeduriHelpWindowContentComp.h"

ZodeduriHelpWindowClass::ZodeduriHelpWindowClass()
{
    auto* content = new ZodeduriHelpWindowContentComp();
    setResizable(true, false);
    setContentOwned(content, false);
    setName(" Zodeduri update help ");
}

ZodeduriHelpWindowClass::~ZodeduriHelpWindowClass()
{
    clearContentComponent();
}
