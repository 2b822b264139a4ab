#!/usr/bin/env python3
"""A second TEF manager, written apart from tefsim, for the rehearsal's tests.

It knows only the exchange files' shapes: it looks at one root's
req/intpos.001 every --poll-ms, answers each request it has not answered
yet (told by its operation and sequence, 001-000), and, as some managers do,
leaves the request where it found it: the package overwrites it with the
next. Every approval carries the same document number, 123456, as an
independent manager in the field does. Its own log says what it took, what
it answered and which confirmations it received, so that a report can be
checked against it.

  second_manager.py --drive-root DIR [--root tef_dial] [--poll-ms 20] --log FILE
                    [--stop-file FILE]
"""
import argparse
import os
import time

DOCUMENT = "123456"
NETWORK = "OUTRAREDE"


def fields_of(data):
    fields = {}
    for line in data.decode("cp1252").replace("\r\n", "\n").split("\n"):
        name, equals, value = line.partition("=")
        if equals and name.strip() not in fields:
            fields[name.strip()] = value.strip()
    return fields


def write_whole(path, lines):
    # A manager that writes in one go: the name appears with its content.
    temporary = path + ".new"
    with open(temporary, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp1252"))
    os.replace(temporary, path)


def find(folder, name):
    # The package's folders as Windows names them: any letter case.
    if not os.path.isdir(folder):
        return None
    for entry in os.listdir(folder):
        if entry.lower() == name.lower():
            return os.path.join(folder, entry)
    return None


def main():
    options = argparse.ArgumentParser()
    options.add_argument("--drive-root", required=True)
    options.add_argument("--root", default="tef_dial")
    options.add_argument("--poll-ms", type=int, default=20)
    options.add_argument("--log", required=True)
    options.add_argument("--stop-file")
    given = options.parse_args()
    root = os.path.join(given.drive_root, "c", given.root)
    req, resp = os.path.join(root, "req"), os.path.join(root, "resp")
    os.makedirs(req, exist_ok=True)
    os.makedirs(resp, exist_ok=True)
    log = open(given.log, "a", buffering=1, encoding="utf-8")
    say = lambda text: log.write("%.3f %s\n" % (time.time(), text))
    say("serving " + root)
    answered = set()
    approvals = 0
    while not (given.stop_file and os.path.exists(given.stop_file)):
        time.sleep(given.poll_ms / 1000)
        request = find(req, "intpos.001")
        if not request:
            continue
        try:
            with open(request, "rb") as source:
                data = source.read()
        except OSError:
            continue
        fields = fields_of(data)
        if fields.get("999-999") != "0":
            continue  # not whole yet
        code, sequence = fields.get("000-000", ""), fields.get("001-000", "")
        if (code, sequence) in answered:
            continue
        answered.add((code, sequence))
        say("took %s %s" % (code, sequence))
        write_whole(os.path.join(resp, "intpos.sts"), ["000-000 = " + code, "001-000 = " + sequence, "999-999 = 0"])
        if code in ("CNF", "NCN"):
            say("%s %s document %s control %s" % ("confirmed" if code == "CNF" else "not confirmed",
                                                  sequence, fields.get("012-000", ""), fields.get("027-000", "")))
        if code not in ("CRT", "CHQ", "CNC"):
            continue
        approvals += 1
        control = "CTRL%026d" % approvals
        cents = fields.get("003-000", "0")
        write_whole(os.path.join(resp, "intpos.001"), [
            "000-000 = " + code, "001-000 = " + sequence, "003-000 = " + cents, "009-000 = 0",
            "010-000 = " + NETWORK, "012-000 = " + DOCUMENT, "013-000 = 1", "027-000 = " + control,
            "028-000 = 3", '029-001 = "SEGUNDO GERENCIADOR"', '029-002 = "VALOR %s"' % cents,
            '029-003 = "DOC %s"' % DOCUMENT, "030-000 = APROVADA " + DOCUMENT, "999-999 = 0"])
        say("approved %s %s document %s control %s" % (code, sequence, DOCUMENT, control))


if __name__ == "__main__":
    main()
