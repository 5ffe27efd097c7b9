#pragma once
// The launcher's hidden frame window: its one-second timer carries the launch decision.
#include "app_framework.h"
#include "launch_decision.h"

class MainWindow : public FrameWnd {
public:
    static const UINT_PTR kTimerId = 1;

    // Creates the window "Orla" at (-32000, -32000) with no size and starts its 1000 ms timer.
    BOOL CreateHidden();

    LRESULT OnTimer(WPARAM, LPARAM);

protected:
    const MessageMapEntry* messageMap() const override;

private:
    LaunchDecision decision_;
};
