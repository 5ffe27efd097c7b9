#pragma once
// The launcher's pumping wait: a wait that keeps dispatching the thread's messages, and start-up's
// wait for a running host, made of such waits. The timing rules here are Windows-free;
// pumping_wait.cpp carries them out on the thread's message queue.
#include <cstdint>

// The message queue and clock the wait works on.
class MessagePump {
public:
    virtual uint32_t tickCount() = 0;   // milliseconds, wrapping at 2^32
    virtual bool messageWaiting() = 0;  // a message is queued (it is not taken)
    virtual bool pumpMessage() = 0;     // takes and dispatches one; false when it was WM_QUIT
    virtual void postQuit() = 0;        // posts a quit message with exit code 0
    virtual void sleep(uint32_t ms) = 0;

protected:
    ~MessagePump() = default;
};

// Dispatches messages until ms milliseconds of ticks have passed, sleeping 50 ms between passes.
// The tick is read before the sleep and tested after it, so the wait lasts at least ms + 50.
// A quit message ends the wait at once and is posted again, so the caller's loop sees it too.
inline void runPumpingWait(MessagePump& pump, uint32_t ms) {
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

// Start-up's wait for a running host to close its main window: up to ten waits of 1000 ms, each
// after finding the window still there; stops as soon as it is gone. After the tenth wait
// start-up goes on whether or not the window is gone.
template <typename WindowExists, typename Wait>
void waitForHostWindowToClose(WindowExists windowExists, Wait wait) {
    for (int i = 0; i < 10; ++i) {
        if (!windowExists()) return;
        wait(1000u);
    }
}

// On the thread's own queue (pumping_wait.cpp):

// Takes one message with GetMessageW and dispatches it; false when it was WM_QUIT. One step of
// the launcher's message loop, and what the pumping wait dispatches with.
bool pumpMessage();

// runPumpingWait on this thread's queue, GetTickCount and Sleep.
void pumpingWait(uint32_t ms);
