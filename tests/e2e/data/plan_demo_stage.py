#!/usr/bin/env python3
"""Plans the flight of demo_stage.txt: a scripted input that plays the demo stage to its end
without losing a ship.

The run is deterministic for a seed and an input, so the plan is found by trying: the stage
is cut into segments of SEGMENT frames; for each one the candidate moves are ordered by how
close they bring the ship under its target (the boss, else the nearest enemy above it) and
how far they keep it from the bullets and enemies of the last state dump, extrapolated in a
straight line. Each candidate is played from frame 1 with the real binary a little past the
segment; the first one after which the ship is still alive is kept. When none is, the
previous segment takes its next candidate.

    plan_demo_stage.py BUILD/orvan BUILD/demo/Data tests/e2e/data/demo_stage.txt
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

SEED = 1
START_PRESS = 100    # "GAME START " is the first item of the title menu
FIRE_FROM = 150      # held from the title fade-out on, so the first volley comes at once
FIRST_PLAY = 206     # the first GamePlay frame after the fades
SEGMENT = 20
LOOK_AHEAD = 12      # frames after a segment the ship must still be alive
FIRE_TAIL = 9        # frames of fire kept after the stage ends (the title menu waits longer)
SHIP_SPEED = 4.0
BOSS_KINDS = (12, 13)
BARRIER_KIND = 11    # stops shots: not worth chasing
DIRS = {'': (0, 0), 'LEFT': (-1, 0), 'RIGHT': (1, 0), 'UP': (0, -1), 'DOWN': (0, 1),
        'LEFT UP': (-.7071, -.7071), 'UP RIGHT': (.7071, -.7071),
        'RIGHT DOWN': (.7071, .7071), 'DOWN LEFT': (-.7071, .7071)}


class Game:
    def __init__(self, binary, data, work):
        self.binary, self.data, self.work = binary, data, work

    def run(self, lines, frames, dumps):
        script = os.path.join(self.work, 'in.txt')
        with open(script, 'w') as f:
            f.write('\n'.join(lines) + '\n')
        args = [self.binary, '--headless', '--data', self.data, '--frames', str(frames),
                '--seed', str(SEED), '--input', script]
        for d in dumps:
            args += ['--dump-state', '%d:%s/d%d.json' % (d, self.work, d)]
        subprocess.run(args, capture_output=True, check=True)
        out = {}
        for d in dumps:
            name = '%s/d%d.json' % (self.work, d)
            if os.path.exists(name):
                with open(name) as f:
                    out[d] = json.load(f)
                os.remove(name)
        return out


def spans(plan):
    """Merges the planned moves into the input script's spans."""
    out = []
    for i, (keys, frames) in enumerate(plan):
        first = FIRST_PLAY + i * SEGMENT
        if not keys or frames == 0:
            continue
        if out and out[-1][2] == keys and out[-1][1] == first - 1:
            out[-1] = (out[-1][0], first + frames - 1, keys)
        else:
            out.append((first, first + frames - 1, keys))
    return out


def script(plan, fire_to=99999, extra=()):
    lines = ['%d X' % START_PRESS, '%d-%d X' % (FIRE_FROM, fire_to)]
    lines += ['%d-%d %s' % s for s in spans(plan)]
    return lines + list(extra)


def path_of(state, keys, frames, total):
    x, y = state['player']['x'], state['player']['y']
    dx, dy = DIRS[keys]
    out = []
    for t in range(total):
        if t < frames:
            x = min(416.0, max(0.0, x + dx * SHIP_SPEED))
            y = min(480.0, max(0.0, y + dy * SHIP_SPEED))
        out.append((x, y))
    return out


def clearance(state, path):
    best = 999.0
    for t, (x, y) in enumerate(path, 1):
        for b in state['bullets']:
            if b['side'] == 0:
                best = min(best, max(abs(b['x'] + b['vx'] * t - x), abs(b['y'] + b['vy'] * t - y)))
        for e in state['enemies']:
            gap = max(abs(e['x'] + e['vx'] * t - x) - e['halfWidth'],
                      abs(e['y'] + e['vy'] * t - y) - e['halfHeight'])
            best = min(best, gap + 4)
    return best


def target_x(state):
    ship = state['player']
    bosses = [e for e in state['enemies'] if e['kind'] in BOSS_KINDS]
    if bosses:
        return bosses[0]['x']
    above = [e for e in state['enemies'] if e['kind'] != BARRIER_KIND and 0 < e['x'] < 416
             and 0 < e['y'] < ship['y'] - 60]
    if above:
        return min(above, key=lambda e: abs(e['x'] - ship['x']))['x']
    return 208.0


def candidates(state):
    tx, ty = target_x(state), 440.0
    scored = []
    for keys in DIRS:
        for frames in ((SEGMENT, SEGMENT // 2, SEGMENT // 4) if keys else (0,)):
            path = path_of(state, keys, frames, SEGMENT + LOOK_AHEAD)
            x, y = path[SEGMENT - 1]
            cost = abs(x - tx) + 0.5 * abs(y - ty) + max(0.0, 12 - clearance(state, path)) * 40
            scored.append((cost, (keys, frames)))
    scored.sort(key=lambda c: c[0])
    return [move for _, move in scored]


def survived(before, after):
    return after is not None and after['player']['alive'] and \
        after['player']['lives'] >= before['player']['lives']


def plan_stage(game):
    plan, states, options = [], [], []
    states.append(game.run(script(plan), FIRST_PLAY - 1, [FIRST_PLAY - 1])[FIRST_PLAY - 1])
    while True:
        i = len(plan)
        first = FIRST_PLAY + i * SEGMENT
        state = states[i]
        if state['scene']['stageEnded'] or state['states'][0] != 11:
            return plan, first - 1
        if len(options) <= i:
            options.append(candidates(state))
        kept = None
        while options[i] and kept is None:
            keys, frames = options[i].pop(0)
            extra = []
            if keys and frames == SEGMENT:  # the look-ahead keeps a full-length move going
                extra = ['%d-%d %s' % (first + SEGMENT, first + SEGMENT + LOOK_AHEAD - 1, keys)]
            end, last = first + SEGMENT - 1, first + SEGMENT + LOOK_AHEAD - 1
            got = game.run(script(plan + [(keys, frames)], extra=extra), last, [end, last])
            if survived(state, got.get(end)) and survived(state, got.get(last)):
                kept = (keys, frames)
                states.append(got[end])
        if kept is None:
            if not plan:
                sys.exit('no flight survives the first segment')
            print('backing up from frame %d' % first, flush=True)
            options.pop()
            states.pop()
            plan.pop()
            continue
        plan.append(kept)
        print('frame %d: %s' % (first + SEGMENT - 1, kept), flush=True)


def boss_notes(game, plan, stage_end):
    """Finds the frames of the boss's appearance, its phase change and its death."""
    seen = {}
    first = stage_end - 1500
    states = game.run(script(plan), stage_end, range(first, stage_end + 1))
    kinds_before = ()
    for frame in range(first, stage_end + 1):
        kinds = tuple(e['kind'] for e in states[frame]['enemies'] if e['kind'] in BOSS_KINDS)
        if kinds != kinds_before:
            seen[frame] = kinds
        kinds_before = kinds
        if states[frame]['scene']['stageEnded'] and 'end' not in seen:
            seen['end'] = frame
    return seen


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    binary, data, out = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        copy = os.path.join(work, 'Data')
        shutil.copytree(data, copy)
        for own in ('Score.bin', 'Setting.bin'):
            if os.path.exists(os.path.join(copy, own)):
                os.remove(os.path.join(copy, own))
        game = Game(binary, copy, work)
        plan, stage_end = plan_stage(game)
        changes = boss_notes(game, plan, stage_end)
    end = changes.pop('end')
    notes = {}
    for frame, kinds in sorted(changes.items()):
        if kinds == (BOSS_KINDS[0],):
            notes[frame] = '# %d: the boss appears; the scene holds until its last phase dies' % frame
        elif kinds == (BOSS_KINDS[1],):
            notes[frame] = '# %d: the first phase dies and the final phase takes over' % frame
        elif not kinds:
            notes[frame] = '# %d: the final phase dies; the stage ends in frame %d' % (frame, end)
    lines = ['# The demo stage played from the title to the end of the stage, with --seed %d.' % SEED,
             '# Frame %d decides "GAME START "; play begins in frame %d. X is held throughout for'
             % (START_PRESS, FIRST_PLAY),
             '# fire and released before the title menu reopens after the stage; the arrow spans',
             '# dodge every bullet and enemy, so no ship is lost and no bomb is used.',
             '# Made with plan_demo_stage.py beside this file; rerun it when the game changes.',
             '%d X' % START_PRESS, '%d-%d X' % (FIRE_FROM, end + FIRE_TAIL)]
    pending = sorted(notes)
    for first, last, keys in spans(plan):
        while pending and pending[0] <= first:
            lines.append(notes[pending.pop(0)])
        lines.append('%d-%d %s' % (first, last, keys))
    lines += [notes[p] for p in pending]
    with open(out, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
