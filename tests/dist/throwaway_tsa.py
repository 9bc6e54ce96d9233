#!/usr/bin/env python3
"""A throwaway RFC 3161 time-stamp server on 127.0.0.1, for the download check.

Usage: throwaway_tsa.py CERT KEY FOLDER

Answers every POSTed time-stamp query with `openssl ts -reply`, signed with
CERT and KEY (a certificate for time stamping); keeps its configuration and
serial number in FOLDER. Prints the port it listens on, then serves until it
is ended.
"""
import http.server
import os
import subprocess
import sys
import tempfile

CONFIG = """[ tsa ]
default_tsa = throwaway
[ throwaway ]
serial = {folder}/serial
crypto_device = builtin
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    cert, key, folder = (os.path.abspath(arg) for arg in sys.argv[1:])
    config = os.path.join(folder, "tsa.cnf")
    with open(config, "w", encoding="ascii") as file:
        file.write(CONFIG.format(folder=folder))

    class TimeStamps(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
            with tempfile.TemporaryDirectory(dir=folder) as scratch:
                query_file = os.path.join(scratch, "query.tsq")
                reply_file = os.path.join(scratch, "reply.tsr")
                with open(query_file, "wb") as file:
                    file.write(query)
                done = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", query_file,
                                       "-signer", cert, "-inkey", key, "-out", reply_file],
                                      capture_output=True, check=False)
                if done.returncode != 0:
                    sys.stderr.write(done.stderr.decode(errors="replace"))
                    self.send_error(500)
                    return
                with open(reply_file, "rb") as file:
                    reply = file.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.send_header("Content-Length", str(len(reply)))
            self.end_headers()
            self.wfile.write(reply)

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
    print(server.server_address[1], flush=True)
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
