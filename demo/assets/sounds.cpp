// Short effects with pitch sweeps and envelopes, and four looping chiptune pieces.
#include "sounds.h"

namespace demo {

namespace {

Tone Note(Wave wave, double start, double duration, double from, double to, double volume,
          Envelope env = {}) {
    Tone t;
    t.wave = wave, t.start = start, t.duration = duration, t.from = from, t.to = to;
    t.volume = volume, t.env = env;
    return t;
}

Samples Finish(Samples s, double cutoff, double peak) {
    LowPass(s, cutoff);
    Normalize(s, peak);
    return s;
}

Samples Cursor() {
    Samples s;
    AddTone(s, Note(Wave::Square, 0, 0.03, 1320, 1320, 0.5, {0.002, 0.02, 0.4, 0.02}));
    return Finish(s, 6000, 0.5);
}

Samples Decision() {
    Samples s;
    Envelope e{0.002, 0.05, 0.5, 0.05};
    AddTone(s, Note(Wave::Square, 0, 0.05, 784, 784, 0.5, e));
    AddTone(s, Note(Wave::Square, 0.06, 0.1, 1175, 1175, 0.5, e));
    return Finish(s, 6000, 0.6);
}

Samples Explosion() {
    Samples s;
    AddTone(s, Note(Wave::Noise, 0, 0.5, 3000, 300, 0.8, {0.002, 0.2, 0.5, 0.2}));
    AddTone(s, Note(Wave::Triangle, 0, 0.35, 120, 40, 0.6, {0.002, 0.2, 0.4, 0.1}));
    return Finish(s, 3500, 0.8);
}

Samples Shot() {
    Samples s;
    Tone t = Note(Wave::Square, 0, 0.05, 1800, 700, 0.4, {0.001, 0.03, 0.3, 0.02});
    t.duty = 0.25;
    AddTone(s, t);
    return Finish(s, 5000, 0.35);
}

Samples Bomb() {
    Samples s;
    AddTone(s, Note(Wave::Noise, 0, 1.4, 2500, 150, 0.8, {0.01, 0.5, 0.6, 0.5}));
    AddTone(s, Note(Wave::Sine, 0, 1.2, 200, 30, 0.8, {0.01, 0.4, 0.6, 0.4}));
    AddTone(s, Note(Wave::Square, 0, 0.4, 900, 100, 0.25, {0.005, 0.2, 0.3, 0.1}));
    return Finish(s, 3000, 0.85);
}

Samples Arpeggio(const std::vector<const char*>& notes, double step, double peak) {
    Samples s;
    for (size_t i = 0; i < notes.size(); ++i) {
        double f = NoteFrequency(notes[i]);
        bool last = i + 1 == notes.size();
        AddTone(s, Note(Wave::Square, i * step, last ? step * 3 : step, f, f, 0.5,
                        {0.002, 0.04, 0.6, last ? 0.2 : 0.03}));
        AddTone(s, Note(Wave::Triangle, i * step, step, f / 2, f / 2, 0.3));
    }
    return Finish(s, 6000, peak);
}

Samples EnemyHit() {
    Samples s;
    AddTone(s, Note(Wave::Noise, 0, 0.03, 12000, 6000, 0.6, {0.001, 0.02, 0.3, 0.02}));
    AddTone(s, Note(Wave::Square, 0, 0.03, 400, 250, 0.3, {0.001, 0.02, 0.3, 0.02}));
    return Finish(s, 7000, 0.35);
}

Samples Blocked() {
    Samples s;
    Envelope ring{0.001, 0.15, 0.0, 0.05};
    AddTone(s, Note(Wave::Square, 0, 0.15, 2100, 2050, 0.3, ring));
    AddTone(s, Note(Wave::Sine, 0, 0.15, 3150, 3100, 0.3, ring));
    return Finish(s, 8000, 0.4);
}

Samples Warning() {
    Samples s;
    for (int i = 0; i < 6; ++i) {
        Tone t = Note(Wave::Square, i * 0.3, 0.28, i % 2 ? 660 : 880, i % 2 ? 660 : 880, 0.5,
                      {0.01, 0.05, 0.8, 0.02});
        t.duty = 0.35;
        AddTone(s, t);
    }
    return Finish(s, 4000, 0.6);
}

Samples Warp() {
    Samples s;
    AddTone(s, Note(Wave::Sine, 0, 0.3, 300, 1600, 0.6, {0.005, 0.1, 0.7, 0.1}));
    AddTone(s, Note(Wave::Square, 0.05, 0.25, 600, 2400, 0.15, {0.005, 0.1, 0.5, 0.1}));
    return Finish(s, 7000, 0.5);
}

// ---- Music. Steps are eighth notes; bass and arpeggio lines sit under a square lead.

Envelope Lead() {
    return {0.005, 0.12, 0.6, 0.08};
}
Envelope Pluck() {
    return {0.002, 0.1, 0.25, 0.05};
}
Envelope Bass() {
    return {0.004, 0.1, 0.8, 0.04};
}

Samples TitleMusic() {
    // A minor, F, C, G: a calm, hopeful loop at 96 beats a minute.
    std::vector<Track> t(3);
    t[0] = {Wave::Square,
            0.22,
            0.5,
            0.25,
            Lead(),
            "E5 - - D5 C5 - B4 - C5 - A4 - - - . . G4 - C5 - E5 - G5 - F5 - E5 - D5 - - - "
            "E5 - - D5 C5 - E5 - A5 - - - G5 - F5 - E5 - C5 - D5 - E5 - D5 - - - B4 - - - "};
    t[1] = {Wave::Square,
            0.1,
            0.25,
            0,
            Pluck(),
            "A3 C4 E4 A4 E4 C4 A3 C4 F3 A3 C4 F4 C4 A3 F3 A3 C4 E4 G4 C5 G4 E4 C4 E4 "
            "G3 B3 D4 G4 D4 B3 G3 B3 A3 C4 E4 A4 E4 C4 A3 C4 F3 A3 C4 F4 C4 A3 F3 A3 "
            "C4 E4 G4 C5 G4 E4 C4 E4 G3 B3 D4 G4 D4 B3 G3 B3"};
    t[2] = {Wave::Triangle,
            0.35,
            0.5,
            0,
            Bass(),
            "A2 - - - A2 - E2 - F2 - - - F2 - C3 - C3 - - - C3 - G2 - G2 - - - G2 - D2 - "
            "A2 - - - A2 - E2 - F2 - - - F2 - C3 - C3 - - - C3 - G2 - G2 - - - G2 - B2 - "};
    return Finish(Sequence(60.0 / 96 / 2, 64, t), 5000, 0.7);
}

Samples StageMusic() {
    // E minor at 150 beats a minute: a driving bass in octaves and a lead in two halves.
    std::vector<Track> t(4);
    t[0] = {Wave::Square,
            0.2,
            0.5,
            0.2,
            Lead(),
            "E5 - B4 - E5 - F#5 G5 - - E5 - C5 - E5 G5 F#5 - - - D5 - A4 - B4 - - - D#5 - F#5 - "
            "E5 - B4 - E5 - F#5 G5 - - A5 G5 - - E5 - F#5 - A5 - D6 - A5 F#5 D#5 - - - B4 - - - "
            "G5 - - - E5 - - - D5 - G5 - B5 - - - A5 - - - F#5 - D5 - E5 - - - - - . . "
            "G5 - - - E5 - C5 - D5 - G5 - B5 - D6 - D#6 - - - B5 - F#5 - D#5 - B4 - F#4 - B4 - "};
    t[1] = {Wave::Square,
            0.08,
            0.25,
            0,
            Pluck(),
            "E4 G4 B4 G4 E4 G4 B4 G4 C4 E4 G4 E4 C4 E4 G4 E4 D4 F#4 A4 F#4 D4 F#4 A4 F#4 "
            "B3 D#4 F#4 D#4 B3 D#4 F#4 D#4 E4 G4 B4 G4 E4 G4 B4 G4 C4 E4 G4 E4 C4 E4 G4 E4 "
            "D4 F#4 A4 F#4 D4 F#4 A4 F#4 B3 D#4 F#4 D#4 B3 D#4 F#4 D#4 "
            "C4 E4 G4 E4 C4 E4 G4 E4 G3 B3 D4 B3 G3 B3 D4 B3 D4 F#4 A4 F#4 D4 F#4 A4 F#4 "
            "E4 G4 B4 G4 E4 G4 B4 G4 C4 E4 G4 E4 C4 E4 G4 E4 G3 B3 D4 B3 G3 B3 D4 B3 "
            "B3 D#4 F#4 D#4 B3 D#4 F#4 D#4 B3 D#4 F#4 A4 B4 A4 F#4 D#4"};
    t[2] = {Wave::Triangle,
            0.4,
            0.5,
            0,
            Bass(),
            "E2 E3 E2 E3 E2 E3 E2 E3 C2 C3 C2 C3 C2 C3 C2 C3 D2 D3 D2 D3 D2 D3 D2 D3 "
            "B1 B2 B1 B2 B1 B2 B1 B2 E2 E3 E2 E3 E2 E3 E2 E3 C2 C3 C2 C3 C2 C3 C2 C3 "
            "D2 D3 D2 D3 D2 D3 D2 D3 B1 B2 B1 B2 B1 B2 B1 B2 "
            "C2 C3 C2 C3 C2 C3 C2 C3 G2 G3 G2 G3 G2 G3 G2 G3 D2 D3 D2 D3 D2 D3 D2 D3 "
            "E2 E3 E2 E3 E2 E3 E2 E3 C2 C3 C2 C3 C2 C3 C2 C3 G2 G3 G2 G3 G2 G3 G2 G3 "
            "B1 B2 B1 B2 B1 B2 B1 B2 B1 B2 B1 B2 B1 B2 B1 B2"};
    std::string beat = "k h s h k k s h ";
    std::string drums;
    for (int bar = 0; bar < 16; ++bar) drums += bar % 4 == 3 ? "k h s h k s s s " : beat;
    t[3] = {Wave::Noise, 0.5, 0.5, 0, {}, drums, true};
    return Finish(Sequence(60.0 / 150 / 2, 128, t), 5000, 0.75);
}

Samples BossMusic() {
    // D minor at 168 beats a minute, restless: a chromatic bass and a stabbing lead.
    std::vector<Track> t(3);
    t[0] = {Wave::Square,
            0.2,
            0.5,
            0.3,
            Lead(),
            "D5 . D5 . F5 - E5 . D5 . A4 - C5 - - . D5 . D5 . F5 - G5 . A5 - G5 F5 E5 - - . "
            "Bb5 - A5 - G5 - F5 - E5 - F5 - G5 - A5 - D5 . D5 . F5 - E5 . D5 - C#5 - D5 - - ."};
    t[1] = {Wave::Triangle,
            0.45,
            0.5,
            0,
            Bass(),
            "D2 D2 D3 D2 D2 D3 D2 C3 D2 D2 D3 D2 Eb2 Eb3 E2 E3 "
            "D2 D2 D3 D2 D2 D3 D2 C3 D2 D2 D3 D2 C#2 C#3 A1 A2 "
            "Bb1 Bb1 Bb2 Bb1 G1 G1 G2 G1 A1 A1 A2 A1 A1 A2 C#2 C#3 "
            "D2 D2 D3 D2 D2 D3 D2 C3 A1 A2 A1 A2 D2 D3 D2 D3"};
    std::string drums;
    for (int bar = 0; bar < 8; ++bar) drums += bar % 2 ? "k h s h k k s s " : "k h s h k h s h ";
    t[2] = {Wave::Noise, 0.55, 0.5, 0, {}, drums, true};
    return Finish(Sequence(60.0 / 168 / 2, 64, t), 5000, 0.75);
}

Samples GameOverMusic() {
    // A slow, falling A minor phrase at 72 beats a minute.
    std::vector<Track> t(2);
    t[0] = {Wave::Square,
            0.2,
            0.5,
            0.3,
            Lead(),
            "A4 - G4 - F4 - E4 - D4 - C4 - B3 - - - C4 - D4 - E4 - A4 - G#4 - - - - - - - "};
    t[1] = {Wave::Triangle,
            0.35,
            0.5,
            0,
            Bass(),
            "A2 - - - F2 - - - D2 - - - E2 - - - A2 - - - D2 - - - E2 - - - E2 - - - "};
    return Finish(Sequence(60.0 / 72 / 2, 32, t), 4000, 0.6);
}

}  // namespace

std::vector<SoundPiece> MakeAllSounds() {
    return {
        {"cursor.wav", Cursor()},
        {"decision.wav", Decision()},
        {"explosion.wav", Explosion()},
        {"shot.wav", Shot()},
        {"bomb.wav", Bomb()},
        {"power.wav", Arpeggio({"C5", "E5", "G5", "C6"}, 0.045, 0.5)},
        {"item.wav", Arpeggio({"B5", "E6"}, 0.06, 0.45)},
        {"hit.wav", EnemyHit()},
        {"blocked.wav", Blocked()},
        {"title.ogg", TitleMusic()},
        {"gameover.ogg", GameOverMusic()},
        {"stage.ogg", StageMusic()},
        {"boss.ogg", BossMusic()},
        {"warning.wav", Warning()},
        {"warp.wav", Warp()},
        {"clear.wav", Arpeggio({"C5", "E5", "G5", "C6", "G5", "C6", "E6"}, 0.09, 0.6)},
    };
}

}  // namespace demo
