// Composes the demo game's sounds and writes them:
//   veltrane-sounds ROOT MP3_SOURCE.wav
// writes ROOT/demo/wav/{bell,knock,rain}.wav and ROOT/demo/MIDI/theme.mid, and the music that
// becomes demo/MIDI/evening.mp3 as a wave file for the MP3 encoder (`make sounds` runs both).
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Samples = std::vector<double>;

// A fixed-seed generator: the files come out the same at every run.
struct Noise {
    uint32_t state = 12345;
    double next() { return (state = state * 1664525u + 1013904223u) / 2147483648.0 - 1.0; }
};

bool Write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = f && std::fclose(f) == 0 && ok;
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}

void Le(std::vector<uint8_t>& out, uint32_t v, int n) {
    for (int i = 0; i < n; i++) out.push_back(v >> (8 * i) & 0xFF);
}

// 16-bit mono PCM, scaled so that the loudest sample reaches peak.
bool Write_wav(const std::string& path, const Samples& s, int rate, double peak) {
    double top = 1e-9;
    for (double v : s) top = std::max(top, std::fabs(v));
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    uint32_t data = (uint32_t)s.size() * 2;
    Le(out, 36 + data, 4);
    for (char c : std::string("WAVEfmt ")) out.push_back((uint8_t)c);
    // PCM, one channel, the rate, bytes a second, bytes a frame, bits a sample
    const std::pair<uint32_t, int> format[] = {
        {16, 4}, {1, 2}, {1, 2}, {(uint32_t)rate, 4}, {(uint32_t)rate * 2, 4}, {2, 2}, {16, 2}};
    for (auto [value, bytes] : format) Le(out, value, bytes);
    for (char c : std::string("data")) out.push_back((uint8_t)c);
    Le(out, data, 4);
    for (double v : s) Le(out, (uint32_t)(int16_t)std::lround(v / top * peak * 32767), 2);
    return Write_file(path, out);
}

// A hand bell: inharmonic partials, the higher ones dying sooner.
Samples Bell(int rate) {
    Samples s((size_t)rate * 3 / 2);
    const double partials[][3] = {{1, 1, 2.2}, {2, 0.6, 3}, {2.76, 0.5, 4}, {5.4, 0.25, 7}, {8.93, 0.12, 10}};
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / rate;
        for (const auto& [ratio, level, decay] : partials)
            s[i] +=
                level * std::exp(-decay * t) * std::sin(2 * M_PI * 784 * ratio * t) * std::min(1.0, t * 400);
    }
    return s;
}

// Three knocks on a wooden door: a low thump and a short burst of darkened noise each.
Samples Knock(int rate) {
    Samples s((size_t)rate * 7 / 10);
    Noise noise;
    for (double start : {0.0, 0.17, 0.34}) {
        double low = 0;
        for (size_t i = (size_t)(start * rate); i < s.size(); i++) {
            double t = (double)i / rate - start;
            low += 0.25 * (noise.next() - low);
            s[i] += std::exp(-t * 45) * std::sin(2 * M_PI * 120 * t) + 1.5 * std::exp(-t * 90) * low;
        }
    }
    return s;
}

// Rain that loops without a seam: the noise repeats with the loop's period, the filters run over it
// twice so that they start where they end, and drops that run over the end go on at the start.
Samples Rain(int rate) {
    size_t n = (size_t)rate * 2;
    Samples white(n), s(n);
    Noise noise;
    for (double& v : white) v = noise.next();
    double low = 0, band = 0;
    for (size_t i = 0; i < 2 * n; i++) {
        low += 0.3 * (white[i % n] - low);
        band += 0.05 * (low - band);
        if (i >= n) s[i - n] = 0.6 * (low - band);
    }
    for (int d = 0; d < 120; d++) {
        size_t at = (size_t)((noise.next() + 1) / 2 * (double)n);
        double f = 2500 + 1500 * noise.next(), level = 0.2 + 0.15 * noise.next();
        for (size_t i = 0; i < (size_t)rate / 25; i++) {
            double t = (double)i / rate;
            s[(at + i) % n] += level * std::exp(-t * 160) * std::sin(2 * M_PI * f * t * (1 + t * 8));
        }
    }
    return s;
}

// ---- the MIDI piece: eight bars at 80 beats a minute, 24 s, that end where they begin
struct Note {
    double beat, beats;
    int pitch;
};

std::vector<uint8_t> Track(int channel, int program, int velocity, const std::vector<Note>& notes,
                           int end_tick) {
    struct Event {
        int tick;
        uint8_t a, b, c;
    };
    std::vector<Event> events{{0, (uint8_t)(0xC0 | channel), (uint8_t)program, 0}};
    for (const Note& n : notes) {
        events.push_back(
            {(int)std::lround(n.beat * 480), (uint8_t)(0x90 | channel), (uint8_t)n.pitch, (uint8_t)velocity});
        events.push_back(
            {(int)std::lround((n.beat + n.beats) * 480) - 1, (uint8_t)(0x80 | channel), (uint8_t)n.pitch, 0});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& x, const Event& y) { return x.tick < y.tick; });
    std::vector<uint8_t> out;
    auto delta = [&](int ticks) {
        uint32_t v = (uint32_t)ticks, buf = v & 0x7F;
        while (v >>= 7) buf = buf << 8 | 0x80 | (v & 0x7F);
        for (;; buf >>= 8) {
            out.push_back(buf & 0xFF);
            if (!(buf & 0x80)) break;
        }
    };
    int at = 0;
    for (const Event& e : events) {
        delta(e.tick - at);
        at = e.tick;
        out.push_back(e.a);
        out.push_back(e.b);
        if ((e.a & 0xF0) != 0xC0) out.push_back(e.c);
    }
    delta(end_tick - at);
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

std::vector<uint8_t> Theme() {
    // bass root and three chord tones, a bar each: C Am F G C Am Dm G7
    const int chords[8][4] = {{36, 60, 64, 67}, {45, 57, 60, 64}, {41, 57, 60, 65}, {43, 55, 59, 62},
                              {36, 60, 64, 67}, {45, 57, 60, 64}, {38, 57, 62, 65}, {43, 55, 59, 65}};
    const std::vector<std::vector<std::pair<int, double>>> tune = {
        {{76, 1.5}, {74, 0.5}, {72, 1}, {67, 1}}, {{69, 1.5}, {72, 0.5}, {76, 2}},
        {{77, 1}, {76, 1}, {74, 1}, {72, 1}},     {{74, 3}, {71, 1}},
        {{72, 1}, {76, 1}, {79, 1.5}, {77, 0.5}}, {{76, 1}, {72, 1}, {69, 2}},
        {{74, 1.5}, {77, 0.5}, {76, 1}, {74, 1}}, {{71, 2}, {74, 1}, {67, 1}}};
    std::vector<Note> melody, pad, bass, harp;
    for (int bar = 0; bar < 8; bar++) {
        double beat = bar * 4;
        for (auto [pitch, beats] : tune[bar]) melody.push_back({beat, beats, pitch}), beat += beats;
        for (int i = 1; i < 4; i++) pad.push_back({bar * 4.0, 4, chords[bar][i]});
        bass.push_back({bar * 4.0, 2, chords[bar][0]}),
            bass.push_back({bar * 4.0 + 2, 2, chords[bar][0] + 7});
        for (int e = 0; e < 8; e++)
            harp.push_back({bar * 4 + e * 0.5, 0.5, chords[bar][1 + e % 3] + 12 * (e / 3 % 2)});
    }
    const int end = 32 * 480;
    std::vector<uint8_t> tempo{0x00, 0xFF, 0x51, 0x03, 0x0B, 0x71, 0xB0}; // 750000 us a beat
    tempo.insert(tempo.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::vector<uint8_t>> tracks{tempo, Track(0, 73, 96, melody, end), Track(1, 48, 64, pad, end),
                                             Track(2, 32, 90, bass, end), Track(3, 46, 60, harp, end)};
    std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, (uint8_t)tracks.size(), 0x01, 0xE0};
    for (const auto& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        for (int i = 3; i >= 0; i--) out.push_back((uint8_t)(t.size() >> (8 * i)));
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

// ---- the MP3 piece: six bars at 90 beats a minute, 16 s, rendered round a ring so that the
// tails of the last notes sound at the start and the loop has no seam
void Tone(Samples& ring, int rate, double start, double seconds, double freq, double level, double attack,
          double decay, int harmonics) {
    size_t from = (size_t)(start * rate), count = (size_t)((seconds + 0.6) * rate);
    for (size_t i = 0; i < count; i++) {
        double t = (double)i / rate, env = std::min(1.0, t / attack) * std::exp(-decay * t);
        if (t > seconds) env *= std::exp(-(t - seconds) * 10); // the release
        double v = 0;
        for (int h = 1; h <= harmonics; h++) v += std::sin(2 * M_PI * freq * h * t) / (h * h);
        ring[(from + i) % ring.size()] += level * env * v;
    }
}

Samples Evening(int rate) {
    const double beat = 60.0 / 90;
    Samples ring((size_t)std::lround(24 * beat * rate));
    auto hz = [](int midi) { return 440 * std::pow(2, (midi - 69) / 12.0); };
    // Am F C G F E: root and three tones
    const int chords[6][4] = {{45, 57, 60, 64}, {41, 57, 60, 65}, {48, 60, 64, 67},
                              {43, 59, 62, 67}, {41, 57, 60, 65}, {40, 56, 59, 64}};
    for (int bar = 0; bar < 6; bar++) {
        double at = bar * 4 * beat;
        for (int i = 1; i < 4; i++) Tone(ring, rate, at, 4 * beat, hz(chords[bar][i]), 0.12, 0.5, 0.1, 3);
        for (int b = 0; b < 4; b++)
            Tone(ring, rate, at + b * beat, beat, hz(chords[bar][0]), 0.35, 0.01, 1.5, 2);
        for (int e = 0; e < 8; e++)
            Tone(ring, rate, at + e * beat / 2, beat / 2, hz(chords[bar][1 + (e * 2) % 3] + 12), 0.2, 0.005,
                 4, 4);
    }
    return ring;
}

} // namespace

int main(int argc, char** argv) {
    // a file past the file-size limit is told as FAILED, as on a full disk, and the rest still made
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc != 3) {
        std::fprintf(stderr, "usage: veltrane-sounds ROOT MP3_SOURCE.wav\n");
        return 2;
    }
    std::string root = argv[1];
    bool ok = Write_wav(root + "/demo/wav/bell.wav", Bell(22050), 22050, 0.7);
    ok &= Write_wav(root + "/demo/wav/knock.wav", Knock(22050), 22050, 0.8);
    ok &= Write_wav(root + "/demo/wav/rain.wav", Rain(22050), 22050, 0.5);
    ok &= Write_file(root + "/demo/MIDI/theme.mid", Theme());
    ok &= Write_wav(argv[2], Evening(44100), 44100, 0.8);
    return ok ? 0 : 1;
}
