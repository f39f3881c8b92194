#!/usr/bin/env python3
"""cave2round: a cave map becomes the records of a round, and a bad map is named, not guessed."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'tools', 'rounds'))
import cave2round  # noqa: E402  (the tool's folder is not a package)

SMALL = """# a comment
note A small cave.
colour 0x102030
time 45
enemy H ENEMY1 -1 2
map
11111111
1aaS..51
1aE.H.51
1P....51
1..GG.51
11111111
"""


def records(text):
    return [line for line in cave2round.make_round(text, 'R7.cave').split('\n')
            if line and not line.startswith('#')]


class MakeRound(unittest.TestCase):
    def test_records_come_in_the_order_the_game_needs(self):
        self.assertEqual(records(SMALL), [
            'ROUNDRANGE 8 6 0x102030 0 45',
            # the far wall, and under the ship and the capsule that of their left neighbours
            'BMPBOX 1 1 3 1 1 -1',
            'BMPBOX 1 2 2 2 1 -1',
            # rock in greedy rectangles, row by row
            'ROCK 0 0 7 0 1',
            'ROCK 0 1 0 5 1',
            'ROCK 6 1 6 4 5',
            'ROCK 7 1 7 5 1',
            'ROCK 1 5 6 5 1',
            'MYSHIP 3 1',
            'GOAL 3 4',
            'ENERGY 2 2',
            'RESQ 1 3',
            'ENEMY1 4 2 -1 2',
        ])

    def test_the_header_names_the_cave_and_how_to_remake_the_round(self):
        made = cave2round.make_round(SMALL, 'rounds/caves/R7.cave')
        self.assertTrue(made.startswith('# A small cave.\n# Made from caves/R7.cave'))
        self.assertIn('rounds/caves/R7.cave rounds/R7.txt', made)

    def test_a_bad_cave_is_named(self):
        cases = [
            (SMALL.replace('1P....51', '1P..Z.51'), 'unknown letter "Z" at row 4, column 5'),
            (SMALL.replace('GG', 'G.'), 'the pad is one "GG"'),
            (SMALL.replace('S', '.'), 'needs the ship "S" and the pad "GG"'),
            (SMALL.replace('time 45\n', ''), 'no time allowance'),
            (SMALL.replace('colour 0x102030', 'colour'), 'cannot read "colour"'),
            (SMALL.split('map')[0], 'no map'),
        ]
        for text, message in cases:
            with self.assertRaises(cave2round.CaveError) as caught:
                cave2round.make_round(text, 'R7.cave')
            self.assertIn(message, str(caught.exception))


if __name__ == '__main__':
    sys.exit(unittest.main())
