"""A stand-in for the speech service in tests: listens on the Unix socket SOCKET, makes READY, answers
one client as speech-dispatcher answers it (reading a line at a time, as the service does) and logs
each command, a message as one line "SPEAK text" with its line breaks written \\n. Never speaks, so
no message ever ends by itself. Ends when the client goes."""
import os
import socket
import sys

path, ready, log_path = sys.argv[1:4]
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
server.listen(1)
server.settimeout(60)
open(ready, "w").close()
client, _ = server.accept()
lines = client.makefile("rb")
log = open(log_path, "w", encoding="utf-8")
message_id = 0


def answer(text):
    try:
        client.sendall(text.encode() + b"\r\n")
    except BrokenPipeError:  # a client may leave as soon as it has said QUIT
        pass


for raw in lines:
    line = raw.decode("utf-8").rstrip("\r\n")
    if line == "SPEAK":
        answer("230 OK RECEIVING DATA")
        text = []
        for data in lines:
            data = data.decode("utf-8").rstrip("\r\n")
            if data == ".":
                break
            text.append(data[1:] if data.startswith("..") else data)
        message_id += 1
        log.write("SPEAK " + "\\n".join(text) + "\n")
        answer("225-%d\r\n225 OK MESSAGE QUEUED" % message_id)
    else:
        log.write(line + "\n")
        if line == "QUIT":
            answer("231 HAPPY HACKING")
            break
        answer("210 OK CANCELED" if line.startswith("CANCEL") else "208 OK SET")
    log.flush()
client.close()
