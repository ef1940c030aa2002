#!/usr/bin/env python3
"""Writes the small seeds of fuzz_sound into fuzz/corpus/fuzz_sound/.

Every seed is a few hundred bytes at most, so that the target runs thousands of inputs a
second from the start: one WAV file of each sample format the loader takes, a WAV with extra
and odd-sized chunks, and Ogg Vorbis streams built field by field with the smallest setup
header that is still valid (one or two codebooks, one floor, one residue, one mapping, one
mode). Run it again after changing it; the files are committed.
"""
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_sound")


# ---- WAV -------------------------------------------------------------------------------------

def chunk(tag, body):
    data = tag + struct.pack("<I", len(body)) + body
    return data + (b"\0" if len(body) & 1 else b"")


def wav(tag, channels, rate, bits, data, block=None, extra=b"", chunks_before=b""):
    block = block if block is not None else channels * max(bits, 8) // 8
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits)
    if extra:
        fmt += struct.pack("<H", len(extra)) + extra
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunks_before + chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wav_seeds():
    ramp16 = b"".join(struct.pack("<h", v) for v in range(-8000, 8000, 1000))
    seeds = {
        "pcm_u8.wav": wav(1, 1, 8000, 8, bytes(range(0, 256, 16))),
        "pcm_s16_stereo.wav": wav(1, 2, 22050, 16, ramp16),
        "pcm_s24.wav": wav(1, 1, 11025, 24, bytes(range(48))),
        "pcm_s32.wav": wav(1, 1, 44100, 32, bytes(range(64))),
        "float32.wav": wav(3, 1, 48000, 32,
                           b"".join(struct.pack("<f", v / 8.0) for v in range(-8, 8))),
        "alaw.wav": wav(6, 1, 8000, 8, bytes(range(0, 256, 8))),
        "mulaw.wav": wav(7, 2, 8000, 8, bytes(range(255, 0, -8))),
        # Extra chunks before the data, one of odd size with its pad byte.
        "chunks.wav": wav(1, 1, 8000, 16, ramp16,
                          chunks_before=chunk(b"LIST", b"INFOISFT\x03\0\0\0ab\0")
                          + chunk(b"fact", b"\x10\0\0\0")),
    }
    # WAVE_FORMAT_EXTENSIBLE with the PCM sub-format.
    pcm_guid = bytes.fromhex("0100000000001000800000aa00389b71")
    seeds["extensible.wav"] = wav(0xFFFE, 2, 16000, 16, ramp16,
                                  extra=struct.pack("<HI", 16, 3) + pcm_guid)
    # IMA ADPCM: one block of 8 samples (4-byte header, then 4 bytes of nibbles).
    ima_block = struct.pack("<hBB", 0, 10, 0) + bytes([0x17, 0x7F, 0x80, 0x35])
    seeds["ima_adpcm.wav"] = wav(0x11, 1, 8000, 4, ima_block, block=len(ima_block),
                                 extra=struct.pack("<H", 9))
    # Microsoft ADPCM: the seven standard coefficient pairs, one block of 16 samples.
    coefs = [(256, 0), (512, -256), (0, 0), (192, 64), (240, 0), (460, -208), (392, -232)]
    ms_extra = struct.pack("<HH", 16, len(coefs)) + b"".join(
        struct.pack("<hh", a, b) for a, b in coefs)
    ms_block = struct.pack("<Bhhh", 1, 16, 100, -100) + bytes([0x12, 0x34, 0xF0, 0x0F,
                                                               0x77, 0x88, 0x19, 0x91])
    seeds["ms_adpcm.wav"] = wav(2, 1, 8000, 4, ms_block, block=len(ms_block), extra=ms_extra)
    return seeds


# ---- Ogg Vorbis ------------------------------------------------------------------------------

class Bits:
    """Vorbis packs fields least significant bit first."""

    def __init__(self):
        self.out = bytearray()
        self.used = 0

    def put(self, value, count):
        for i in range(count):
            if self.used % 8 == 0:
                self.out.append(0)
            if (value >> i) & 1:
                self.out[-1] |= 1 << (self.used % 8)
            self.used += 1

    def data(self):
        return bytes(self.out)


def vorbis_float(value):
    # mantissa (21 bits), exponent (10 bits, bias 788), sign (1 bit)
    if value == 0:
        return 0
    sign = 1 if value < 0 else 0
    mantissa, exponent = abs(value), 788
    while mantissa != int(mantissa) or mantissa < (1 << 20):
        mantissa *= 2
        exponent -= 1
    return int(mantissa) | (exponent << 21) | (sign << 31)


def identification(channels, rate, blocks):
    return (b"\x01vorbis" + struct.pack("<IBIiii", 0, channels, rate, 0, 0, 0)
            + bytes([blocks[0] | blocks[1] << 4, 1]))


def comment():
    vendor = b"orvan seed"
    return b"\x03vorbis" + struct.pack("<I", len(vendor)) + vendor + struct.pack("<I", 0) + b"\x01"


def setup(with_residue_book):
    b = Bits()
    books = 2 if with_residue_book else 1
    b.put(books - 1, 8)
    # Book 0: one dimension, two entries of length 1, no lookup (floor and class words).
    b.put(0x564342, 24)
    b.put(1, 16)
    b.put(2, 24)
    b.put(0, 1)  # not ordered
    b.put(0, 1)  # not sparse
    for _ in range(2):
        b.put(0, 5)  # length - 1
    b.put(0, 4)  # lookup type 0
    if with_residue_book:
        # Book 1: two dimensions, four entries of length 2, lookup type 1 over {-1, 0}.
        b.put(0x564342, 24)
        b.put(2, 16)
        b.put(4, 24)
        b.put(0, 1)
        b.put(0, 1)
        for _ in range(4):
            b.put(1, 5)
        b.put(1, 4)
        b.put(vorbis_float(-1.0), 32)
        b.put(vorbis_float(1.0), 32)
        b.put(0, 4)  # value bits - 1
        b.put(0, 1)  # sequence_p
        b.put(0, 1)  # lookup1_values(4, 2) = 2 multiplicands
        b.put(1, 1)
    b.put(0, 6)  # one time-domain placeholder
    b.put(0, 16)
    b.put(0, 6)  # one floor, type 1, no partitions: a line between two posts
    b.put(1, 16)
    b.put(0, 5)
    b.put(1, 2)  # multiplier 2
    b.put(7, 4)  # range bits: posts at x = 0 and 128
    b.put(0, 6)  # one residue, type 1
    b.put(1, 16)
    b.put(0, 24)  # begin
    b.put(128 if with_residue_book else 0, 24)  # end
    b.put(15, 24)  # partition size 16
    b.put(0, 6)  # one classification
    b.put(0, 8)  # class book 0
    b.put(1 if with_residue_book else 0, 3)  # cascade: pass 0 only
    b.put(0, 1)
    if with_residue_book:
        b.put(1, 8)
    b.put(0, 6)  # one mapping, type 0, one submap, no coupling
    b.put(0, 16)
    b.put(0, 1)
    b.put(0, 1)
    b.put(0, 2)
    b.put(0, 8)
    b.put(0, 8)  # floor 0
    b.put(0, 8)  # residue 0
    b.put(0, 6)  # one mode: short blocks, mapping 0
    b.put(0, 1)
    b.put(0, 16)
    b.put(0, 16)
    b.put(0, 8)
    b.put(1, 1)  # framing
    return b"\x05vorbis" + b.data()


def audio_packet(seed, with_residue_book):
    b = Bits()
    b.put(0, 1)  # audio packet; one mode: no mode bits
    b.put(1, 1)  # the floor is used
    b.put((seed * 37) & 0x7F, 7)  # the two posts
    b.put((seed * 91 + 20) & 0x7F, 7)
    if with_residue_book:
        for i in range(8 + 8 * 8 * 2):  # class words, then 2-bit entries
            b.put((seed * 2654435761 >> (i % 29)) & 1, 1)
    return b.data()


def crc32_ogg(data):
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def page(packets, granule, sequence, flags, serial=0x4F52):
    lacing = bytearray()
    for p in packets:
        n = len(p)
        while n >= 255:
            lacing.append(255)
            n -= 255
        lacing.append(n)
    header = (b"OggS" + bytes([0, flags]) + struct.pack("<qII", granule, serial, sequence)
              + b"\0\0\0\0" + bytes([len(lacing)]) + bytes(lacing))
    body = header + b"".join(packets)
    crc = crc32_ogg(body)
    return body[:22] + struct.pack("<I", crc) + body[26:]


def ogg(channels, rate, with_residue_book, packets, blocks=(8, 8)):
    audio = [audio_packet(i, with_residue_book) for i in range(packets)]
    # Short blocks of 256 samples: each packet after the first completes 128.
    granule = max(0, packets - 1) * 128
    return (page([identification(channels, rate, blocks)], 0, 0, 0x02)
            + page([comment(), setup(with_residue_book)], 0, 1, 0)
            + page(audio, granule, 2, 0x04))


def ogg_seeds():
    return {
        "floor_only.ogg": ogg(1, 8000, False, 4),
        "residue.ogg": ogg(1, 11025, True, 3),
        "stereo.ogg": ogg(2, 22050, False, 2),
        "headers_only.ogg": ogg(1, 8000, False, 0),
    }


def main():
    os.makedirs(OUT, exist_ok=True)
    seeds = wav_seeds()
    seeds.update(ogg_seeds())
    for name, data in sorted(seeds.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
