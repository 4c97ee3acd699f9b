#!/usr/bin/env python3
"""Compares `ekview-cli --decode` with Python's `email` package on mailbox files.

    python3 scripts/verify-mime.py build/cli/ekview-cli FILE.mbx...

Python (standard library only) parses each message, decodes its encoded words and
transfer encodings; text is turned into Unicode by the same charset rule as EKView's
(the label first, CP932 where there is none or the bytes are invalid for it), with
Python's own codecs. Messages are read and ordered by scripts/reference-list.py, so
that indexes match the CLI's. Prints per file and in total: the share of equal
subjects, senders and first text/plain bodies (blank runs, line ends and trailing
blanks aside), and of Python's attachments that the CLI lists and extracts byte for
byte. With --show-differences the messages that differ are named.

Where Python finds a base64 text part of a length no encoder writes, it shows the
encoded text; that text is compared with its line ends, which Python's fallback drops.

A second line gives the shares without the justified differences: those listed in
verify-mime-justified.txt (see docs/RELIABILITY.md), multiparts Python could not read
(it keeps their raw text as one leaf), and the last line end Python drops from the last
part of a multipart that is never closed.
"""

import codecs
import email
import email.errors
import email.header
import email.policy
import email.utils
import importlib.util
import json
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("reference_list",
                                              os.path.join(HERE, "reference-list.py"))
reference = importlib.util.module_from_spec(spec)
spec.loader.exec_module(reference)

CP932_LABELS = {"shift_jis", "shift-jis", "sjis", "x-sjis", "cp932", "windows-31j",
                "ms932", "ms_kanji", "csshiftjis", "x-ms-cp932"}


def cp932_errors(error):
    """Bytes CP932 cannot map are one U+FFFD per character, by the WHATWG Encoding
    Standard's Shift_JIS rule (what browsers do): a lead byte followed by a non-ASCII
    trail byte is one bad character, while before an ASCII byte it is one bad byte.
    Python's codec replaces only the lead byte and re-reads the trail as a character,
    which turns one undecodable pair into a different character; neither is wrong,
    so the comparison follows the published rule."""
    data, start = error.object, error.start
    lead = data[start]
    if (0x81 <= lead <= 0x9F or 0xE0 <= lead <= 0xFC) and start + 1 < len(data) and \
            0x80 <= data[start + 1] <= 0xFC:
        return "\ufffd", start + 2
    return "\ufffd", start + 1


codecs.register_error("cp932-whatwg", cp932_errors)

# Single bytes with no CP932 character: Python gives the control U+0080 and Microsoft's
# private-use U+F8F0-U+F8F3, EKView U+FFFD; all show no character.
UNMAPPED_SINGLES = str.maketrans({c: "\ufffd" for c in "\x80\uf8f0\uf8f1\uf8f2\uf8f3"})


def cp932_text(data):
    return data.decode("cp932", "cp932-whatwg").translate(UNMAPPED_SINGLES)


def to_text(data, label):
    label = (label or "").strip().strip('"').lower().split("*")[0]
    if label and label not in CP932_LABELS:
        try:
            return data.decode(label)
        except (LookupError, UnicodeDecodeError):
            pass
    return cp932_text(data)


def decode_words(raw):
    """An unstructured header value (str with surrogate-escaped raw bytes)."""
    out = []
    for chunk, charset in email.header.decode_header(raw):
        if isinstance(chunk, str):
            chunk = chunk.encode("ascii", "surrogateescape")
        elif charset is None:
            chunk = chunk.decode("raw-unicode-escape").encode("ascii", "surrogateescape")
        out.append(to_text(chunk, charset))
    return "".join(out)


def normal(text):
    text = re.sub(r"[\x00-\x1f\x7f]", " ", text)
    return re.sub(r"\s+", " ", text).strip()


def normal_body(text):
    lines = [line.rstrip() for line in text.replace("\r\n", "\n").split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    return "\n".join(lines)


def sender_name(raw):
    if raw is None:
        return ""
    pairs = email.utils.getaddresses([raw])
    if pairs and (pairs[0][0] or pairs[0][1]):
        name, address = pairs[0]
        return decode_words(name) if name else address
    return decode_words(raw)


def leaves(part):
    """Leaf parts in tree order, multiparts and message/rfc822 opened; Python reads a
    message/delivery-status body as header blocks, which stay one leaf here."""
    if part.get_content_maintype() == "multipart" and part.is_multipart():
        return [leaf for child in part.get_payload() for leaf in leaves(child)]
    if part.get_content_type() == "message/rfc822" and part.is_multipart():
        return [leaf for child in part.get_payload() for leaf in leaves(child)]
    return [part]


def raw_field(lines, name):
    """The first field `name` of the stored header, folded lines joined, as text with
    the raw bytes surrogate-escaped."""
    value = None
    for line in lines[2:]:
        if not line:
            break
        if value is not None and line[:1] in (b" ", b"\t"):
            value += line
            continue
        if value is not None:
            break
        field, colon, rest = line.partition(b":")
        if colon and field.lower() == name:
            value = rest.lstrip(b" \t")
    return value.decode("ascii", "surrogateescape") if value is not None else None


def payload_bytes(part):
    if part.is_multipart():
        return None  # a delivery-status body: Python keeps no bytes of it
    return part.get_payload(decode=True) or b""


def unread_multipart(part):
    """Python found no boundary it could use and kept the multipart's raw text as one
    leaf; that text is not an attachment a reader would be offered."""
    return part.get_content_maintype() == "multipart" and not part.is_multipart()


def unclosed(message):
    return any(isinstance(d, email.errors.CloseBoundaryNotFoundDefect)
               for part in message.walk() for d in part.defects)


def python_view(lines):
    raw = b"\n".join(lines[2:]) + b"\n"
    message = email.message_from_bytes(raw, policy=email.policy.compat32)
    subject = raw_field(lines, b"subject")
    parts = leaves(message)
    for part in parts:
        # "base64 " with a trailing blank is base64 (RFC 2045 allows the blank), but
        # compat32 compares the whole value and hands back the encoded text.
        cte = part.get("content-transfer-encoding")
        if isinstance(cte, str) and cte != cte.strip():
            part.replace_header("content-transfer-encoding", cte.strip())
    body_index = None
    for wanted in ("text/plain", "text/html"):
        for i, part in enumerate(parts):
            if part.get_content_type() == wanted and \
                    part.get_content_disposition() != "attachment":
                body_index = i
                break
        if body_index is not None:
            break
    body = None
    if body_index is not None and parts[body_index].get_content_type() == "text/plain":
        part = parts[body_index]
        payload = part.get_payload(decode=True) or b""
        if any(isinstance(d, email.errors.InvalidBase64LengthDefect) for d in part.defects):
            # Base64 of a length no encoder writes: Python falls back to the encoded
            # text, which it has joined into one line on the way; its lines are kept.
            payload = part.get_payload().encode("ascii", "surrogateescape")
        body = to_text(payload, part.get_content_charset())
    attachments = [{"bytes": payload_bytes(part), "unread multipart": unread_multipart(part)}
                   for i, part in enumerate(parts) if i != body_index]
    return {
        "subject": decode_words(subject) if subject is not None else "",
        "sender": sender_name(raw_field(lines, b"from")),
        "body": body,
        "attachments": attachments,
        "unclosed": unclosed(message),
    }


def cli_json(cli, *args):
    result = subprocess.run([cli, *args], capture_output=True, check=False)
    return [json.loads(line) for line in result.stdout.decode().splitlines() if line]


def cli_body(show):
    lines = show["lines"]
    if show["note"]:
        lines = lines[:-1]
    blank = lines.index("\n") if "\n" in lines else len(lines)
    return "".join(lines[blank + 1:])


def extracted_files(cli, path, index):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([cli, "extract", path, str(index), "--to", folder],
                       capture_output=True, check=False)
        files = []
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), "rb") as f:
                files.append(f.read())
        return files


def read_justified(path):
    """(mailbox name, index, field) -> reason, from the list of differences where EKView
    reads the message as a mail reader should and Python does not (docs/RELIABILITY.md)."""
    justified = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                name, index, field, reason = line.split(maxsplit=3)
                justified[(name, int(index), field)] = reason
    return justified


def verify(cli, path, counts, show_differences, justified):
    with open(path, "rb") as f:
        messages = reference.order_messages(reference.read_mail_file(f.read()))
    rows = cli_json(cli, "list", "--decode", "--json", path)
    name = os.path.basename(path)

    def differs(index, field, text):
        reason = justified.get((name, index, field))
        counts["justified " + field] += reason is not None
        if show_differences:
            print(f"{path} {index} {text}" + (f" (justified: {reason})" if reason else ""))

    for index, lines in enumerate(messages):
        expected = python_view(lines)
        row = rows[index] if index < len(rows) else {}
        counts["messages"] += 1
        for field in ("subject", "sender"):
            same = normal(row.get(field, "")) == normal(expected[field])
            counts[field] += same
            if not same:
                differs(index, field, f"{field}: {row.get(field)!r} != {expected[field]!r}")
        show = cli_json(cli, "show", "--decode", "--json", "--all-headers", path, str(index))
        show = show[0] if show else {"lines": [], "note": False, "attachments": []}
        if expected["body"] is not None:
            counts["bodies"] += 1
            same = normal_body(cli_body(show)) == normal_body(expected["body"])
            counts["equal bodies"] += same
            if not same:
                differs(index, "body", "body differs")
        attachments = expected["attachments"]
        if attachments:
            unread = sum(a["unread multipart"] for a in attachments)
            counts["python attachments"] += len(attachments)
            counts["listed"] += min(len(show["attachments"]), len(attachments))
            counts["unread multipart"] += unread
            listed = min(len(show["attachments"]), len(attachments) - unread)
            counts["listed of readable"] += listed
            if (name, index, "attachment") in justified:
                counts["justified listing"] += len(attachments) - unread - listed
            got = extracted_files(cli, path, index)
            for attachment in attachments:
                data = attachment["bytes"]
                if data is None:
                    counts["without bytes"] += 1
                elif data in got:
                    got.remove(data)
                    counts["identical bytes"] += 1
                elif attachment["unread multipart"]:
                    counts["justified bytes"] += 1
                    if show_differences:
                        print(f"{path} {index} attachment bytes differ (justified: Python "
                              "kept an unreadable multipart as one leaf)")
                elif expected["unclosed"] and (data + b"\n" in got or data + b"\r\n" in got):
                    got.remove(data + b"\n" if data + b"\n" in got else data + b"\r\n")
                    counts["justified bytes"] += 1
                    if show_differences:
                        print(f"{path} {index} attachment bytes differ (justified: the "
                              "multipart is not closed; Python drops the last line end)")
                elif (name, index, "attachment") in justified:
                    counts["justified bytes"] += 1
                    if show_differences:
                        reason = justified[(name, index, "attachment")]
                        print(f"{path} {index} attachment bytes differ (justified: {reason})")
                elif show_differences:
                    print(f"{path} {index} attachment bytes differ")


def share(part, whole):
    return f"{100.0 * part / whole:.1f}% ({part}/{whole})" if whole else "-"


def report(title, c):
    with_bytes = c["python attachments"] - c["without bytes"]
    print(f"{title}: {c['messages']} messages; subjects {share(c['subject'], c['messages'])}, "
          f"senders {share(c['sender'], c['messages'])}, first text/plain bodies "
          f"{share(c['equal bodies'], c['bodies'])}, attachments listed "
          f"{share(c['listed'], c['python attachments'])}, bytes identical "
          f"{share(c['identical bytes'], with_bytes)} "
          f"({c['without bytes']} delivery-status parts have no bytes in Python)")
    print(f"{title}, justified differences aside: subjects "
          f"{share(c['subject'], c['messages'] - c['justified subject'])}, senders "
          f"{share(c['sender'], c['messages'] - c['justified sender'])}, first text/plain "
          f"bodies {share(c['equal bodies'], c['bodies'] - c['justified body'])}, attachments "
          f"listed {share(c['listed of readable'], c['python attachments'] - c['unread multipart'] - c['justified listing'])}"
          f", bytes identical {share(c['identical bytes'], with_bytes - c['justified bytes'])}")


def main(argv):
    show_differences = "--show-differences" in argv
    argv = [a for a in argv if a != "--show-differences"]
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli = argv[1]
    keys = ["messages", "subject", "sender", "bodies", "equal bodies", "python attachments",
            "listed", "identical bytes", "without bytes", "unread multipart",
            "listed of readable", "justified bytes", "justified subject", "justified sender",
            "justified body", "justified listing"]
    justified = read_justified(os.path.join(HERE, "verify-mime-justified.txt"))
    total = dict.fromkeys(keys, 0)
    for path in argv[2:]:
        counts = dict.fromkeys(keys, 0)
        verify(cli, path, counts, show_differences, justified)
        report(os.path.basename(path), counts)
        for key in keys:
            total[key] += counts[key]
    report("total", total)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
