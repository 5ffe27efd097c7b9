#include "pumping_wait.h"

void runPumpingWait(MessagePump& pump, uint32_t ms) {
    const uint32_t step = 50;
    uint32_t start = pump.tickCount();
    for (;;) {
        while (pump.messageWaiting()) {
            if (!pump.pumpMessage()) {
                pump.postQuit();
                return;
            }
        }
        uint32_t now = pump.tickCount();
        pump.sleep(step);
        if (static_cast<uint32_t>(now - start) >= ms) return;
    }
}
