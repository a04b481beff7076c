#!/usr/bin/env python3
"""Latency of `spellcheck lsp` as a client sees it.

Run: python3 bench/lsp_latency.py build/tools/spellcheck [--lines 10000] [--edits 300]

For a document of LINES lines (prose with an invented typo every 50 lines),
as plain text and as Markdown: the time from didOpen to the first
publishDiagnostics (the first document cold, then the median of more), and
from a didChange of one line to its publishDiagnostics (median and p99),
each edit putting a typo in or taking it out again. The times include
writing the message and reading and parsing the answer.

First, the start of a new server as an editor sees it (median of --starts
runs): from starting the process to the first diagnostics of a one-line
document, and to its first suggestions (a code action), with the compiled
dictionaries in place and with none ($SPELLCHECK_CACHE set to nothing).
"""
import argparse
import json
import os
import statistics
import subprocess
import tempfile
import time

WORDS = ("the spelling of every word in this sentence is checked while the "
         "writer goes on typing and the editor shows what is wrong").split()
TYPOS = ["wrold", "qiuck", "speling", "sentance", "tpying", "wirter", "edtior", "chekced"]


class Server:
    def __init__(self, tool, scratch, extra_env=None):
        env = dict(os.environ, HOME=scratch, XDG_DATA_HOME=scratch, **(extra_env or {}))
        self.process = subprocess.Popen([tool, "lsp"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, env=env)
        self.next_id = 0

    def send(self, message):
        body = json.dumps(message).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def read(self):
        length = 0
        while True:
            line = self.process.stdout.readline().strip()
            if not line:
                break
            name, _, value = line.partition(b":")
            if name.lower() == b"content-length":
                length = int(value)
        return json.loads(self.process.stdout.read(length))

    def request(self, method, params):
        self.next_id += 1
        self.send({"jsonrpc": "2.0", "id": self.next_id, "method": method, "params": params})
        while True:
            message = self.read()
            if message.get("id") == self.next_id:
                return message

    def notify(self, method, params):
        self.send({"jsonrpc": "2.0", "method": method, "params": params})

    def diagnostics(self, uri, version):
        while True:
            message = self.read()
            params = message.get("params", {})
            if (message.get("method") == "textDocument/publishDiagnostics"
                    and params["uri"] == uri and params.get("version") == version):
                return params["diagnostics"]


def document(lines, markdown):
    out = []
    for i in range(lines):
        if markdown and i % 40 == 0:
            out.append("## Section %d" % (i // 40))
        elif markdown and i % 40 in (10, 14):
            out.append("```")
        else:
            words = [WORDS[(i + k) % len(WORDS)] for k in range(12)]
            if i % 50 == 25:
                words[3] = TYPOS[i % len(TYPOS)]
            line = " ".join(words) + "."
            out.append(("Some `code` and " + line) if markdown and i % 7 == 0 else line.capitalize())
    return "\n".join(out) + "\n"


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def run(tool, lines, edits, markdown):
    scratch = tempfile.mkdtemp(prefix="spellcheck-lsp-bench-")
    server = Server(tool, scratch)
    server.request("initialize", {"processId": None, "capabilities": {}, "rootUri": None})
    server.notify("initialized", {})
    text = document(lines, markdown)
    language = "markdown" if markdown else "plaintext"
    opens = []
    for n in range(6):
        uri = "file://%s/doc%d.%s" % (scratch, n, "md" if markdown else "txt")
        started = time.perf_counter()
        server.notify("textDocument/didOpen", {"textDocument": {
            "uri": uri, "languageId": language, "version": 1, "text": text}})
        found = server.diagnostics(uri, 1)
        opens.append(time.perf_counter() - started)
    changes = []
    document_lines = text.split("\n")
    for n in range(edits):
        line = 100 + (n // 2) * 37 % (lines - 200)
        old = document_lines[line]
        first = old.split(" ")[0]
        new = TYPOS[n % len(TYPOS)] if n % 2 == 0 else first
        # Replace the line's first word (after an edit: the typo) by `new`.
        current = old if n % 2 == 0 else document_lines[line]
        end = len(current.split(" ")[0])
        started = time.perf_counter()
        server.notify("textDocument/didChange", {
            "textDocument": {"uri": uri, "version": n + 2},
            "contentChanges": [{"range": {"start": {"line": line, "character": 0},
                                          "end": {"line": line, "character": end}},
                                "text": new}]})
        server.diagnostics(uri, n + 2)
        changes.append(time.perf_counter() - started)
        document_lines[line] = new + current[end:]
        if n % 2 == 1:
            document_lines[line] = old
    server.request("shutdown", None)
    server.notify("exit", None)
    server.process.wait()
    ms = 1000.0
    print("%-9s %d lines, %d bytes, %d diagnostics" % (language, lines, len(text), len(found)))
    print("  didOpen -> diagnostics: first %.1f ms, then median %.1f ms" %
          (opens[0] * ms, statistics.median(opens[1:]) * ms))
    print("  didChange (one line) -> diagnostics: median %.2f ms, p99 %.2f ms (%d edits)" %
          (statistics.median(changes) * ms, percentile(changes, 0.99) * ms, len(changes)))


def first_answers(tool, starts, compiled):
    """Start to first diagnostics and to first suggestions, in ms (medians)."""
    diagnosed, suggested = [], []
    cache = tempfile.mkdtemp(prefix="spellcheck-lsp-cache-")
    for n in range(starts + 1):
        scratch = tempfile.mkdtemp(prefix="spellcheck-lsp-start-")
        started = time.perf_counter()
        server = Server(tool, scratch, {"SPELLCHECK_CACHE": cache if compiled else ""})
        server.request("initialize", {"processId": None, "capabilities": {}, "rootUri": None})
        server.notify("initialized", {})
        uri = "file://%s/start.txt" % scratch
        server.notify("textDocument/didOpen", {"textDocument": {
            "uri": uri, "languageId": "plaintext", "version": 1,
            "text": "The wrold is checked.\n"}})
        found = server.diagnostics(uri, 1)
        first = time.perf_counter()
        actions = server.request("textDocument/codeAction", {
            "textDocument": {"uri": uri}, "range": found[0]["range"],
            "context": {"diagnostics": found}})
        done = time.perf_counter()
        assert actions.get("result"), actions
        server.request("shutdown", None)
        server.notify("exit", None)
        server.process.wait()
        # The first start fills the cache; the others find it.
        if n > 0 or not compiled:
            diagnosed.append((first - started) * 1000)
            suggested.append((done - started) * 1000)
    return statistics.median(diagnosed[-starts:]), statistics.median(suggested[-starts:])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("--lines", type=int, default=10000)
    parser.add_argument("--edits", type=int, default=300)
    parser.add_argument("--starts", type=int, default=5)
    args = parser.parse_args()
    for compiled in (True, False):
        diagnosed, suggested = first_answers(os.path.abspath(args.tool), args.starts, compiled)
        print("start (%s): first diagnostics %.1f ms, first suggestions %.1f ms" %
              ("compiled dictionaries" if compiled else "nothing compiled", diagnosed, suggested))
    for markdown in (False, True):
        run(os.path.abspath(args.tool), args.lines, args.edits, markdown)


if __name__ == "__main__":
    main()
