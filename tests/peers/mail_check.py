"""Checks stored messages as a strict receiver would and prints one line per fault it finds,
each naming the file, then "checked N" for the N files; a clean message prints nothing.

The parse is Python's email package with its strict policy (any defect is an error), every
header read through its header classes with their defects; then the rules a lenient parser
lets pass:
- every Content-ID (and Message-Id) is a msg-id: <left@right> of dot-atoms (RFC 5322, RFC 2392),
  and every cid: reference of an HTML part names one of them;
- no header line that holds an encoded word is longer than 76 characters, no encoded word is
  longer than 75, and no parameter holds one (RFC 2047 sections 2 and 5); no line passes 998;
- a text part whose bytes are not ASCII names its charset (RFC 2045, RFC 2046 4.1.2);
- the line breaks of a text part are CR LF (RFC 2045 6.7, RFC 2046 4.1.1);
- a part with an attachment disposition sits in multipart/mixed, and multipart/related holds no
  attachment (RFC 2183, RFC 2387);
- the type parameter of multipart/related names the type of its first part (RFC 2387).

Usage: mail_check.py FILE..."""
import email
import email.policy
import re
import sys

ATEXT = r"[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]"
DOT_ATOM = ATEXT + r"+(?:\." + ATEXT + r"+)*"
MSG_ID = re.compile(r"^<" + DOT_ATOM + r"@(?:" + DOT_ATOM + r"|\[[!-Z^-~]*\])>$")
ENCODED_WORD = re.compile(rb"=\?[^?\s]+\?[QqBb]\?[^?\s]*\?=")


def header_lines(raw, boundaries):
    """The header lines of the message and of every part: those after a delimiter line up to
    the next empty line."""
    delimiters = {b"--" + boundary for boundary in boundaries}
    lines = []
    in_headers = True
    for line in raw.split(b"\r\n"):
        if in_headers:
            if line == b"":
                in_headers = False
            else:
                lines.append(line)
        elif line in delimiters:
            in_headers = True
    return lines


def check_lines(raw, boundaries, faults):
    for line in raw.split(b"\r\n"):
        if len(line) > 998:
            faults.append("line of %d characters" % len(line))
    if re.search(rb"(?<!\r)\n|\r(?!\n)", raw):
        faults.append("bare CR or LF in the message")
    for line in header_lines(raw, boundaries):
        words = ENCODED_WORD.findall(line)
        if words and len(line) > 76:
            faults.append("encoded-word line of %d characters: %r" % (len(line), line[:90]))
        for word in words:
            if len(word) > 75:
                faults.append("encoded word of %d characters" % len(word))


def check_headers(part, faults):
    for name in part.keys():
        for value in part.get_all(name):
            if getattr(value, "defects", None):
                faults.append("%s: %s" % (name, [type(d).__name__ for d in value.defects]))
    for name, raw_value in part.raw_items():
        if name.lower() in ("content-type", "content-disposition"):
            parameters = raw_value.split(";", 1)[1:]
            if parameters and ENCODED_WORD.search(parameters[0].encode("utf-8", "replace")):
                faults.append("%s parameter holds an encoded word" % name)
    for name in ("Content-ID", "Message-Id"):
        value = part.get(name)
        if value is not None and not MSG_ID.match(str(value).strip()):
            faults.append("%s is no msg-id: %r" % (name, str(value)))


def check_text(part, faults):
    payload = part.get_payload(decode=True) or b""
    if any(byte > 127 for byte in payload) and part.get_param("charset") is None:
        faults.append("%s part of 8-bit bytes without a charset" % part.get_content_type())
    if re.search(rb"(?<!\r)\n|\r(?!\n)", payload):
        faults.append("%s part with line breaks other than CR LF" % part.get_content_type())


def check_structure(message, faults):
    def walk(part, parent_type):
        disposition = part.get_content_disposition()
        if disposition == "attachment" and parent_type != "multipart/mixed":
            faults.append("attachment %r inside %s" % (part.get_filename(), parent_type))
        if part.get_content_type() == "multipart/related":
            children = part.get_payload()
            named = part.get_param("type")
            if children and named and named.lower() != children[0].get_content_type():
                faults.append("multipart/related names %s, starts with %s"
                              % (named, children[0].get_content_type()))
        if part.is_multipart():
            for child in part.get_payload():
                walk(child, part.get_content_type())

    walk(message, None)


def check(raw):
    faults = []
    try:
        message = email.message_from_bytes(raw, policy=email.policy.strict)
    except Exception as error:  # the strict policy raises on the first defect
        return ["strict parse: %s: %s" % (type(error).__name__, error)]
    if message.get("MIME-Version") is None:
        faults.append("no MIME-Version")
    boundaries = [part.get_boundary().encode("ascii") for part in message.walk() if part.is_multipart()]
    check_lines(raw, boundaries, faults)
    content_ids = set()
    for part in message.walk():
        check_headers(part, faults)
        if part.get("Content-ID") is not None:
            content_ids.add(str(part["Content-ID"]).strip()[1:-1])
        if part.get_content_maintype() == "text":
            check_text(part, faults)
    for part in message.walk():
        if part.get_content_type() == "text/html":
            html = (part.get_payload(decode=True) or b"").decode("latin-1")
            for reference in re.findall(r"cid:([^\"')\s>]+)", html):
                if reference not in content_ids:
                    faults.append("cid:%s names no part" % reference)
    check_structure(message, faults)
    return faults


def main():
    for path in sys.argv[1:]:
        with open(path, "rb") as source:
            for fault in check(source.read()):
                print("%s: %s" % (path, fault))
    print("checked %d" % len(sys.argv[1:]))
    sys.stdout.flush()


if __name__ == "__main__":
    main()
