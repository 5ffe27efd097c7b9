#!/usr/bin/env python3
"""Shows hostsim.exe's record as it comes, and what a host would draw from the relayed lines: a
progress bar with percent, size, speed and time left. On a terminal the bar is redrawn in place
below the record; otherwise each new reading is a plain line."""
import re
import shutil
import sys

PROGRESS = re.compile(
    r'\[download\]\s+(?P<percent>[\d.]+)% of\s+~?\s*(?P<size>[\d.]+[KMGT]?i?B)'
    r'(?:\s+in\s+(?P<took>[\d:]+))?'
    r'(?:\s+at\s+(?P<speed>[\d.]+[KMGT]?i?B/s|Unknown speed))?(?:\s+ETA\s+(?P<eta>[\d:]+|Unknown))?')


def bar(match, width):
    percent = float(match["percent"])
    speed = match["speed"] or "?"
    if match["took"]:
        text = f' {percent:5.1f}% of {match["size"]} in {match["took"]} at {speed}'
    else:
        text = f' {percent:5.1f}% of {match["size"]} at {speed}, {match["eta"] or "?"} left'
    cells = max(10, min(30, width - len(text) - 3))
    filled = int(cells * min(percent, 100.0) / 100.0)
    return "[" + "#" * filled + "-" * (cells - filled) + "]" + text


def main():
    live = sys.stdout.isatty()
    width = shutil.get_terminal_size((80, 24)).columns
    shown = ""
    for line in sys.stdin:
        line = line.rstrip("\n")
        # A line may hold several progress updates, each after a CR: the last one is the newest.
        matches = list(PROGRESS.finditer(line)) if '] line ' in line else []
        match = matches[-1] if matches else None
        if live:
            sys.stdout.write("\r\033[K" + line + "\n")
            if match:
                shown = bar(match, width)
            if shown:
                sys.stdout.write(shown)
        else:
            print(line)
            if match:
                print("progress " + bar(match, 80))
        sys.stdout.flush()
    if live and shown:
        sys.stdout.write("\n")


if __name__ == "__main__":
    main()
