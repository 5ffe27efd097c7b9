#include "pumping_wait.h"

#include <windows.h>

bool pumpMessage() {
    MSG message;
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return false;  // WM_QUIT
    if (got == -1) return true;  // nothing was taken; there is nothing to dispatch
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

namespace {

class ThreadMessagePump : public MessagePump {
public:
    uint32_t tickCount() override { return GetTickCount(); }
    bool messageWaiting() override {
        MSG message;
        return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
    }
    bool pumpMessage() override { return ::pumpMessage(); }
    void postQuit() override { PostQuitMessage(0); }
    void sleep(uint32_t ms) override { Sleep(ms); }
};

}  // namespace

void pumpingWait(uint32_t ms) {
    ThreadMessagePump pump;
    runPumpingWait(pump, ms);
}
