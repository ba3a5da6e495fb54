#!/usr/bin/env python3
"""A small HTTP server on a free loopback port for the update tests.

Usage: local_http_server.py ROOT

Serves the files of ROOT and appends every request (request line and headers, then
a blank line) to ROOT/requests.log. Once listening it writes its port to ROOT/port.
Beside a served file NAME, these files change the answer:
  NAME.status  a status code to answer with instead of 200 (the body is still NAME)
  NAME.cut     a byte count: announce the whole length, send that many bytes, then
               close the connection
  NAME.nolength  present: send the body without a Content-Length header
  NAME.slow    "BYTES MS": send the body BYTES at a time with MS milliseconds between
  NAME.stall   present: announce the whole length, send nothing and hold the
               connection open until the client goes or the server stops
Each request is answered on a thread of its own, so a slow answer holds up no other.
The server stops and removes ROOT when the file ROOT/stop appears, or after two
minutes without a request.
"""
import http.server
import os
import shutil
import socketserver
import sys
import time

ROOT = os.path.abspath(sys.argv[1])
IDLE_LIMIT_S = 120
last_request = time.monotonic()


def side_file(path, suffix):
    candidate = path + suffix
    return candidate if os.path.isfile(candidate) else None


def read_side_file(path):
    with open(path, encoding="ascii") as f:
        return f.read().strip()


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=ROOT, **kwargs)

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        global last_request
        last_request = time.monotonic()
        with open(os.path.join(ROOT, "requests.log"), "a", encoding="utf-8", newline="\n") as log:
            log.write(self.requestline + "\n" + str(self.headers).replace("\r\n", "\n").rstrip("\n") + "\n\n")
        path = self.translate_path(self.path)
        status = side_file(path, ".status")
        cut = side_file(path, ".cut")
        no_length = side_file(path, ".nolength")
        slow = side_file(path, ".slow")
        stall = side_file(path, ".stall")
        if not os.path.isfile(path) or not (status or cut or no_length or slow or stall):
            return super().do_GET()
        with open(path, "rb") as f:
            body = f.read()
        self.send_response(int(read_side_file(status)) if status else 200)
        self.send_header("Content-Type", "application/octet-stream")
        if not no_length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if cut:
            self.wfile.write(body[: int(read_side_file(cut))])
            self.wfile.flush()
            # The connection ends short of the announced length. An orderly end, not a
            # reset: a reset may throw away what the client has not read yet, and
            # Wine's WinINet reports both alike.
            self.close_connection = True
            return
        if stall:
            self.wfile.flush()
            while not stopping():
                time.sleep(0.1)
            return
        if slow:
            step, pause_ms = (int(v) for v in read_side_file(slow).split())
            try:
                for at in range(0, len(body), step):
                    self.wfile.write(body[at : at + step])
                    self.wfile.flush()
                    if stopping():
                        return
                    time.sleep(pause_ms / 1000)
            except OSError:
                pass  # the client gave up
            return
        self.wfile.write(body)


def stopping():
    return os.path.exists(os.path.join(ROOT, "stop"))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    server.timeout = 0.2
    port_file = os.path.join(ROOT, "port")
    with open(port_file + ".tmp", "w", encoding="ascii") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)

    while not stopping():
        server.handle_request()
        if time.monotonic() - last_request > IDLE_LIMIT_S:
            break
    server.server_close()
    shutil.rmtree(ROOT, ignore_errors=True)


if __name__ == "__main__":
    main()
