#!/usr/bin/env python3
"""A language-server client driving `spellcheck lsp` over its standard streams.

Run: lsp_client_test.py TOOL

Each check starts the server with a throw-away HOME, XDG_DATA_HOME and custom
dictionary; the main dictionary is the tool's default (the bundled one).
Prints a line per check and 'N passed, N failed'; exits 1 when one failed.
"""
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import traceback

TOOL = None
TIMEOUT = 20


class Client:
    def __init__(self, scratch, init_options=None, encodings=None, initialize=True):
        self.scratch = scratch
        env = dict(os.environ)
        env.update(HOME=scratch, XDG_DATA_HOME=os.path.join(scratch, "data"))
        env.pop("SPELLCHECK_CUSTOM", None)
        self.stderr = open(os.path.join(scratch, "stderr.txt"), "wb")
        self.process = subprocess.Popen([TOOL, "lsp"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.stderr,
                                        env=env, cwd=scratch)
        self.messages = queue.Queue()
        self.pending = []  # read, not yet taken
        self.next_id = 0
        threading.Thread(target=self._read, daemon=True).start()
        if initialize:
            options = {"spellcheck": {"dictionaries": {
                "custom": os.path.join(scratch, "cust.dic")}}}
            options["spellcheck"].update(init_options or {})
            capabilities = {}
            if encodings:
                capabilities["general"] = {"positionEncodings": encodings}
            self.result = self.request("initialize", {
                "processId": None, "rootUri": "file://" + scratch,
                "capabilities": capabilities, "initializationOptions": options})["result"]
            self.notify("initialized", {})

    def _read(self):
        stream = self.process.stdout
        while True:
            length = None
            while True:
                line = stream.readline()
                if not line:
                    self.messages.put(None)
                    return
                line = line.strip()
                if not line:
                    break
                name, _, value = line.partition(b":")
                if name.lower() == b"content-length":
                    length = int(value)
            body = stream.read(length)
            self.messages.put(json.loads(body))

    def send_raw(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def send(self, message):
        body = json.dumps(message).encode()
        self.send_raw(b"Content-Length: %d\r\n\r\n" % len(body) + body)

    def notify(self, method, params):
        self.send({"jsonrpc": "2.0", "method": method, "params": params})

    def take(self, predicate, timeout=TIMEOUT):
        """The first message read that satisfies predicate."""
        for message in self.pending:
            if predicate(message):
                self.pending.remove(message)
                return message
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("no message came in time")
            try:
                message = self.messages.get(timeout=left)
            except queue.Empty:
                raise AssertionError("no message came in time")
            if message is None:
                raise AssertionError("the server's output ended")
            if predicate(message):
                return message
            self.pending.append(message)

    def request(self, method, params):
        self.next_id += 1
        ident = self.next_id
        self.send({"jsonrpc": "2.0", "id": ident, "method": method, "params": params})
        return self.take(lambda m: m.get("id") == ident and "method" not in m)

    def diagnostics(self, uri, version=None):
        def wanted(m):
            return (m.get("method") == "textDocument/publishDiagnostics"
                    and m["params"]["uri"] == uri
                    and (version is None or m["params"].get("version") == version))
        return self.take(wanted)["params"]["diagnostics"]

    def settle(self, uri):
        """The last diagnostics published for uri once the server has handled
        all that was sent: a request it does not know answers after them."""
        self.request("spellcheck/barrier", {})
        published = [m for m in self.pending if m.get("method") ==
                     "textDocument/publishDiagnostics" and m["params"]["uri"] == uri]
        assert published, "no diagnostics for " + uri
        for message in published:
            self.pending.remove(message)
        return published[-1]["params"]["diagnostics"]

    def open(self, uri, text, language="plaintext", version=1):
        self.notify("textDocument/didOpen", {"textDocument": {
            "uri": uri, "languageId": language, "version": version, "text": text}})
        return self.diagnostics(uri, version)

    def open_suggested(self, uri, text, language="plaintext"):
        """The diagnostics of a new document with their suggestions: the
        first ones may come before the server can suggest, then again."""
        diagnostics = self.open(uri, text, language)
        if all("suggestions" in d["data"] for d in diagnostics):
            return diagnostics
        return self.diagnostics(uri, 1)

    def change(self, uri, version, changes):
        self.notify("textDocument/didChange", {
            "textDocument": {"uri": uri, "version": version}, "contentChanges": changes})
        return self.diagnostics(uri, version)

    def finish(self):
        """shutdown and exit; the exit status."""
        if self.process.poll() is None:
            try:
                self.request("shutdown", None)
                self.notify("exit", None)
            except (AssertionError, BrokenPipeError):
                pass
        return self.wait()

    def wait(self):
        try:
            status = self.process.wait(timeout=TIMEOUT)
        finally:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait()
            self.stderr.close()
        return status


def by_word(diagnostics):
    return {d["data"]["word"]: d for d in diagnostics}


def at(diagnostic):
    r = diagnostic["range"]
    return (r["start"]["line"], r["start"]["character"], r["end"]["line"], r["end"]["character"])


def edit(line, start, end_line, end, text):
    return {"range": {"start": {"line": line, "character": start},
                      "end": {"line": end_line, "character": end}}, "text": text}


EMOJI_LINE = "Zoë says 😀 wrold\n"  # é: 1 UTF-16 unit, 2 bytes; 😀: 2 units, 4 bytes


def check_utf16_positions(scratch):
    client = Client(scratch)
    assert client.result["capabilities"]["positionEncoding"] == "utf-16"
    assert client.result["capabilities"]["textDocumentSync"]["change"] == 2
    uri = "file://" + scratch + "/a.txt"
    words = by_word(client.open_suggested(uri, "first line\n" + EMOJI_LINE))
    assert at(words["wrold"]) == (1, 12, 1, 17), words
    d = words["wrold"]
    assert d["source"] == "spellcheck" and d["message"] == "Unknown word 'wrold'", d
    assert d["severity"] == 3 and d["data"]["suggestions"][0] == "world", d
    # A ranged edit in UTF-16 columns: after the emoji, before the word.
    words = by_word(client.change(uri, 2, [edit(1, 12, 1, 12, "qiuck ")]))
    assert at(words["qiuck"]) == (1, 12, 1, 17) and at(words["wrold"]) == (1, 18, 1, 23), words
    assert client.finish() == 0


def check_utf8_positions(scratch):
    client = Client(scratch, encodings=["utf-8", "utf-16"])
    assert client.result["capabilities"]["positionEncoding"] == "utf-8"
    uri = "file://" + scratch + "/a.txt"
    words = by_word(client.open(uri, EMOJI_LINE))
    assert at(words["wrold"]) == (0, 15, 0, 20), words
    words = by_word(client.change(uri, 2, [edit(0, 15, 0, 15, "qiuck ")]))
    assert at(words["qiuck"]) == (0, 15, 0, 20) and at(words["wrold"]) == (0, 21, 0, 26), words
    assert client.finish() == 0


def check_incremental_edits(scratch):
    client = Client(scratch)
    uri = "file://" + scratch + "/b.txt"
    text = "".join("Line %d is spelt correctly.\n" % i for i in range(50))
    assert client.open(uri, text) == []
    # Typos on two lines, in one change each, then a line break inside one.
    client.change(uri, 2, [edit(10, 0, 10, 4, "Lnie")])
    words = by_word(client.change(uri, 3, [edit(20, 11, 20, 16, "speld")]))
    assert at(words["Lnie"]) == (10, 0, 10, 4) and at(words["speld"]) == (20, 11, 20, 16), words
    words = by_word(client.change(uri, 4, [edit(0, 0, 0, 0, "new\nlines\n")]))
    assert at(words["Lnie"]) == (12, 0, 12, 4) and at(words["speld"]) == (22, 11, 22, 16), words
    # Several changes at once; the last removes lines across the first typo.
    words = by_word(client.change(uri, 5, [edit(22, 11, 22, 16, "spelt"),
                                           edit(11, 0, 13, 0, "")]))
    assert list(words) == [], words
    # A whole-text change.
    words = by_word(client.change(uri, 6, [{"text": "jumsp\n"}]))
    assert at(words["jumsp"]) == (0, 0, 0, 5), words
    # Markdown: a fence opened above a word takes it out, closing it brings it back.
    md = "file://" + scratch + "/c.md"
    words = by_word(client.open(md, "# Title\n\nSome wrold here.\n\nEnd.\n", "markdown"))
    assert at(words["wrold"]) == (2, 5, 2, 10), words
    assert client.change(md, 2, [edit(1, 0, 1, 0, "```")]) == []
    words = by_word(client.change(md, 3, [edit(1, 0, 1, 3, "")]))
    assert at(words["wrold"]) == (2, 5, 2, 10), words
    # Closing a document clears its diagnostics.
    client.notify("textDocument/didClose", {"textDocument": {"uri": md}})
    assert client.settle(md) == []
    assert client.finish() == 0


def check_filters_from_language(scratch):
    client = Client(scratch)
    # A name used, not defined, is no prose (a definition's name would be checked).
    source = "// A commment here.\nwrold(1);\n"
    words = by_word(client.open("file:///tmp/x.c", source, "c"))
    assert list(words) == ["commment"], words
    words = by_word(client.open("file:///tmp/x.txt", source, "plaintext"))
    assert "wrold" in words and "commment" in words, words
    html = "<p class=\"wrold\">A paragraf</p>\n"
    assert list(by_word(client.open("file:///tmp/x.html", html, "html"))) == ["paragraf"]
    assert client.finish() == 0


def check_malformed_input(scratch):
    client = Client(scratch)
    client.send_raw(b"Content-Length: 9\r\n\r\n{not json")
    error = client.take(lambda m: "error" in m)
    assert error["id"] is None and error["error"]["code"] == -32700, error
    client.send_raw(b"Content-Length: abc\r\n\r\n")
    error = client.take(lambda m: "error" in m)
    assert error["id"] is None and error["error"]["code"] == -32700, error
    client.send_raw(b"Content-Length: 4\r\n\r\n[1]\n")
    assert client.take(lambda m: "error" in m)["error"]["code"] == -32600
    # A message larger than the limit is skipped whole.
    size = 300 << 20
    client.send_raw(b"Content-Length: %d\r\n\r\n" % size)
    chunk = b" " * (1 << 20)
    for _ in range(size >> 20):
        client.process.stdin.write(chunk)
    client.process.stdin.flush()
    assert client.take(lambda m: "error" in m)["error"]["code"] == -32600
    # Unknown requests fail, unknown notifications are dropped.
    assert client.request("spellcheck/nothing", {})["error"]["code"] == -32601
    client.notify("spellcheck/nothing", {})
    assert client.request("textDocument/codeAction", {"range": 1})["error"]["code"] == -32602
    client.notify("textDocument/didOpen", {"textDocument": 7})
    client.notify("textDocument/didChange", {"textDocument": {"uri": "file:///none"},
                                             "contentChanges": []})
    # Still serving, and nothing answered the notifications.
    uri = "file:///tmp/d.txt"
    assert list(by_word(client.open(uri, "wrold"))) == ["wrold"]
    assert client.pending == [], client.pending
    assert client.finish() == 0


def check_lifecycle(scratch):
    client = Client(scratch, initialize=False)
    assert client.request("textDocument/codeAction", {})["error"]["code"] == -32002
    client.notify("exit", None)
    assert client.wait() == 1
    client = Client(scratch)
    assert client.request("initialize", {"capabilities": {}})["error"]["code"] == -32600
    assert client.request("shutdown", None)["result"] is None
    assert client.request("textDocument/codeAction", {})["error"]["code"] == -32600
    client.notify("exit", None)
    assert client.wait() == 0
    client = Client(scratch)
    client.process.stdin.close()
    assert client.wait() == 1


def check_code_actions_and_commands(scratch):
    project = os.path.join(scratch, "project")
    os.makedirs(os.path.join(project, "docs"))
    client = Client(scratch, init_options={"severity": "warning", "maxSuggestions": 4})
    uri = "file://" + project + "/docs/e.txt"
    words = by_word(client.open_suggested(uri, "The wrold is qiuck and jumsp.\n"))
    assert sorted(words) == ["jumsp", "qiuck", "wrold"], words
    assert words["wrold"]["severity"] == 2 and len(words["wrold"]["data"]["suggestions"]) == 4
    d = words["wrold"]
    actions = client.request("textDocument/codeAction", {
        "textDocument": {"uri": uri}, "range": d["range"],
        "context": {"diagnostics": [d]}})["result"]
    titles = [a["title"] for a in actions]
    assert titles[0] == "Replace with 'world'" and len(titles) == 6, titles
    assert titles[3:] == ["Add 'wrold' to the dictionary", "Add 'wrold' to the project word list",
                          "Ignore 'wrold' in this document"], titles
    assert actions[0]["edit"]["changes"][uri][0] == {"range": d["range"], "newText": "world"}
    # Without the diagnostic the range finds the word itself.
    alone = client.request("textDocument/codeAction", {
        "textDocument": {"uri": uri}, "range": words["qiuck"]["range"],
        "context": {"diagnostics": []}})["result"]
    assert alone[0]["title"] == "Replace with 'quick'", alone
    # Add to the dictionary: the custom one is written, the word goes away.
    command = actions[3]["command"]
    assert client.request("workspace/executeCommand", {
        "command": command["command"], "arguments": command["arguments"]})["result"] is None
    assert sorted(by_word(client.settle(uri))) == ["jumsp", "qiuck"]
    assert os.path.getsize(os.path.join(scratch, "cust.dic")) > 0
    # To the project list: made at the workspace root.
    client.request("workspace/executeCommand", {
        "command": "spellcheck.addToProject", "arguments": ["qiuck", uri]})
    assert list(by_word(client.settle(uri))) == ["jumsp"]
    with open(os.path.join(scratch, ".spellcheck-words.txt")) as words_file:
        assert words_file.read() == "qiuck\n"
    client.request("workspace/executeCommand", {
        "command": "spellcheck.ignoreInDocument", "arguments": ["jumsp", uri]})
    assert client.settle(uri) == []
    bad = client.request("workspace/executeCommand", {"command": "spellcheck.addToProject",
                                                      "arguments": [3]})
    assert bad["error"]["code"] == -32602, bad
    # Settings change: hints, and a second document sees the added word.
    client.notify("workspace/didChangeConfiguration",
                  {"settings": {"spellcheck": {"severity": "hint"}}})
    assert client.settle(uri) == []
    other = "file://" + scratch + "/f.txt"
    words = by_word(client.open_suggested(other, "wrold speling"))
    assert list(words) == ["speling"] and words["speling"]["severity"] == 4, words
    assert client.finish() == 0


def check_large_document(scratch):
    client = Client(scratch)
    line = "The quick brown fox jumps over the lazy dog near the river bank today.\n"
    text = line * ((10 << 20) // len(line)) + "wrold\n"
    uri = "file:///tmp/big.txt"
    started = time.monotonic()
    words = by_word(client.open(uri, text))
    lines = text.count("\n")
    assert at(words["wrold"]) == (lines - 1, 0, lines - 1, 5), words
    words = by_word(client.change(uri, 2, [edit(5, 4, 5, 9, "qiuck")]))
    assert sorted(words) == ["qiuck", "wrold"], words
    print("  10 MB: %.2f s to the first diagnostics" % (time.monotonic() - started))
    assert client.finish() == 0


CHECKS = [check_utf16_positions, check_utf8_positions, check_incremental_edits,
          check_filters_from_language, check_malformed_input, check_lifecycle,
          check_code_actions_and_commands, check_large_document]


def main():
    global TOOL
    TOOL = os.path.abspath(sys.argv[1])
    passed = failed = 0
    for check in CHECKS:
        scratch = tempfile.mkdtemp(prefix="spellcheck-lsp-")
        try:
            check(scratch)
            passed += 1
            print("PASS " + check.__name__)
        except Exception:  # every check runs, each failure is told
            failed += 1
            print("FAIL " + check.__name__)
            traceback.print_exc(file=sys.stdout)
            stderr = os.path.join(scratch, "stderr.txt")
            if os.path.exists(stderr):
                with open(stderr, errors="replace") as err:
                    print("  server's standard error:\n" + err.read()[-2000:])
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        sys.stdout.flush()
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
