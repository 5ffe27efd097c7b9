#pragma once
// The timing rule of the launcher's pumping wait, apart from the calls that carry it out.
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
void runPumpingWait(MessagePump& pump, uint32_t ms);
