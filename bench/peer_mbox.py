#!/usr/bin/env python3
"""The peer a scripting user would pick: Python's mailbox.mbox taking Date, From and
Subject of every message. Prints the message count and the seconds it took."""
import mailbox
import sys
import time


def main() -> int:
    if len(sys.argv) != 2:
        print("usage: peer_mbox.py MAILBOX", file=sys.stderr)
        return 2
    start = time.perf_counter()
    box = mailbox.mbox(sys.argv[1], create=False)
    count = 0
    for message in box:
        message.get("Date")
        message.get("From")
        message.get("Subject")
        count += 1
    print(f"{count} {time.perf_counter() - start:.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
