#!/usr/bin/env python3
"""Writes the seed records of fuzz_ndb into corpus/ (run from anywhere)."""
import os
import struct

def i32(v):
    return struct.pack('<i', v)

def f32(v):
    return struct.pack('<f', v)

def text(b):
    return i32(len(b)) + b

def obj(index, class_index, name=None):
    """An object pointer: its index, its class index, and key and name on the class's first use."""
    out = i32(index) + i32(class_index)
    return out + (i32(1) + text(name) if name else b'')

def fields(kind, items):
    return i32(kind) + i32(len(items)) + b''.join(i32(i) + v for i, v in items)

def colour(kind, rgba, key):
    return i32(kind) + struct.pack('<I', rgba) + text(key)

def style():
    return obj(1, 1, b'CNdbStyle') + fields(12, [
        (1, i32(0) + i32(1)),
        (100, i32(3) + text(b'Heading 1')),
        (110, i32(3) + text(b'h1')),
        (210, i32(200) + f32(12.5) + i32(1)),
        (310, i32(330) + i32(1)),
        (370, i32(1) + i32(6)),
        (400, i32(210) + colour(2, 0xFF000000, b'{6B1F0C2A-0000-4000-8000-000000000001}')),
        (900, i32(210) + colour(1, 0x80FF0000, b'')),
        (940, i32(500) + i32(3)),
        (950, i32(200) + f32(15) + i32(10)),
        (1200, i32(4) + b''.join(i32(f) for f in (2026, 7, 14, 9, 5, 59))),
        (4242, i32(360)),
    ])

def palette():
    out = obj(1, 1, b'CNdbPalette') + fields(8, [(1, i32(3) + text(b'note'))]) + i32(3)
    out += obj(2, 2, b'CNdbPaletteColor') + colour(1, 0xFF3020A0, b'{A}') + text(b'Brand')
    out += i32(0)
    out += obj(3, 2) + colour(1, 0x80FFFFFF, b'{B}') + text(b'Accent')
    return out

def plain_colour():
    return obj(1, 1, b'CNdbColor') + colour(1, 0x04030201, b'')

def base():
    return obj(1, 1, b'CNdbBase') + i32(6)

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
os.makedirs(here, exist_ok=True)
for name, data in (('style.kvr', style()), ('palette.kvr', palette()), ('colour.kvr', plain_colour()),
                   ('base.kvr', base())):
    with open(os.path.join(here, name), 'wb') as f:
        f.write(data)
