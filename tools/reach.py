#!/usr/bin/env python3
"""Prints the functions of the class library's archives that no root of the program reaches.

Arguments: the program's objects and archives, built with one section per function. A section is
reached from wWinMain or a static initialiser through the relocations of reached sections; unwind
and debug sections do not count, since they point at every function.
"""
import collections
import re
import subprocess
import sys

UNWIND_OR_DEBUG = ('.pdata', '.xdata', '.debug', '.eh_frame')
STATIC_INIT = ('.ctors', '.init_array', '.CRT')
ENTRY_POINTS = ('wWinMain', 'WinMain', 'main', 'wmain')
EXTERNAL = 2  # COFF storage class of an external symbol


def objdump(flag, path):
    """Yields (member, line) for every line objdump prints about each member of path."""
    member = None
    out = subprocess.run(['objdump', flag, path], capture_output=True, text=True).stdout
    for line in out.splitlines():
        header = re.match(r'^(\S+):\s+file format', line)
        if header:
            member = (path, header.group(1))
        elif member:
            yield member, line


def read_objects(paths):
    objects = collections.defaultdict(lambda: {'sections': {}, 'symbols': [], 'relocs': collections.defaultdict(list)})
    for path in paths:
        for member, line in objdump('-h', path):
            m = re.match(r'^\s*(\d+)\s+(\S+)\s+[0-9a-f]+', line)
            if m:
                objects[member]['sections'][int(m.group(1)) + 1] = m.group(2)
        for member, line in objdump('-t', path):
            m = re.match(r'^\[\s*\d+\]\(sec\s+(-?\d+)\).*\(scl\s+(\d+)\).*0x[0-9a-f]+ (\S+)$', line)
            if m:
                objects[member]['symbols'].append((int(m.group(1)), int(m.group(2)), m.group(3)))
        section = None
        for member, line in objdump('-r', path):
            m = re.match(r'^RELOCATION RECORDS FOR \[(.*)\]:', line)
            if m:
                section = m.group(1)
                continue
            m = re.match(r'^[0-9a-f]+\s+\S+\s+(\S+)', line)
            if m and section:
                objects[member]['relocs'][section].append(re.sub(r'[+-]0x[0-9a-f]+$', '', m.group(1)))
    return objects


def symbol_tables(objects):
    """External symbols by name (every definition), and each member's own names."""
    external = collections.defaultdict(list)
    local = {}
    for member, o in objects.items():
        names = {s: (member, s) for s in o['sections'].values()}
        for number, storage, name in o['symbols']:
            if number > 0:
                node = (member, o['sections'].get(number, '?'))
                names[name] = node
                if storage == EXTERNAL:
                    external[name].append(node)
        local[member] = names
    return external, local


def reached_sections(objects, external, local):
    roots = [(m, s) for m, o in objects.items() for s in o['sections'].values() if s.startswith(STATIC_INIT)]
    for entry in ENTRY_POINTS:
        roots += external.get(entry, [])
    seen, todo = set(roots), list(roots)
    while todo:
        member, section = todo.pop()
        if section.startswith(UNWIND_OR_DEBUG):
            continue
        for name in objects[member]['relocs'].get(section, []):
            targets = external.get(name) or ([local[member][name]] if name in local[member] else [])
            for target in targets:
                if target not in seen:
                    seen.add(target)
                    todo.append(target)
    return {section for _, section in seen}


def main(paths):
    objects = read_objects(paths)
    reached = reached_sections(objects, *symbol_tables(objects))
    unreached = sorted({s[len('.text$'):] for (path, _), o in objects.items() if 'classlib' in path
                        for s in o['sections'].values() if s.startswith('.text$') and s not in reached})
    if unreached:
        names = subprocess.run(['c++filt'] + unreached, capture_output=True, text=True).stdout.splitlines()
        print('\n'.join(sorted(set(names))))


if __name__ == '__main__':
    main(sys.argv[1:])
