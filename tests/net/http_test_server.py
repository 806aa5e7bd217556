"""Loopback HTTP server for the network tests: canned bodies and failures.

Usage: http_test_server.py COMMAND... runs COMMAND beside the server on 127.0.0.1 and exits
with its status. COMMAND finds in its environment the server's port in
TARVENIX_TEST_HTTP_PORT, a loopback port that was free a moment ago and has nothing
listening on it in TARVENIX_TEST_CLOSED_PORT, and in TARVENIX_TEST_STALLED_PORT one whose
queue of connections is full, so that a connect to it never completes. The first path
segment picks the answer; the rest of the path is ignored, so a test can put any path
(such as resources/all-bad-calls.json) after it:

  /bytes/N/...        200, N bytes of the pattern i % 251, Content-Length, Last-Modified
  /status/CODE/...    that status with a small HTML page
  /html/...           200 with a captive portal's HTML page
  /redirect/REST      302 to /REST
  /program/SIG/...    200, the file named by TARVENIX_TEST_PROGRAM_FILE with a marker
                      appended (a newer build), Last-Modified in 2100; at .../NAME.sig its
                      signature as SIG picks: "good" (by the key in TARVENIX_TEST_SIGNING_KEY),
                      "unsigned" (404), "random" (random bytes), "foreign" (by another key),
                      "truncated" (good, but the program is cut short), "page" (a good
                      signature of an HTML page served in its place)
  /resources/...      200 with the edition's sample bad-call list (all-bad-calls.json in
                      the folder TARVENIX_SAMPLES_DIR names)
  /cty/AGE/...        200, a country file of 300 one-line entities, its version AGE days old
  /cutcty/AGE/...     the same, cut off in the middle of a line
  anything else       404

Hostile answers, each bounded in time and size:
  /truncated/...      200 announcing 10000 bytes, closing after 4000
  /trickle/N/...      200 announcing N bytes (at most 60), sent one a second
  /loop/...           302 to the very same path, for ever
  /stall/N/...        200 announcing N bytes, 10 of them sent, then silence for 60 s
  /silent/...         no answer at all for 60 s
  /unannounced/N/...  200, N bytes (at most 16 MiB) without Content-Length, ended by closing
"""
import datetime
import http.server
import os
import pathlib
import socket
import subprocess
import sys
import tempfile
import threading
import time
import traceback

DATED = [("Last-Modified", "Tue, 01 Oct 2024 12:00:00 GMT")]
HTML_PAGE = b"<!DOCTYPE html><html><body><p>Please sign in to use this network.</p></body></html>"
NEW_BUILD = b"\0TARVENIX NEW BUILD\0"
SCRATCH = tempfile.TemporaryDirectory()  # removed when the server ends


def foreign_key():
    """A key other than the program's, made on first use."""
    key = SCRATCH.name + "/foreign-key.pem"
    if not os.path.exists(key):
        subprocess.run(["openssl", "genpkey", "-algorithm", "RSA", "-pkeyopt",
                        "rsa_keygen_bits:3072", "-out", key], capture_output=True, check=True)
    return key


def program_answer(kind, signature_wanted):
    """The body of /program/KIND/...: the newer build, or its signature."""
    program = pathlib.Path(os.environ["TARVENIX_TEST_PROGRAM_FILE"]).read_bytes() + NEW_BUILD
    signed = HTML_PAGE if kind == "page" else program
    if not signature_wanted:
        return program[:len(program) // 2] if kind == "truncated" else signed
    if kind == "random":
        return os.urandom(384)
    key = foreign_key() if kind == "foreign" else os.environ["TARVENIX_TEST_SIGNING_KEY"]
    return subprocess.run(["openssl", "dgst", "-sha256", "-sign", key], input=signed,
                          capture_output=True, check=True).stdout


def pattern(size):
    return bytes(i % 251 for i in range(size))


def country_file(age):
    day = datetime.datetime.now(datetime.timezone.utc).date() - datetime.timedelta(days=age)
    return "".join(f"Q{i}X,Entity {i},{i},EU,14,28,50.0,-10.0,-1.0,Q{i}X"
                   f"{day.strftime(' =VER%Y%m%d') if i == 1 else ''};\n" for i in range(1, 301)).encode()


class Handler(http.server.BaseHTTPRequestHandler):
    log_message = lambda *args: None  # noqa: E731

    def answer(self, status, body=b"", headers=(), length=None):
        self.send_response(status)
        if length != "none":
            self.send_header("Content-Length", str(len(body) if length is None else length))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        kind, _, rest = self.path.lstrip("/").partition("/")
        argument = rest.partition("/")[0]
        size = int(argument) if argument.isdigit() else 0
        if kind == "bytes":
            self.answer(200, pattern(size), DATED)
        elif kind == "status":
            self.answer(size, b"<html><body><h1>Error %d</h1></body></html>" % size)
        elif kind == "html":
            self.answer(200, HTML_PAGE)
        elif kind == "program" and argument == "unsigned" and self.path.endswith(".sig"):
            self.answer(404, b"<html><body>Not Found</body></html>")
        elif kind == "program":
            self.answer(200, program_answer(argument, self.path.endswith(".sig")),
                        [("Last-Modified", "Fri, 01 Jan 2100 00:00:00 GMT")])
        elif kind == "resources":
            samples = pathlib.Path(os.environ["TARVENIX_SAMPLES_DIR"])
            self.answer(200, (samples / "all-bad-calls.json").read_bytes())
        elif kind in ("cty", "cutcty"):
            text = country_file(size)
            self.answer(200, text if kind == "cty" else text[:text.rindex(b";", 0, len(text) // 2)])
        elif kind in ("redirect", "loop"):
            location = "/" + rest if kind == "redirect" else self.path
            self.answer(302, headers=[("Location", location)])
        elif kind == "silent":
            time.sleep(60)
        # The server speaks HTTP/1.0: each connection ends with its answer.
        elif kind == "truncated":
            self.answer(200, pattern(4000), length=10000)
        elif kind == "trickle":
            self.answer(200, length=size)
            for byte in pattern(min(size, 60)):
                self.wfile.write(bytes([byte]))
                time.sleep(1)
        elif kind == "stall":
            self.answer(200, pattern(10), length=size)
            time.sleep(60)
        elif kind == "unannounced":
            self.answer(200, pattern(min(size, 16 << 20)), length="none")
        else:
            self.answer(404, b"<html><body>Not Found</body></html>")


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    # A client that gives up on a hostile answer, as it should, is no error of the server.
    server.handle_error = (lambda *args: isinstance(sys.exc_info()[1], OSError)
                           or traceback.print_exc())
    threading.Thread(target=server.serve_forever, daemon=True).start()
    with socket.create_server(("127.0.0.1", 0)) as probe:
        closed_port = probe.getsockname()[1]
    # A listener that accepts nothing, its queue filled by connections of its own.
    stalled = socket.create_server(("127.0.0.1", 0), backlog=0)
    fillers = [socket.socket() for _ in range(3)]
    for filler in fillers:
        filler.setblocking(False)
        filler.connect_ex(stalled.getsockname())
    os.environ.update(TARVENIX_TEST_HTTP_PORT=str(server.server_address[1]),
                      TARVENIX_TEST_CLOSED_PORT=str(closed_port),
                      TARVENIX_TEST_STALLED_PORT=str(stalled.getsockname()[1]))
    status = subprocess.call(sys.argv[1:])
    if status != 0:  # a program that dies without a word (as under Wine) is named here
        print(f"http_test_server.py: {sys.argv[1:]} exited with {status}", file=sys.stderr)
    sys.exit(status)
