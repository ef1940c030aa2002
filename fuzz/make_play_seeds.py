#!/usr/bin/env python3
"""Writes the seeds of fuzz_play into fuzz/corpus/fuzz_play/.

Each seed is a small game in the byte format that fuzz_play.cpp reads (keep the two in step):
an options byte, four bytes of random seed, then records, each a tag byte and its fields.
Values are written so that the target's Pick and Wide give them back. Run it again after
changing it; the files are committed. Findings of the fuzzer are kept beside these seeds.
"""
import os
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_play")

# Picture and sound numbers index the fixed lists of fuzz_play.cpp.
PICTURES = ["Frame.png", "Sprite13.png", "Sprite16.png", "Sprite23.png"]
SOUNDS = ["alaw.wav", "chunks.wav", "encoded.ogg", "extensible.wav", "float32.wav",
          "floor_only.ogg", "headers_only.ogg", "ima_adpcm.wav", "ms_adpcm.wav", "mulaw.wav",
          "pcm_s16_stereo.wav", "pcm_s24.wav", "pcm_s32.wav", "pcm_u8.wav", "residue.ogg",
          "stereo.ogg"]

# Tags
GLOBAL, SPRITE, SOUND, PLAYER, BULLET, ITEM, ENEMY, SCENE, RAW, KEYS = 0, 1, 2, 3, 4, 5, 6, 8, 10, 11
# Key bits
UP, DOWN, LEFT, RIGHT, X, Z, ESC = 1, 2, 4, 8, 16, 32, 64
EXTREME = {-2**31: 0xF0, 2**31 - 1: 0xF1}


class Seed:
    def __init__(self, options=0, seed=1):
        self.b = bytearray([options]) + seed.to_bytes(4, "little")

    def u8(self, v):
        self.b.append(v & 0xFF)
        return self

    def pick(self, v, lo, hi):
        if v in EXTREME:
            return self.u8(EXTREME[v])
        assert lo <= v <= hi and v - lo < 0xF0, (v, lo, hi)
        return self.u8(v - lo)

    def wide(self, v, lo, hi):
        if v in EXTREME:
            return self.u8(EXTREME[v])  # an extreme takes one byte
        assert lo <= v <= hi
        return self.u8((v - lo) >> 8).u8((v - lo) & 0xFF)

    def global_(self, scene_start=0, title=b"Seed"):
        self.u8(GLOBAL).pick(scene_start, -3, 20).u8(len(title))
        self.b += title
        return self

    def sprite(self, n, picture, animate=0, fw=32, fh=32, count=4, step=10):
        self.u8(SPRITE).pick(n, 0, 23).u8(animate).pick(fw, 0, 64).pick(fh, 0, 64)
        return self.pick(count, 0, 16).pick(step, -1, 30).u8(picture)

    def sound(self, n, name, stream=0, volume=200, loop=0):
        index = SOUNDS.index(name) if name else len(SOUNDS)
        return self.u8(SOUND).pick(n, 0, 15).u8(stream).pick(volume, 0, 255).u8(loop).u8(index)

    def player(self, speed=40, life=3, bombs=2, radius=2, invincible=0):
        self.u8(PLAYER).pick(speed, -10, 100).pick(life, 0, 5).pick(bombs, 0, 5)
        return self.pick(radius, 0, 16).u8(invincible)

    def bullet(self, n, sprite, radius=3, direction=0, sound=-1):
        self.u8(BULLET).pick(n, 0, 15).pick(sprite, 0, 23).pick(radius, 0, 32)
        return self.pick(direction, 0, 3).pick(sound, -1, 15)

    def item(self, n, sprite, attribute=0, score=50):
        return self.u8(ITEM).pick(n, 0, 15).pick(sprite, 0, 23).pick(attribute, 0, 4).pick(
            score, 0, 1000)

    def enemy(self, n, actions, sprite=13, contact=1, response=0, score=100, durability=3,
              direction=0, explosion=1, successor=-1, bomb=1, hit=(-1, -1), drops=0, kinds=(),
              ground=0):
        self.u8(ENEMY).pick(n, 0, 15).pick(sprite, 0, 23).u8(contact).pick(response, 0, 3)
        self.pick(score, 0, 1000).pick(durability, -1, 50).pick(direction, 0, 3).u8(explosion)
        self.pick(successor, -1, 15).pick(bomb, 0, 10).pick(hit[0], -1, 32).pick(hit[1], -1, 32)
        self.u8(len(actions))
        for a in actions:
            self.action(**a)
        self.pick(drops, 0, 10).u8(len(kinds))
        for k in kinds:
            self.pick(k, -1, 15)
        return self.pick(ground, -5, 5)

    def action(self, command, a=0, b=0, extra=0, target=0, which=0, speed=30, speed_jitter=0,
               interval=10, count=3, count_jitter=0, spacing=15, spacing_jitter=0,
               angle_jitter=0, mode=0, angle=0):
        self.pick(command, 0, 30).wide(a, -100, 600).wide(b, -100, 600).pick(extra, 0, 8)
        self.pick(target, 0, 2).pick(which, 0, 15).pick(speed, -10, 100)
        self.pick(speed_jitter, 0, 20).pick(interval, 0, 60).pick(count, 0, 64)
        self.pick(count_jitter, 0, 5).pick(spacing, -30, 180).pick(spacing_jitter, 0, 10)
        return self.pick(angle_jitter, 0, 30).pick(mode, 0, 6).wide(angle, -360, 360)

    def scene(self, *commands):
        self.u8(SCENE).u8(len(commands))
        for c in commands:
            code = c[0]
            self.pick(code, 0, 9)
            if code == 0:
                self.pick(c[1], 0, 120)
            elif code == 1:
                self.pick(c[1], 0, 23)
            elif code == 2:
                self.pick(c[1], -50, 50)
            elif code == 3:
                kind, edge, at, speed, angle, wait = c[1:]
                self.pick(kind, 0, 15).pick(edge, 0, 4).wide(at, -50, 500).pick(speed, -10, 100)
                self.wide(angle, 0, 360).pick(wait, 0, 1)
            else:
                self.pick(c[1] if len(c) > 1 else -1, -1, 15)
        return self

    def raw(self, name_index, number, data):
        self.u8(RAW).u8(name_index).pick(number, 0, 15).u8((len(data) + 1) // 2)
        self.b += data
        return self

    def keys(self, *spans):
        self.u8(KEYS).u8(len(spans))
        for frames, bits in spans:
            self.u8(frames).u8(bits)
        return self


def cmd(command, **fields):
    return dict(command=command, **fields)


def base(options=0, seed=1):
    # Title picture, the ship's three frames, the effect, the background; a shot and an item.
    s = Seed(options, seed).global_()
    for n, picture in [(0, 2), (1, 3), (2, 3), (3, 3), (5, 3), (6, 3), (7, 2), (8, 2)]:
        s.sprite(n, picture)
    s.sprite(5, 1, animate=1, fw=16, fh=16, count=4, step=2)
    s.sprite(13, 1).sprite(16, 2).sprite(23, 3)
    s.bullet(0, 23, radius=3).bullet(1, 23, radius=2, direction=1)
    s.item(1, 23, attribute=0).item(2, 23, attribute=1).item(3, 23, attribute=2)
    for n, name in [(2, "pcm_u8.wav"), (3, "ima_adpcm.wav"), (7, "ms_adpcm.wav"),
                    (9, "floor_only.ogg"), (10, "residue.ogg")]:
        s.sound(n, name, stream=1 if name.endswith(".ogg") else 0, loop=int(n in (9, 10)))
    return s.player()


def seeds():
    out = {}
    fan = [cmd(5), cmd(0, a=20), cmd(15, a=40, extra=2, which=1, count=5, spacing=12, mode=1),
           cmd(14, a=10), cmd(27, a=60, extra=4, spacing=30, interval=20), cmd(24)]
    out["fan_and_ring"] = base().enemy(0, fan, drops=3, kinds=(1, 2)).scene(
        (3, 0, 2, 200, 20, 90, 0), (0, 30), (3, 0, 2, 100, 20, 90, 0), (0, 60), (8,)).keys(
        (40, X | LEFT), (40, X | RIGHT), (20, X | UP), (10, Z))
    child = [cmd(0, a=10), cmd(1, a=90), cmd(16, a=30), cmd(15, a=100)]
    spawner = [cmd(25, a=1), cmd(15, a=5, extra=3, target=1, which=2, count=4, angle_jitter=30,
                                 interval=5),
               cmd(26, a=1, b=3), cmd(17, a=300, b=100), cmd(18), cmd(24)]
    out["children_and_successors"] = base(seed=7).enemy(2, child, durability=0, explosion=1,
                                                        drops=2, kinds=(3,)).enemy(
        1, spawner, successor=3, durability=5).enemy(
        3, [cmd(21, a=5), cmd(15, a=20, extra=5, which=0, spacing=13, interval=2),
            cmd(23, a=180, b=40), cmd(22, a=90, b=20), cmd(24)], successor=-1).scene(
        (3, 1, 2, 208, 10, 90, 1), (7,), (3, 1, 0, 100, 10, 0, 0), (0, 100), (8,)).keys(
        (60, X), (20, X | Z), (60, X | DOWN | LEFT))
    out["boss_waits"] = base(seed=3).enemy(
        4, [cmd(19, a=208, b=80), cmd(11), cmd(12, a=5), cmd(15, a=30, extra=6, spacing=45,
                                                           angle_jitter=7, interval=3),
            cmd(13), cmd(25, a=2), cmd(14, a=5, extra=1), cmd(26, a=2, b=2), cmd(10)],
        durability=40, successor=5, bomb=10, hit=(20, 10)).enemy(
        5, [cmd(28, a=100, extra=7, which=2), cmd(0, a=5)], durability=1, response=2).scene(
        (1, 16), (2, 10), (4, 9), (3, 4, 2, 208, 0, 90, 1), (6, 2), (5,), (3, 5, 3, 50, 30, 270, 1),
        (8,)).keys((100, X), (5, Z), (100, X | RIGHT))
    out["from_title"] = base(options=0x07, seed=11).enemy(0, fan).scene(
        (3, 0, 2, 208, 20, 90, 0), (0, 120)).keys(
        (90, 0), (3, X), (60, 0), (6, DOWN), (3, X), (30, 0), (3, X), (20, 0), (3, X), (40, 0),
        (6, DOWN), (3, X), (30, 0), (3, X), (80, X), (3, ESC), (20, 0), (3, X))
    out["damaged_files"] = base(seed=5).raw(7, 0, bytes(range(40))).raw(2, 0, b"\x03\x00\x00\x00"
                                                                      * 9).raw(
        4, 9, b"\xff" * 30).raw(10, 13, b"\x89PNG\r\n\x1a\n" + bytes(20)).raw(
        0, 0, b"\x05\x00\x00\x00\xff\xff\xff\x7fab").scene((3, 0, 1, 240, 30, 180, 0))
    out["extremes"] = base(seed=0xFFFFFFFF).enemy(
        6, [cmd(15, a=2**31 - 1, extra=3, which=6, target=1, count=2**31 - 1, interval=0),
            cmd(26, a=-2**31, b=2**31 - 1), cmd(23, a=2**31 - 1, b=-2**31)],
        durability=2**31 - 1, successor=6, drops=2**31 - 1, kinds=(2**31 - 1, 1),
        hit=(-2**31, 2**31 - 1)).scene((3, 6, 2, 208, 0, 90, 1), (0, 2**31 - 1))
    # Every pool full: spreads of bullets and of child enemies, and drops, into full pools.
    spray = [cmd(15, a=600, extra=3, which=0, count=64, interval=0, angle_jitter=30),
             cmd(24)]
    brood = [cmd(25, a=1), cmd(15, a=3, extra=3, target=1, which=8, count=40, interval=0),
             cmd(26, a=1, b=50)]
    out["full_pools"] = base(seed=9).enemy(7, spray, durability=0, drops=10, kinds=(1, 2, 3),
                                           contact=0, hit=(30, 30)).enemy(
        8, brood[:1] + [cmd(15, a=2, extra=2, which=0, count=8, spacing=40, interval=0)],
        durability=0, drops=10, kinds=(-1, 1), contact=0).enemy(9, brood, durability=50).scene(
        (3, 7, 2, 100, 5, 90, 0), (3, 7, 2, 300, 5, 90, 0), (3, 9, 2, 208, 5, 90, 0), (0, 100),
        (7,), (0, 30), (8,)).player(invincible=1).keys((200, X), (10, Z | X))
    # Found by the fuzzer: a shot's sprite with frame sizes at the ends of int32 overflowed
    # the bullet's off-screen margins (the input itself was lost; this one does the same).
    out["crash-bullet-margin-overflow"] = base(seed=4).sprite(
        23, 3, fw=2**31 - 1, fh=-2**31).sprite(13, 1, fw=-2**31, fh=2**31 - 1).bullet(
        2, 13).enemy(0, [cmd(15, a=100, extra=2, which=2, count=3, interval=5)]).scene(
        (3, 0, 2, 208, 10, 90, 0)).keys((200, X))
    out["upgrade_layout"] = Seed(options=0xC0, seed=2).keys((10, X))
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, seed in sorted(seeds().items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(seed.b)
        print(f"{name}: {len(seed.b)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
