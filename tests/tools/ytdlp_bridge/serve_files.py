#!/usr/bin/env python3
"""Serves a folder over HTTP on 127.0.0.1 only, for the real downloader's tests and the demo.

    serve_files.py <folder> <port file> [seconds]

Takes a free port, writes it into <port file> (whole, through a rename), and serves until that
file is deleted or [seconds] (default 600) have passed, so that a test that dies leaves no server.
"""
import functools
import http.server
import os
import sys
import threading
import time


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    # Started from Wine, our streams are Wine's own, which may be a test runner's pipe.
    null = os.open(os.devnull, os.O_RDWR)
    for stream in (0, 1, 2):
        os.dup2(null, stream)
    folder, port_file = sys.argv[1], sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 600.0
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    deadline = time.monotonic() + seconds
    while os.path.exists(port_file) and time.monotonic() < deadline:
        time.sleep(0.2)
    server.shutdown()


if __name__ == "__main__":
    main()
