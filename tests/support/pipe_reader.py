"""A reader of a named pipe for the text out's tests: opens it without waiting for a writer, makes
READY once it has, and writes what came to stdout once the writer has gone.
  read PIPE READY   reads as the records come
  stall PIPE READY  shrinks the pipe to one page and reads nothing until the writer has gone"""
import fcntl
import os
import select
import sys

F_SETPIPE_SZ = 1031
mode, path, ready = sys.argv[1:4]
fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
if mode == "stall":
    fcntl.fcntl(fd, F_SETPIPE_SZ, 4096)
open(ready, "w").close()
poll = select.poll()
poll.register(fd, select.POLLIN)
got = b""
while True:
    # a pipe no writer has opened yet tells nothing; a writer that has gone tells a hang-up
    events = poll.poll(60000)
    if not events:
        sys.exit("pipe_reader: no writer came and went within a minute")
    if mode == "stall" and not events[0][1] & select.POLLHUP:
        poll.poll(100)
        continue
    block = os.read(fd, 65536)
    if not block:
        break
    got += block
sys.stdout.buffer.write(got)
