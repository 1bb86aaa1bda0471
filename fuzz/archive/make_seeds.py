#!/usr/bin/env python3
"""Writes the seed archives of fuzz_archive into corpus/ (run from anywhere)."""
import os
import struct

def i32(v):
    return struct.pack('<i', v)

def text(b):
    return i32(len(b)) + b

def header(utf8, tag, major, minor):
    return i32(0x5A515053) + bytes([1 if utf8 else 0]) + text(tag) + i32(major) + i32(minor) \
        + text(b'Kelvora') + i32(1) + i32(0)

class Graph:
    """Numbers objects and classes the way the archive does."""
    def __init__(self):
        self.objects = 0
        self.classes = {}

    def new(self, name):
        self.objects += 1
        out = i32(self.objects)
        if name in self.classes:
            return out + i32(self.classes[name])
        self.classes[name] = len(self.classes) + 1
        return out + i32(self.classes[name]) + i32(1) + text(name)

    def values(self, number, utf8_text, time, rect=(1, 2, 4, 6)):
        return self.new(b'CFuzzValues') + b'A' + b'\x01' + i32(number) + struct.pack('<f', 2.5) \
            + i32(3) + i32(-4) + i32(640) + i32(480) + b''.join(i32(e) for e in rect) \
            + text(b'CNdbUser') + text(utf8_text) + b''.join(i32(f) for f in time)

    def node(self, id, children=(), raw=(), values=(), raw_values=(), single=None, up=0, any=0,
             note=None, new=True):
        out = self.new(b'CFuzzNode') if new else b''
        out += i32(id)
        out += i32(len(children)) + b''.join(c() for c in children)
        out += i32(len(raw)) + b''.join(c() for c in raw)
        out += i32(len(values)) + b''.join(text(k) + v() for k, v in values)
        out += i32(len(raw_values)) + b''.join(text(k) + v() for k, v in raw_values)
        out += single() if single else i32(0)
        out += i32(up) + i32(any)
        if note is not None:
            out += text(note)
        return out

NORMAL = (2026, 7, 14, 9, 5, 59)
MARKER = (0, 0, 0, -1, -1, -1)
GAP = (2026, 3, 29, 2, 30, 0)

def graph_with_cycles():
    g = Graph()
    body = g.node(
        0, note=b'root', new=False,
        children=[
            lambda: g.node(1, note=b'a', children=[
                lambda: g.values(7, 'Gr\u00fc\u00dfe \u20ac'.encode(), NORMAL),
                lambda: g.node(2, note=b'b', up=1, any=2),
                lambda: g.node(3, note=b'c', up=1, any=1, single=lambda: g.values(8, b'x\0y', MARKER)),
            ]),
            lambda: i32(0),
        ],
        raw=[lambda: g.node(4, note=b'd')],
        any=3)
    return header(True, b'FUZZ', 1, 1) + body

def graph_with_maps():
    g = Graph()
    body = g.node(
        0, new=False,
        values=[(b'b', lambda: g.values(1, b'first', GAP)), (b'a', lambda: g.values(2, b'', NORMAL)),
                (b'b', lambda: g.values(3, b'duplicate', NORMAL)), (b'c', lambda: i32(0))],
        raw_values=[(b'k', lambda: g.values(4, b'raw', MARKER, rect=(-2147483648, 0, -2147483648, 5)))],
        any=1)
    return header(True, b'FUZZ', 1, 0) + body

def ansi_graph():
    g = Graph()
    body = g.node(0, new=False, note=b'\x93Caf\xe9\x94',
                  children=[lambda: g.values(5, b'\x80 \x9f \xff', NORMAL)])
    return header(False, b'K\x80N', 1, 1) + body

def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
    os.makedirs(folder, exist_ok=True)
    for name, data in (('cycles', graph_with_cycles()), ('maps', graph_with_maps()),
                       ('ansi', ansi_graph())):
        with open(os.path.join(folder, name + '.kva'), 'wb') as f:
            f.write(data)

main()
