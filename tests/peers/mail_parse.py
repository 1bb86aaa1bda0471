"""Parses one stored message with Python's email package and prints what a receiving mail
program sees of it as one line of JSON: the decoded headers, every leaf part with its decoded
bytes, and every defect the parser found.

Usage: mail_parse.py FILE"""
import base64
import email
import email.policy
import json
import sys


def defects_of(part):
    return [type(defect).__name__ for defect in part.defects]


def main():
    with open(sys.argv[1], 'rb') as source:
        message = email.message_from_bytes(source.read(), policy=email.policy.default)
    sender = message['From'].addresses[0]
    result = {
        'subject': str(message['Subject']),
        'from_name': sender.display_name,
        'from_address': sender.addr_spec,
        'to': [address.addr_spec for address in message['To'].addresses],
        'message_id': str(message['Message-Id']),
        'organization': str(message['Organization'] or ''),
        'type': message.get_content_type(),
        'defects': defects_of(message),
        'parts': [],
    }
    for part in message.walk():
        result['defects'] += defects_of(part)
        if part.is_multipart():
            continue
        result['parts'].append({
            'type': part.get_content_type(),
            'charset': part.get_content_charset() or '',
            'content_id': str(part['Content-ID'] or ''),
            'filename': part.get_filename() or '',
            'payload': base64.b64encode(part.get_payload(decode=True)).decode('ascii'),
        })
    print(json.dumps(result), flush=True)


if __name__ == '__main__':
    main()
