#!/usr/bin/python3
"""The HTTP and FTP servers that the download tests and the benchmark talk to.

Both listen on free ports of 127.0.0.1 and serve the folder --root. The ports go to
--ports-file ("http <port>" and "ftp <port>" lines, written whole). The servers stop when
the file --ports-file + ".stop" appears, when the process --watch-pid ends (the test
program, so that a crashed or killed test leaves nothing running), or after --lifetime
seconds at the latest; the ports file is removed on the way out.

HTTP paths with a meaning of their own:
  /status/<code>/<name>  answers <code> with a short body
  /errorpage/<name>      answers 200 with an error page that says 404
  /cut/<name>            announces the whole file, sends half of it and closes
Every HTTP request path is appended, one a line, to --ports-file + ".requests".
FTP: anonymous, and the user "tester" with the password "secret"; both read only.
"""
import argparse
import http.server
import logging
import os
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def make_http_handler(root, requests_file):
    requests_lock = threading.Lock()

    class Handler(http.server.SimpleHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=root, **kwargs)

        def log_message(self, format, *args):
            pass

        def send_text(self, code, text):
            body = text.encode()
            self.send_response(code)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            with requests_lock, open(requests_file, "a") as log:
                log.write(self.path + "\n")
            parts = self.path.split("/")
            if len(parts) >= 3 and parts[1] == "status":
                self.send_text(int(parts[2]), "<html>server answer %s</html>" % parts[2])
            elif len(parts) >= 3 and parts[1] == "errorpage":
                self.send_text(200, "<html>404 Not Found</html>")
            elif len(parts) >= 3 and parts[1] == "cut":
                with open(os.path.join(root, parts[2]), "rb") as f:
                    data = f.read()
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data[: len(data) // 2])
                self.wfile.flush()
                self.close_connection = True
            else:
                super().do_GET()

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--ports-file", required=True)
    parser.add_argument("--watch-pid", type=int, default=0)
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()
    quiet = logging.getLogger("pyftpdlib")
    quiet.addHandler(logging.NullHandler())
    quiet.setLevel(logging.CRITICAL)

    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_http_handler(args.root, args.ports_file + ".requests"))
    httpd.daemon_threads = True
    threading.Thread(target=httpd.serve_forever, daemon=True).start()

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(args.root)
    authorizer.add_user("tester", "secret", args.root, perm="elr")
    handler = type("Handler", (FTPHandler,), {"authorizer": authorizer, "banner": "test server ready", "auth_failed_timeout": 0.1})
    ftpd = FTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=ftpd.serve_forever, kwargs={"handle_exit": False}, daemon=True).start()

    stop_file = args.ports_file + ".stop"
    if os.path.exists(stop_file):
        os.remove(stop_file)
    temporary = args.ports_file + ".new"
    with open(temporary, "w") as f:
        f.write("http %d\nftp %d\n" % (httpd.server_address[1], ftpd.address[1]))
    os.replace(temporary, args.ports_file)

    end = time.monotonic() + args.lifetime
    try:
        while time.monotonic() < end and not os.path.exists(stop_file):
            if args.watch_pid and not os.path.exists("/proc/%d" % args.watch_pid):
                break
            time.sleep(0.2)
    finally:
        try:
            os.remove(args.ports_file)
        except OSError:
            pass
        os._exit(0)


if __name__ == "__main__":
    main()
