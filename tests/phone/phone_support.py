"""The real main window (phone_driver) on a copy of the demo data, its phone page switched on
through the user's configuration folder, and a small HTTP client that sends raw bytes."""
import os
import re
import shutil
import socket
import subprocess
import tempfile

SECRETS = ("Partner1Secret-0123456", "Partner2Secret_abcdefg")


def settings_path(config, folder):
    # The file the program reads for this data folder: its last part in plain letters and
    # the 64-bit FNV-1a hash of the whole path.
    h = 14695981039346656037
    for b in folder.encode():
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    name = "".join(chr(b) for b in os.path.basename(folder).encode()
                   if chr(b).isascii() and chr(b).isalnum())[:24] or "folder"
    return os.path.join(config, "pairlylog", "phone", f"{name}-{h:016x}.conf")


class Program:
    """phone_driver on its own copy of the demo folder; today is 2026/12/07, 9:00:00."""

    def __init__(self, driver, demo, date="2026/12/07", seconds=9 * 3600):
        self.root = tempfile.mkdtemp(prefix="phone_test_")
        self.folder = os.path.realpath(os.path.join(self.root, "data"))
        shutil.copytree(demo, self.folder)
        self.config = os.path.join(self.root, "config")
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        self.args = [driver, self.folder, date, str(seconds)]
        self.process = None

    def start(self, enabled=True):
        path = settings_path(self.config, self.folder)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(f"folder={self.folder}\nenabled={int(enabled)}\nport={self.port}\n"
                    f"tray=0\nsecret1={SECRETS[0]}\nsecret2={SECRETS[1]}\n")
        os.chmod(path, 0o600)
        env = dict(os.environ, XDG_CONFIG_HOME=self.config, QT_QPA_PLATFORM="offscreen")
        self.process = subprocess.Popen(self.args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, env=env)
        self.ready = self.read_until("ready")[-1]
        return self

    def read_until(self, word):
        lines = []
        for line in self.process.stdout:
            lines.append(line.rstrip("\n"))
            if line.startswith(word):
                return lines
        raise RuntimeError(f"the program ended before '{word}': {lines}")

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.read_until("done")[:-1]

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.stdin.close()
            self.process.wait(timeout=60)

    def url(self, slot):
        return f"http://127.0.0.1:{self.port}/{SECRETS[slot - 1]}"

    def files(self):
        return {n: open(os.path.join(self.folder, n), "rb").read()
                for n in sorted(os.listdir(self.folder))
                if os.path.isfile(os.path.join(self.folder, n))}

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def request(port, method, path, headers=(), body=b"", host=None, timeout=30):
    """(status, headers, body text) of one request sent as raw bytes; status 0 when the
    server closed the connection without an answer."""
    head = [f"{method} {path} HTTP/1.1", f"Host: {host or f'127.0.0.1:{port}'}",
            *headers, f"Content-Length: {len(body)}", "", ""]
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall("\r\n".join(head).encode() + body)
        data = b""
        try:
            while chunk := s.recv(65536):
                data += chunk
        except ConnectionResetError:
            pass
    match = re.match(rb"HTTP/1\.1 (\d+)", data)
    header_end = data.find(b"\r\n\r\n")
    return (int(match.group(1)) if match else 0, data[:header_end].decode("latin-1"),
            data[header_end + 4:].decode("utf-8", "replace"))


def token_of(page):
    return re.search(r'name="t" value="([0-9a-f]+)"', page).group(1)
