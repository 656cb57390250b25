#!/usr/bin/env python3
"""The largest contributors to a MinGW link: bytes of every input section the linker kept,
summed per library (or per object file linked on its own), from the map of ld -Map.
    map-contributors.py OvraSFX.map [COUNT]"""
import collections
import re
import sys

SECTION = re.compile(r'^ (\.\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')
NAME_ONLY = re.compile(r'^ (\.\S+)\s*$')


def contributors(lines):
    sizes = collections.Counter()
    in_map = False
    pending = None
    for line in lines:
        if line.startswith('Linker script and memory map'):
            in_map = True
            continue
        if not in_map:
            continue
        name = NAME_ONLY.match(line)
        if name:
            pending = name.group(1)
            continue
        section = SECTION.match(line)
        if section and (section.group(1) or pending):
            address, size, origin = int(section.group(2), 16), int(section.group(3), 16), section.group(4)
            # Address 0 marks a section the link dropped; the rest are kept.
            if address and size:
                path = re.sub(r'\(.*\)$', '', origin.strip())
                name = path.rsplit('/', 1)[-1]
                # Code optimised at link time comes from the optimiser's own objects.
                if name.endswith('.ltrans.o'):
                    name = 'own code (link-time optimised)'
                elif name == 'objects.a':
                    name = 'entry point and resources'
                elif name == 'dll stuff':
                    name = 'import tables'
                sizes[name] += size
        pending = None
    return sizes


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with open(sys.argv[1], errors='replace') as stream:
        sizes = contributors(stream)
    for library, size in sizes.most_common(count):
        print(f'   {library:<28} {size:9d} bytes')


if __name__ == '__main__':
    main()
