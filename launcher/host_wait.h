#pragma once
// Start-up's wait for a running host to close its main window.

// Up to ten waits of 1000 ms, each after finding the window still there; stops as soon as it is
// gone. After the tenth wait start-up goes on whether or not the window is gone.
template <typename WindowExists, typename Wait>
void waitForHostWindowToClose(WindowExists windowExists, Wait wait) {
    for (int i = 0; i < 10; ++i) {
        if (!windowExists()) return;
        wait(1000u);
    }
}
