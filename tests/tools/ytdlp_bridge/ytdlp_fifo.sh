#!/bin/sh
# Runs the machine's yt-dlp with its standard output and error into a FIFO that the Windows bridge
# reads: Wine hands a Unix process none of the standard handles its Windows parent set up, nor its
# exit code, so that goes into <fifo>.status once yt-dlp has ended.
#   ytdlp_fifo.sh <fifo> [yt-dlp arguments...]
exec </dev/null >/dev/null 2>&1  # Wine's own streams, which may be a test runner's pipe
fifo=$1
shift
mkfifo -m 600 "$fifo" || exit 127
PYTHONIOENCODING=utf-8 yt-dlp "$@" >"$fifo" 2>&1
status=$?
rm -f "$fifo"
echo $status >"$fifo.tmp" && mv "$fifo.tmp" "$fifo.status"
