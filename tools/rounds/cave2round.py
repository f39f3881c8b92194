#!/usr/bin/env python3
"""Turns a cave drawn as a map (rounds/caves/R<N>.cave) into the round's text form (rounds/R<N>.txt).

A cave file holds a few settings and then the map, one character per cell of the playable range:

    # a comment                      (lines of the map are never comments)
    note Round 1: First Flight. ...  a line for the header comment of the round file
    colour 0x201008                  the back colour, 0x00BBGGRR
    stars 0                          the starfield flag (-1 or 0)
    time 60                          the time allowance in seconds
    enemy H ENEMY1 1 2               a map letter for an enemy: keyword, Param3, Param4
    back k 5 -1                      a map letter for decoration: tile, shade flag
    rock R 3                         a map letter for rock of a tile
    map                              the map follows to the end of the file

Letters of the map, besides those the file defines:

    . or blank   open cave                 1 .. 6   rock of that tile
    a .. f       decoration of tile 1 .. 6, shaded: the cave's far wall, behind everything
    S  the ship's start    G  the pad (two cells, "GG")    E  a capsule    P  a person
    D  a loose block (ENEMY5)

A capsule, a person, the ship or an enemy stands in front of the decoration of the cell to its
left (else to its right), so that it is drawn over the same far wall as its surroundings.

Rock and decoration become as few rectangles as a greedy cover gives: each record one
rectangle of one tile. Records come in the order the game needs: the range, decoration (before
the capsules and people, which are composed over it), rock, the ship, the pad, capsules,
people, enemies (in map order, left to right and top to bottom).

    cave2round.py CAVE OUT.txt        writes the round
    cave2round.py --check CAVE TXT    fails when TXT is not what CAVE makes
"""

import os
import sys

ROCK = {str(t): t for t in range(1, 7)}
BACK = {chr(ord('a') + t - 1): (t, -1) for t in range(1, 7)}
OBJECTS = {'S', 'G', 'E', 'P'}  # and the enemies, 'D' among them


class CaveError(Exception):
    pass


def read_cave(text, name):
    settings = {'colour': '0x000000', 'stars': '0', 'time': None}
    notes, enemies, rocks, backs = [], {'D': ('ENEMY5', 0, 0)}, dict(ROCK), dict(BACK)
    lines = text.split('\n')
    for number, line in enumerate(lines, 1):
        words = line.split()
        if not words or words[0].startswith('#'):
            continue
        key = words[0]
        where = f'{name}:{number}'
        if key == 'map':
            rows = [row.rstrip('\n') for row in lines[number:]]
            while rows and not rows[-1].strip():
                rows.pop()
            return settings, notes, enemies, rocks, backs, rows
        if key == 'note':
            notes.append(line.split(None, 1)[1] if len(words) > 1 else '')
        elif key in ('colour', 'stars', 'time') and len(words) == 2:
            settings[key] = words[1]
        elif key == 'enemy' and len(words) == 5 and len(words[1]) == 1:
            enemies[words[1]] = (words[2], int(words[3]), int(words[4]))
        elif key == 'back' and len(words) == 4 and len(words[1]) == 1:
            backs[words[1]] = (int(words[2]), int(words[3]))
        elif key == 'rock' and len(words) == 3 and len(words[1]) == 1:
            rocks[words[1]] = int(words[2])
        else:
            raise CaveError(f'{where}: cannot read "{line.strip()}"')
    raise CaveError(f'{name}: no map')


def cover(cells, width, height):
    """Greedy rectangles over cells {(x, y): kind}: (x1, y1, x2, y2, kind), row by row."""
    taken = set()
    boxes = []
    for y in range(height):
        for x in range(width):
            kind = cells.get((x, y))
            if kind is None or (x, y) in taken:
                continue
            x2 = x
            while cells.get((x2 + 1, y)) == kind and (x2 + 1, y) not in taken:
                x2 += 1
            y2 = y
            while all(cells.get((i, y2 + 1)) == kind and (i, y2 + 1) not in taken
                      for i in range(x, x2 + 1)):
                y2 += 1
            for j in range(y, y2 + 1):
                for i in range(x, x2 + 1):
                    taken.add((i, j))
            boxes.append((x, y, x2, y2, kind))
    return boxes


def make_round(text, name):
    settings, notes, enemies, rocks, backs, rows = read_cave(text, name)
    if settings['time'] is None:
        raise CaveError(f'{name}: no time allowance ("time SECONDS")')
    height = len(rows)
    width = max(len(row) for row in rows) if rows else 0
    grid = [row.ljust(width) for row in rows]

    def at(x, y):
        return grid[y][x] if 0 <= x < width and 0 <= y < height else ' '

    rock_cells, back_cells = {}, {}
    ship, pad, capsules, people, foes = None, None, [], [], []
    for y in range(height):
        for x in range(width):
            c = at(x, y)
            if c in ('.', ' '):
                continue
            if c in rocks:
                rock_cells[(x, y)] = rocks[c]
            elif c in backs:
                back_cells[(x, y)] = backs[c]
            elif c == 'S':
                if ship is not None:
                    raise CaveError(f'{name}: more than one "S"')
                ship = (x, y)
            elif c == 'G':
                if at(x - 1, y) == 'G':
                    continue
                if at(x + 1, y) != 'G' or pad is not None:
                    raise CaveError(f'{name}: the pad is one "GG" (row {y + 1})')
                pad = (x, y)
            elif c == 'E':
                capsules.append((x, y))
            elif c == 'P':
                people.append((x, y))
            elif c in enemies:
                foes.append((x, y, enemies[c]))
            else:
                raise CaveError(f'{name}: unknown letter "{c}" at row {y + 1}, column {x + 1}')
    if ship is None or pad is None:
        raise CaveError(f'{name}: the map needs the ship "S" and the pad "GG"')

    # Objects stand in front of the far wall of their neighbours.
    for y in range(height):
        for x in range(width):
            if at(x, y) in OBJECTS or at(x, y) in enemies:
                for side in (x - 1, x + 1):
                    if (side, y) in back_cells:
                        back_cells[(x, y)] = back_cells[(side, y)]
                        break

    out = []
    base = os.path.basename(name)
    for note in notes:
        out.append(('# ' + note).rstrip())
    out.append(f'# Made from caves/{base} by tools/rounds/cave2round.py: change the cave, then run')
    out.append(f'# tools/rounds/cave2round.py rounds/caves/{base} rounds/'
               f'{os.path.splitext(base)[0]}.txt')
    out.append(f'ROUNDRANGE {width} {height} {settings["colour"]} {settings["stars"]} '
               f'{settings["time"]}')
    out.append('')
    out.append('# The far wall.')
    for x1, y1, x2, y2, (tile, shade) in cover(back_cells, width, height):
        out.append(f'BMPBOX {x1} {y1} {x2} {y2} {tile} {shade}')
    out.append('')
    out.append('# The rock.')
    for x1, y1, x2, y2, tile in cover(rock_cells, width, height):
        out.append(f'ROCK {x1} {y1} {x2} {y2} {tile}')
    out.append('')
    out.append(f'MYSHIP {ship[0]} {ship[1]}')
    out.append(f'GOAL {pad[0]} {pad[1]}')
    for x, y in capsules:
        out.append(f'ENERGY {x} {y}')
    for x, y in people:
        out.append(f'RESQ {x} {y}')
    if foes:
        out.append('')
    for x, y, (keyword, a, s) in foes:
        out.append(f'{keyword} {x} {y}' + (f' {a} {s}' if keyword != 'ENEMY5' else ''))
    return '\n'.join(out) + '\n'


def main(args):
    check = args[:1] == ['--check']
    if check:
        args = args[1:]
    if len(args) != 2:
        print(__doc__.split('\n\n')[-1], file=sys.stderr)
        return 2
    cave, target = args
    try:
        with open(cave, encoding='utf-8') as f:
            made = make_round(f.read(), cave)
    except (OSError, CaveError, ValueError) as error:
        print(error, file=sys.stderr)
        return 1
    if check:
        try:
            with open(target, encoding='utf-8') as f:
                same = f.read() == made
        except OSError:
            same = False
        if not same:
            print(f'{target} is not what {cave} makes: run '
                  f'tools/rounds/cave2round.py {cave} {target}', file=sys.stderr)
        return 0 if same else 1
    with open(target, 'w', encoding='utf-8') as f:
        f.write(made)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
