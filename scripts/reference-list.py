#!/usr/bin/env python3
"""Independent reference for `ekview-cli list --json FILE`.

A plain, step-by-step model of how EKView reads a mailbox file, orders its
messages by date key and builds each list row, written without the C++
sources so the two can be compared line for line:

    diff <(ekview-cli list --json F) <(python3 scripts/reference-list.py F)

Python 3 standard library only.  Every byte string stays raw CP932 until the
row is printed.
"""

import sys

WHITESPACE = b" \t\n\x0b\x0c\r"
FALLBACK_KEY = b"1970/01/01 09:00:00"
WEEKDAYS = [b"sun", b"mon", b"tue", b"wed", b"thu", b"fri", b"sat"]
MONTHS = [b"jan", b"feb", b"mar", b"apr", b"may", b"jun",
          b"jul", b"aug", b"sep", b"oct", b"nov", b"dec"]
START_PREFIX = b"From - "
STATUS_PREFIX = b"X-EKMail-Status: "


def is_lead(b):
    return 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC


def is_trail(b):
    return 0x40 <= b <= 0x7E or 0x80 <= b <= 0xFC


def ascii_lower(data):
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in data)


def equal_nocase(a, b):
    return ascii_lower(a) == ascii_lower(b)


# ---------------------------------------------------------------- file reading

def read_lines(data):
    """Text-mode lines: 0x1A ends the file, LF ends a line, CR before LF goes."""
    end = data.find(b"\x1a")
    if end >= 0:
        data = data[:end]
    lines = []
    start = 0
    while start < len(data):
        lf = data.find(b"\n", start)
        if lf < 0:
            lines.append(data[start:])
            break
        line = data[start:lf]
        if line.endswith(b"\r"):
            line = line[:-1]
        lines.append(line)
        start = lf + 1
    return lines


def is_digit(b):
    return 0x30 <= b <= 0x39


def is_start_date(text):
    if len(text) != 24:
        return False
    if ascii_lower(text[0:3]) not in WEEKDAYS:
        return False
    if ascii_lower(text[4:7]) not in MONTHS:
        return False
    for pos in (8, 9, 11, 12, 14, 15, 17, 18, 20, 21, 22, 23):
        if not is_digit(text[pos]):
            return False
    return True


def is_message_start(line):
    return line.startswith(START_PREFIX) and is_start_date(line[7:])


def is_status_line(line):
    return line.startswith(STATUS_PREFIX)


def read_mail_file(data):
    """Messages as lists of lines (each line without its LF), in file order."""
    lines = read_lines(data)
    messages = []
    current = None
    i = 0
    n = len(lines)
    while i < n:
        x = lines[i]
        i += 1
        if is_message_start(x):
            if i >= n:
                if current is not None:
                    current.append(x)
                break
            y = lines[i]
            i += 1
            if is_status_line(y):
                if current is not None:
                    messages.append(current)
                current = []
            if current is not None:
                current.append(x)
                current.append(y)
        elif current is not None:
            current.append(x)
    if current is not None:
        messages.append(current)
    return messages


# ------------------------------------------------------- header fields, dates

def get_header_value(message, prefix):
    n = len(prefix)
    for line in message:
        stored = line + b"\n"
        if len(stored) >= n and equal_nocase(stored[:n], prefix):
            return line[n:]
    return b""


def split_first_space(w):
    """(part before the first space or b"", part after it or all of w)."""
    pos = w.find(b" ")
    if pos < 0:
        return b"", w
    return w[:pos], w[pos + 1:]


def normalize_date(value):
    w = value
    if len(w) >= 4 and w[3:4] == b",":
        w = w[5:]
    w = w.lstrip(WHITESPACE)
    day, w = split_first_space(w)
    day = day.rstrip(WHITESPACE)
    if len(day) == 1:
        day = b"0" + day
    w = w.lstrip(WHITESPACE)
    mon, w = split_first_space(w)
    w = w.lstrip(WHITESPACE)
    year, w = split_first_space(w)
    if len(year) == 2:
        year = b"19" + year
    w = w.lstrip(WHITESPACE)
    time = w[:8]
    if len(mon) < 3:
        return FALLBACK_KEY
    head = ascii_lower(mon[:3])
    if head not in MONTHS:
        return FALLBACK_KEY
    mm = b"%.2d" % (MONTHS.index(head) + 1)
    return year + b"/" + mm + b"/" + day + b" " + time


def strip_quotes(w):
    return w.strip(b'"')


def get_sender_name(f):
    if b"<" in f:
        a = f.find(b"<")
        b = f.find(b">")
        count = b - a + 1
        w = f[:a] + f[a + count:] if count > 0 else f
        w = w.strip(WHITESPACE)
        if not w:
            return f
        return strip_quotes(w)
    if b"(" in f:
        a = f.find(b"(")
        b = f.find(b")")
        count = b - a - 1
        w = f[a + 1:a + 1 + count] if count > 0 else b""
        w = w.strip(WHITESPACE)
        if not w:
            return f
        return strip_quotes(w)
    return f


# ------------------------------------------------------------------- MIME

def char_starts(data):
    """Positions at which a character begins (never the second byte of a pair)."""
    starts = set()
    i = 0
    while i < len(data):
        starts.add(i)
        if is_lead(data[i]) and i + 1 < len(data) and is_trail(data[i + 1]):
            i += 2
        else:
            i += 1
    return starts


def mb_contains(data, needle):
    starts = char_starts(data)
    pos = data.find(needle)
    while pos >= 0:
        if pos in starts:
            return True
        pos = data.find(needle, pos + 1)
    return False


def get_boundary(message):
    stored = [line + b"\n" for line in message]
    for idx, c in enumerate(stored):
        if c == b"\n":
            return b""
        if len(c) >= 14 and equal_nocase(c[:14], b"Content-Type: "):
            if mb_contains(ascii_lower(c), b"boundary="):
                v = c
            else:
                if idx + 1 >= len(stored):
                    return b""
                v = stored[idx + 1]
                if not mb_contains(ascii_lower(v), b"boundary="):
                    return b""
            first = v.find(b'"')
            last = v.rfind(b'"')
            if first < 0 or last == first:
                return b""
            return b"--" + v[first + 1:last]
    return b""


# ------------------------------------------------------------------ ordering

def order_messages(messages):
    keys = [ascii_lower(normalize_date(get_header_value(m, b"Date: ")))
            for m in messages]
    order = sorted(range(len(messages)), key=lambda i: keys[i])
    return [messages[i] for i in order]


# ------------------------------------------------------------------- output

def decode_cp932(data):
    out = []
    i = 0
    n = len(data)
    while i < n:
        b = data[i]
        if is_lead(b) and i + 1 < n and is_trail(data[i + 1]):
            try:
                out.append(data[i:i + 2].decode("cp932"))
            except UnicodeDecodeError:
                out.append("\ufffd")
            i += 2
            continue
        if b <= 0x7F:
            out.append(chr(b))
        elif 0xA1 <= b <= 0xDF:
            out.append(chr(0xFF61 + b - 0xA1))
        else:
            out.append("\ufffd")
        i += 1
    return "".join(out)


ESCAPES = {'"': '\\"', "\\": "\\\\", "\n": "\\n", "\r": "\\r", "\t": "\\t",
           "\b": "\\b", "\f": "\\f"}


def json_string(text):
    out = ['"']
    for ch in text:
        if ch in ESCAPES:
            out.append(ESCAPES[ch])
        elif ord(ch) < 0x20 or ord(ch) == 0x7F:
            out.append("\\u%04x" % ord(ch))
        else:
            out.append(ch)
    out.append('"')
    return "".join(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: reference-list.py FILE\n")
        return 2
    with open(argv[1], "rb") as fh:
        data = fh.read()
    messages = read_mail_file(data)
    if not messages:
        return 1
    messages = order_messages(messages)
    out = sys.stdout.buffer
    for index, message in enumerate(messages):
        date = normalize_date(get_header_value(message, b"Date: "))
        sender = get_sender_name(get_header_value(message, b"From: "))
        subject = get_header_value(message, b"Subject: ")
        multipart = get_boundary(message) != b""
        row = ('{"index":%d,"date":%s,"sender":%s,"subject":%s,'
               '"multipart":%s}\n') % (
            index, json_string(decode_cp932(date)),
            json_string(decode_cp932(sender)),
            json_string(decode_cp932(subject)),
            "true" if multipart else "false")
        out.write(row.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
