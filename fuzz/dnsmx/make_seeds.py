#!/usr/bin/env python3
"""Writes seed replies of fuzz_dnsmx into corpus/ (run from anywhere): MX answers with and
without name compression, an address answer through a CNAME, and an empty answer."""
import os
import struct

def name(text):
    return b''.join(bytes([len(label)]) + label.encode() for label in text.split('.')) + b'\0'

def header(answers, flags=0x8180):
    return struct.pack('>HHHHHH', 0x1234, flags, 1, answers, 0, 0)

def record(owner, rtype, data):
    return owner + struct.pack('>HHIH', rtype, 1, 300, len(data)) + data

def question(qname, qtype):
    return name(qname) + struct.pack('>HH', qtype, 1)

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
os.makedirs(here, exist_ok=True)
pointer = b'\xc0\x0c'  # the name of the question
seeds = {
    'mx-plain': header(3) + question('example.test', 15)
        + record(pointer, 15, struct.pack('>H', 20) + name('mx20.example.test'))
        + record(pointer, 15, struct.pack('>H', 10) + name('first.example.test'))
        + record(pointer, 15, struct.pack('>H', 10) + name('second.example.test')),
    'mx-compressed': header(2) + question('example.test', 15)
        + record(pointer, 15, struct.pack('>H', 5) + b'\x02mx' + pointer)
        + record(pointer, 15, struct.pack('>H', 0) + b'\0'),
    'a-through-cname': header(2) + question('mx.example.test', 1)
        + record(pointer, 5, name('real.example.test'))
        + record(name('real.example.test'), 1, bytes([127, 0, 0, 9])),
    'no-answer': header(0, 0x8183) + question('unknown.test', 15),
}
for key, value in seeds.items():
    with open(os.path.join(here, key), 'wb') as out:
        out.write(value)
