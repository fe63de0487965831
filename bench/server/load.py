#!/usr/bin/env python3
"""Load on one tarnwell-server: normal clients mixing put, get and ls while hostile requests
(envelopes with one element of 50,000 attributes) are in flight.

    bench/server/load.py build/bench/apps/tarnwell-server/tarnwell-server [SECONDS]

Prints the 50th and 99th percentile and the slowest of the normal requests, how many hostile
requests were answered, and how long SIGTERM took to stop the server.
"""
import http.client
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time
from xml.sax.saxutils import escape

NORMAL_CLIENTS = 8
HOSTILE_CLIENTS = 16
ENVELOPE = ('<?xml version="1.0" encoding="UTF-8"?><SOAP-ENV:Envelope '
            'xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/"><SOAP-ENV:Body>'
            '<method:sendRequest xmlns:method="urn:xmladmin-request">{}</method:sendRequest>'
            '</SOAP-ENV:Body></SOAP-ENV:Envelope>')


def envelope(request, content=None):
    parameters = '<ns1>' + escape(request) + '</ns1>'
    if content is not None:
        parameters += '<ns2>' + escape(content) + '</ns2>'
    return ENVELOPE.format(parameters).encode()


def post(port, body):
    connection = http.client.HTTPConnection('127.0.0.1', port, timeout=60)
    try:
        connection.request('POST', '/servlet/XMLSOAPRouter', body,
                           {'Content-Type': 'text/xml; charset="utf-8"',
                            'SOAPAction': '"urn:xmladmin-request#sendRequest"'})
        response = connection.getresponse()
        response.read()
        return response.status
    finally:
        connection.close()


def normal_client(port, number, stop, latencies, failures):
    login = 'username="ann" password="secret"'
    document = '<Document><D>' + ('client %d ' % number) * 2000 + '</D></Document>'
    step = 0
    while not stop.is_set():
        name = 'doc%d.xml' % number
        request = [
            (f'<saveFile dir="/" name="{name}" type="2" {login}/>', document),
            (f'<getContent dir="/" name="{name}" type="2" {login}/>', None),
            (f'<getFiles dir="/" {login}/>', None),
        ][step % 3]
        step += 1
        started = time.monotonic()
        try:
            status = post(port, envelope(*request))
        except (OSError, http.client.HTTPException) as error:
            status = error
        if stop.is_set():
            break
        latencies.append(time.monotonic() - started)
        if status != 200:
            failures.append(status)


def hostile_client(port, stop, answered):
    attributes = ''.join(' a%d=""' % i for i in range(50000))
    body = ENVELOPE.format('').replace('<SOAP-ENV:Body>', '<SOAP-ENV:Body' + attributes + '>')
    body = body.encode()
    while not stop.is_set():
        try:
            post(port, body)
            answered.append(1)
        except (OSError, http.client.HTTPException):
            pass


def main():
    program = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    with tempfile.TemporaryDirectory() as root:
        server = subprocess.Popen([program, '--root', root, '--users', '-'],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        server.stdin.write('ann:secret\n')
        server.stdin.close()
        port = int(server.stdout.readline().strip().split(':')[1])
        stop = threading.Event()
        latencies, failures, answered = [], [], []
        threads = [threading.Thread(target=hostile_client, args=(port, stop, answered))
                   for _ in range(HOSTILE_CLIENTS)]
        threads += [threading.Thread(target=normal_client,
                                     args=(port, n, stop, latencies, failures))
                    for n in range(NORMAL_CLIENTS)]
        for thread in threads:
            thread.start()
        time.sleep(seconds)
        stop.set()
        signalled = time.monotonic()
        server.send_signal(signal.SIGTERM)
        server.wait(timeout=60)
        stopped = time.monotonic() - signalled
        for thread in threads:
            thread.join()
    latencies.sort()
    def percentile(p):
        return latencies[min(len(latencies) - 1, int(len(latencies) * p))] * 1000
    print(f'normal requests: {len(latencies)}, failed: {len(failures)}')
    print(f'p50 {percentile(0.50):.1f} ms, p99 {percentile(0.99):.1f} ms, '
          f'max {latencies[-1] * 1000:.1f} ms')
    print(f'hostile requests answered: {len(answered)}')
    print(f'SIGTERM to exit: {stopped * 1000:.0f} ms')


if __name__ == '__main__':
    main()
