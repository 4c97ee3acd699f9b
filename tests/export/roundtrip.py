#!/usr/bin/env python3
"""Round trip of `ekview-cli export` through Python's own mbox reader.

For every mailbox it writes (hand-made hard cases, random ones, and those of
ekview-gen when given) and every MAILBOX named on the command line:

- `mailbox.mbox` finds exactly as many messages in the exported mbox as
  `ekview-cli list --json` lists, and each message's bytes, with the mboxrd
  quoting undone, are the stored lines after its message-start line;
- every exported .eml file holds those lines with CR LF, under its number.

The stored lines and their order come from scripts/reference-list.py, a model
of the reader written apart from the C++ sources.

usage: roundtrip.py --cli EKVIEW_CLI [--gen EKVIEW_GEN] [MAILBOX...]
"""

import argparse
import importlib.util
import json
import mailbox
import os
import random
import re
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the reference is loaded from the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.join(HERE, "..", "..", "scripts", "reference-list.py")

spec = importlib.util.spec_from_file_location("reference_list", REFERENCE)
reference = importlib.util.module_from_spec(spec)
spec.loader.exec_module(reference)

START = b"From - Sun Jan 02 15:04:05 2000"
STATUS = b"X-EKMail-Status: 0001"
UNQUOTE = re.compile(rb"^>(>*From )", re.MULTILINE)


def message(header, body, start=START, eol=b"\n"):
    lines = [start, STATUS] + header + [b""] + body
    return b"".join(line + eol for line in lines)


def hard_cases():
    """The inputs that break naive exporters, each in a mailbox of its own."""
    return {
        "from-lines": message([b"Date: Sat, 1 Jan 2000 00:00:00", b"Subject: quoting"],
                              [b"From me", b">From you", b">>From them", b"From",
                               b"Fromage", b" From x", b"From "]),
        "one-line": START + b"\n" + STATUS,
        "no-blank-line": START + b"\r\n" + STATUS + b"\r\nSubject: x\r\nFrom y\r\n",
        "nonsense-date": message([b"Date: Sun, 2 Jan 2000 15:04:05 +0900"], [b"body"],
                                 start=b"From - Mon Feb 30 99:99:99 0000"),
        "nul-bytes": message([b"Subject: a\x00b"], [b"\x00", b"x\x00\x00y"]),
        "cp932-crlf": message([b"Subject: \x93\xfa\x96\x7b\x8c\xea"],
                              [b"\x82\xa0\x82\xa2", b"", b"\x81\x5c"], eol=b"\r\n"),
        "empty-last-lines": message([b"Subject: gaps"], [b"", b"", b""])
        + message([b"Subject: next"], [b"x"]),
        "lone-cr": message([b"Subject: a\rb"], [b"c\rd\r"]),
        "text-before-first": b"junk\nFrom nobody\n" + message([b"Subject: s"], [b"t"]),
    }


def random_mailbox(seed, count):
    rng = random.Random(seed)
    pieces = [b"From ", b">From ", b">>", b"\x82\xa0", b"\x00", b"\r", b" ", b"x",
              b"Date: ", b"From - ", STATUS]
    out = []
    for _ in range(count):
        header = [b"Date: %d Jan 20%02d %02d:00:00" % (rng.randint(1, 31), rng.randint(0, 30),
                                                       rng.randint(0, 23)),
                  b"Subject: " + b"".join(rng.choice(pieces) for _ in range(3))]
        body = [b"".join(rng.choice(pieces) for _ in range(rng.randint(0, 6)))
                for _ in range(rng.randint(0, 8))]
        out.append(message(header, body, eol=rng.choice([b"\n", b"\r\n"])))
    return b"".join(out)


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True, check=False)


def expected_messages(data):
    return reference.order_messages(reference.read_mail_file(data))


def check(cli, path, scratch):
    failures = []
    with open(path, "rb") as fh:
        expected = expected_messages(fh.read())
    listed = run(cli, "list", "--json", path)
    if listed.returncode != 0:
        return [f"{path}: list failed: {listed.stderr.decode(errors='replace')}"]
    count = len([json.loads(row) for row in listed.stdout.splitlines()])
    if count != len(expected):
        failures.append(f"{path}: ekview lists {count}, the reference reads {len(expected)}")

    out = os.path.join(scratch, os.path.basename(path) + ".mbox")
    exported = run(cli, "export", "--mbox", out, path)
    if exported.returncode != 0:
        return failures + [f"{path}: export failed: {exported.stderr.decode(errors='replace')}"]
    box = mailbox.mbox(out, create=False)
    keys = list(box.keys())
    if len(keys) != count:
        failures.append(f"{path}: mailbox.mbox reads {len(keys)} messages, ekview lists {count}")
    for index, (key, lines) in enumerate(zip(keys, expected)):
        got = UNQUOTE.sub(rb"\1", box.get_bytes(key))
        want = b"".join(line + b"\n" for line in lines[1:])
        if got != want:
            failures.append(f"{path}: message {index} differs in the mbox:\n"
                            f"  got  {got[:200]!r}\n  want {want[:200]!r}")
    box.close()

    folder = os.path.join(scratch, os.path.basename(path) + ".eml")
    exported = run(cli, "export", "--eml", folder, path)
    if exported.returncode != 0:
        return failures + [f"{path}: eml export failed: {exported.stderr.decode(errors='replace')}"]
    names = sorted(os.listdir(folder))
    width = len(str(count))
    if names != [f"{i + 1:0{width}d}.eml" for i in range(count)]:
        failures.append(f"{path}: .eml names {names[:3]}... for {count} messages")
    for name, lines in zip(names, expected):
        with open(os.path.join(folder, name), "rb") as fh:
            got = fh.read()
        if got != b"".join(line + b"\r\n" for line in lines[1:]):
            failures.append(f"{path}: {name} differs: {got[:200]!r}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--gen")
    parser.add_argument("mailboxes", nargs="*")
    args = parser.parse_args()
    failures = []
    checked = 0
    with tempfile.TemporaryDirectory(prefix="ekview-roundtrip-") as scratch:
        written = os.path.join(scratch, "in")
        os.mkdir(written)
        paths = list(args.mailboxes)
        cases = hard_cases()
        cases["random-1"] = random_mailbox(1, 400)
        cases["random-2"] = random_mailbox(2, 50)
        for name, data in cases.items():
            path = os.path.join(written, name + ".mbx")
            with open(path, "wb") as fh:
                fh.write(data)
            paths.append(path)
        if args.gen:
            for seed, crlf in ((1, "0"), (2, "50")):
                path = os.path.join(written, f"gen-{seed}.mbx")
                subprocess.run([args.gen, "--seed", str(seed), "--messages", "300",
                                "--crlf-percent", crlf, "--out", path], check=True)
                paths.append(path)
        for path in paths:
            found = check(args.cli, path, scratch)
            failures += found
            checked += 1
            print(f"{'FAIL' if found else 'ok  '} {path}")
    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{checked} mailboxes, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
