// A tiny synthesiser for the demo's sound effects and chiptune music: oscillators with a
// pitch sweep and an envelope, filtered noise, and a step sequencer over note strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

constexpr int kSampleRate = 22050;
using Samples = std::vector<float>;

enum class Wave { Square, Triangle, Saw, Sine, Noise };

struct Envelope {
    double attack = 0.005;  // seconds to full level
    double decay = 0.08;    // seconds from full level down to the sustain level
    double sustain = 0.7;   // level held until the note is released
    double release = 0.06;  // seconds to silence after the note's duration
};

struct Tone {
    Wave wave = Wave::Square;
    double start = 0;  // seconds
    double duration = 0.1;
    double from = 440;  // Hz at the start ...
    double to = 440;    // ... sliding exponentially to this at the end
    double volume = 0.5;
    double duty = 0.5;   // square waves
    double vibrato = 0;  // depth in semitones, at 6 Hz
    Envelope env;
};

// Mixes a tone into 'out', growing it as needed, or wrapping round its end when 'wrap' is
// set (a looping piece of music whose last notes ring on into its start).
void AddTone(Samples& out, const Tone& tone, bool wrap = false);

// Frequency of a note name such as "A4", "C#5", "Eb3".
double NoteFrequency(const std::string& name);

// One line of a step sequence: tokens separated by spaces, one per step: a note name
// starts a note, "-" holds the previous one, "." is silence. For drum tracks the tokens are
// "k" (kick), "s" (snare), "h" (hat) and "." .
struct Track {
    Wave wave = Wave::Square;
    double volume = 0.3;
    double duty = 0.5;
    double vibrato = 0;
    Envelope env;
    std::string steps;
    bool drums = false;
};

// Renders a loop of 'steps' steps at the given length per step; the loop wraps seamlessly.
Samples Sequence(double secondsPerStep, int steps, const std::vector<Track>& tracks);

// Smooths the sound with a one-pole low-pass filter.
void LowPass(Samples& s, double cutoffHz);
// Scales the sound so that its loudest sample is 'peak'.
void Normalize(Samples& s, double peak);

}  // namespace demo
