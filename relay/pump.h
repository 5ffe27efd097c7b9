#pragma once
// The output pump: the downloader's output to the console, the list file and the host window.
struct RunRecord;

// Runs on the worker until the output ends or the host writes the stop marker.
void runPump(RunRecord& run);
