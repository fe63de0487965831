#!/usr/bin/env python3
"""An https server on a free loopback port, for the tests of the Windows build, whose own server
side has no TLS; Wine starts it as a program of this system.

loopback_tls_server.py CERT KEY REPLY_FILE PORT_FILE

Answers a POST with the bytes of REPLY_FILE (text/xml), writes its port to PORT_FILE once
listening, and ends after one connection (a handshake the client refuses counts) or 60 seconds,
whichever comes first. Its standard streams go to /dev/null at once: Wine does not hand
it the caller's pipes, and the test driver's own output must not wait for it."""

import http.server
import os
import ssl
import sys

devnull = os.open(os.devnull, os.O_RDWR)
for stream in (0, 1, 2):
    os.dup2(devnull, stream)

cert, key, reply_file, port_file = sys.argv[1:5]
with open(reply_file, "rb") as replied:
    reply = replied.read()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", "0")))
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
with open(port_file + ".new", "w") as port:
    port.write(str(server.server_address[1]))
os.replace(port_file + ".new", port_file)
server.timeout = 60
server.handle_request()
