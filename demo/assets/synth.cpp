#include "synth.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace demo {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double EnvelopeAt(const Envelope& e, double t, double duration) {
    double level;
    if (t < e.attack)
        level = t / e.attack;
    else if (t < e.attack + e.decay)
        level = 1 - (1 - e.sustain) * (t - e.attack) / e.decay;
    else
        level = e.sustain;
    if (t > duration) level *= std::max(0.0, 1 - (t - duration) / e.release);
    return level;
}

// The noise generator keeps its state across notes, like a hardware noise channel.
uint32_t noiseState = 0x1234567;
double NoiseSample() {
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    return (noiseState & 0xFFFF) / 32768.0 - 1.0;
}

}  // namespace

void AddTone(Samples& out, const Tone& tone, bool wrap) {
    double length = tone.duration + tone.env.release;
    size_t first = static_cast<size_t>(tone.start * kSampleRate);
    size_t count = static_cast<size_t>(length * kSampleRate);
    if (!wrap && out.size() < first + count) out.resize(first + count, 0.0f);
    double phase = 0, held = 0;
    int hold = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double progress = std::min(1.0, t / std::max(tone.duration, 1e-6));
        double freq = tone.from * std::pow(tone.to / tone.from, progress);
        if (tone.vibrato > 0 && t > 0.12)
            freq *= std::pow(2.0, tone.vibrato * std::sin(kTwoPi * 6 * t) / 12);
        phase += freq / kSampleRate;
        phase -= std::floor(phase);
        double v = 0;
        switch (tone.wave) {
            case Wave::Square:
                v = phase < tone.duty ? 1 : -1;
                break;
            case Wave::Triangle:
                v = 4 * std::fabs(phase - 0.5) - 1;
                break;
            case Wave::Saw:
                v = 2 * phase - 1;
                break;
            case Wave::Sine:
                v = std::sin(kTwoPi * phase);
                break;
            case Wave::Noise:
                // 'freq' sets how often a new random level is taken: the noise's pitch.
                if (--hold <= 0) {
                    held = NoiseSample();
                    hold = std::max(1, static_cast<int>(kSampleRate / std::max(freq, 1.0)));
                }
                v = held;
                break;
        }
        size_t at = first + i;
        if (wrap) {
            if (out.empty()) return;
            at %= out.size();
        }
        out[at] += static_cast<float>(v * tone.volume * EnvelopeAt(tone.env, t, tone.duration));
    }
}

double NoteFrequency(const std::string& name) {
    static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') return 440;
    int semitone = kSemitone[name[0] - 'A'];
    size_t i = 1;
    if (i < name.size() && name[i] == '#') semitone += 1, ++i;
    if (i < name.size() && name[i] == 'b') semitone -= 1, ++i;
    int octave = i < name.size() ? name[i] - '0' : 4;
    int midi = (octave + 1) * 12 + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

namespace {

void AddDrum(Samples& out, char kind, double start, double volume) {
    Tone t;
    t.start = start;
    if (kind == 'k') {
        t.wave = Wave::Sine, t.from = 150, t.to = 45, t.duration = 0.12, t.volume = volume;
        t.env = {0.002, 0.1, 0.3, 0.05};
    } else if (kind == 's') {
        t.wave = Wave::Noise, t.from = 9000, t.to = 5000, t.duration = 0.1;
        t.volume = volume * 0.6, t.env = {0.001, 0.08, 0.2, 0.05};
        AddTone(out, t, true);
        t.wave = Wave::Triangle, t.from = 220, t.to = 160, t.volume = volume * 0.5;
    } else if (kind == 'h') {
        t.wave = Wave::Noise, t.from = 16000, t.to = 16000, t.duration = 0.03;
        t.volume = volume * 0.25, t.env = {0.001, 0.02, 0.2, 0.02};
    } else {
        return;
    }
    AddTone(out, t, true);
}

}  // namespace

Samples Sequence(double secondsPerStep, int steps, const std::vector<Track>& tracks) {
    Samples out(static_cast<size_t>(secondsPerStep * steps * kSampleRate), 0.0f);
    for (const Track& track : tracks) {
        std::istringstream in(track.steps);
        std::vector<std::string> tokens;
        for (std::string token; in >> token;) tokens.push_back(token);
        for (size_t i = 0; i < tokens.size() && i < static_cast<size_t>(steps); ++i) {
            const std::string& token = tokens[i];
            if (token == "-" || token == ".") continue;
            double start = i * secondsPerStep;
            if (track.drums) {
                for (char kind : token) AddDrum(out, kind, start, track.volume);
                continue;
            }
            size_t held = 1;
            while (i + held < tokens.size() && tokens[i + held] == "-") ++held;
            Tone t;
            t.wave = track.wave;
            t.start = start;
            t.duration = held * secondsPerStep * 0.92;
            t.from = t.to = NoteFrequency(token);
            t.volume = track.volume;
            t.duty = track.duty;
            t.vibrato = track.vibrato;
            t.env = track.env;
            AddTone(out, t, true);
        }
    }
    return out;
}

void LowPass(Samples& s, double cutoffHz) {
    double a = 1 - std::exp(-kTwoPi * cutoffHz / kSampleRate);
    // Start from where the filter ends, so that a looping piece joins without a click.
    double y = 0;
    for (float x : s) y += a * (x - y);
    for (float& x : s) {
        y += a * (x - y);
        x = static_cast<float>(y);
    }
}

void Normalize(Samples& s, double peak) {
    float loudest = 0;
    for (float x : s) loudest = std::max(loudest, std::fabs(x));
    if (loudest <= 0) return;
    float k = static_cast<float>(peak / loudest);
    for (float& x : s) x *= k;
}

}  // namespace demo
