"""Loopback HTTP server for the network tests: canned bodies and failures.

Listens on 127.0.0.1 on a free port and prints "PORT CLOSED_PORT STALLED_PORT" on one line:
the second is a loopback port that was free a moment ago and has nothing listening on it,
the third one whose queue of connections is full, so that a connect to it never completes. The first
path segment picks the answer; the rest of the path is ignored, so a test can put any path
(such as resources/all-bad-calls.json) after it:

  /bytes/N/...        200, N bytes of the pattern i % 251, Content-Length, Last-Modified
  /status/CODE/...    that status with a small HTML page
  /html/...           200 with a captive portal's HTML page
  /truncated/...      200 announcing 10000 bytes, closing after 4000
  /json-object/...    200 with a bad-call list of two entries
  /redirect/REST      302 to /REST
  /pe-image/...       200, a small Windows executable image, Last-Modified
  /dated-status/CODE/ that status with Last-Modified and a small HTML page
  /last-modified/V/   200 with the percent-encoded V as its Last-Modified value
  /html-dated/...     200 with the captive portal's page and a Last-Modified in 2100
  /pe-dated/...       200, the small executable image (which does not run), Last-Modified
                      in 2100
  /program/...        200, the file named by TARVENIX_TEST_PROGRAM_FILE with a marker
                      appended (a newer build), Last-Modified in 2100
  /resources/...      200 with the bundled sample bad-call list

Hostile answers, each bounded in time and size:
  /trickle/N/...      200 announcing N bytes (at most 60), sent one a second
  /loop/...           302 to the very same path, for ever
  /stall/N/...        200 announcing N bytes, 10 of them sent, then silence for 60 s
  /silent/...         no answer at all for 60 s
  /unannounced/N/...  200, N bytes (at most 16 MiB) without Content-Length, ended by closing

Ends by itself after --lifetime seconds.
"""
import argparse
import http.server
import os
import socket
import struct
import threading
import time
import urllib.parse

HOSTILE_SECONDS = 60
HOSTILE_BYTES = 16 << 20
LAST_MODIFIED = "Tue, 01 Oct 2024 12:00:00 GMT"
FUTURE = "Fri, 01 Jan 2100 00:00:00 GMT"
NEW_BUILD_MARKER = b"\0TARVENIX NEW BUILD\0"
SAMPLE_BAD_CALLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "samples", "all-bad-calls.json")
HTML_PAGE = (b"<!DOCTYPE html><html><head><title>Sign in</title></head>"
             b"<body><p>Please sign in to use this network.</p></body></html>")
JSON_OBJECT = (b'{"entries": ['
               b'{"callsign": "K1ABC", "category": "B", "startOn": "2024-01-01",'
               b' "endOn": "2024-12-31", "notes": "busted"},'
               b'{"callsign": "W9XYZ", "category": "I", "startOn": "2024-03-01",'
               b' "endOn": "2024-03-31", "notes": ""}]}')


def pe_image():
    """An MZ header whose e_lfanew (at 0x3C) points at "PE\\0\\0" and a file header."""
    header = bytearray(0x40)
    header[0:2] = b"MZ"
    header[0x3C:0x40] = struct.pack("<I", 0x40)
    file_header = struct.pack("<HHIIIHH", 0x8664, 0, 0, 0, 0, 0, 0x22)
    return bytes(header) + b"PE\0\0" + file_header + pattern(200)


def pattern(size):
    return bytes(i % 251 for i in range(size))


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, status, body, content_type="application/octet-stream", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        parts = self.path.lstrip("/").split("/")
        kind = parts[0]
        argument = parts[1] if len(parts) > 1 else ""
        if kind == "bytes" and argument.isdigit():
            self.answer(200, pattern(int(argument)),
                        headers=[("Last-Modified", LAST_MODIFIED)])
        elif kind in ("status", "dated-status") and argument.isdigit():
            page = b"<html><body><h1>Error %s</h1></body></html>" % argument.encode()
            dated = [("Last-Modified", LAST_MODIFIED)] if kind == "dated-status" else []
            self.answer(int(argument), page, "text/html", headers=dated)
        elif kind == "html":
            self.answer(200, HTML_PAGE, "text/html")
        elif kind == "json-object":
            self.answer(200, JSON_OBJECT, "application/json")
        elif kind == "pe-image":
            self.answer(200, pe_image(), headers=[("Last-Modified", LAST_MODIFIED)])
        elif kind == "last-modified":
            self.answer(200, pattern(100),
                        headers=[("Last-Modified", urllib.parse.unquote(argument))])
        elif kind == "pe-dated":
            self.answer(200, pe_image(), headers=[("Last-Modified", FUTURE)])
        elif kind == "html-dated":
            self.answer(200, HTML_PAGE, "text/html", headers=[("Last-Modified", FUTURE)])
        elif kind == "program" and os.environ.get("TARVENIX_TEST_PROGRAM_FILE"):
            with open(os.environ["TARVENIX_TEST_PROGRAM_FILE"], "rb") as program:
                body = program.read() + NEW_BUILD_MARKER
            self.answer(200, body, headers=[("Last-Modified", FUTURE)])
        elif kind == "resources":
            with open(SAMPLE_BAD_CALLS, "rb") as bad_calls:
                self.answer(200, bad_calls.read(), "application/json")
        elif kind == "redirect":
            self.redirect("/" + "/".join(parts[1:]))
        elif kind == "truncated":
            self.hostile(kind, 10000)
        elif kind in ("trickle", "stall", "unannounced", "silent", "loop"):
            self.hostile(kind, int(argument) if argument.isdigit() else 0)
        else:
            self.answer(404, b"<html><body>Not Found</body></html>", "text/html")

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def hostile(self, kind, size):
        try:
            self.hostile_answer(kind, size)
        except OSError:  # the client gave up, as it should
            pass

    def hostile_answer(self, kind, size):
        if kind == "silent":
            time.sleep(HOSTILE_SECONDS)
            return
        if kind == "loop":
            self.redirect(self.path)
            return
        self.send_response(200)
        if kind != "unannounced":
            self.send_header("Content-Length", str(size))
        self.end_headers()
        self.close_connection = True
        if kind == "trickle":
            for byte in pattern(min(size, HOSTILE_SECONDS)):
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
                time.sleep(1)
        elif kind == "truncated":
            self.wfile.write(pattern(4000))
        elif kind == "stall":
            self.wfile.write(pattern(10))
            self.wfile.flush()
            time.sleep(HOSTILE_SECONDS)
        else:
            self.wfile.write(pattern(min(size, HOSTILE_BYTES)))


def closed_loopback_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def stalled_listener():
    """A listener that accepts nothing, its queue filled by connections of its own."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    fillers = []
    for _ in range(3):
        filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        filler.setblocking(False)
        filler.connect_ex(listener.getsockname())
        fillers.append(filler)
    return listener, fillers


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lifetime", type=float, default=300)
    lifetime = parser.parse_args().lifetime
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    stalled = stalled_listener()
    print(server.server_address[1], closed_loopback_port(), stalled[0].getsockname()[1],
          flush=True)
    threading.Timer(lifetime, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
