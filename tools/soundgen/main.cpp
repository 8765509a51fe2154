// Generates the game's sounds: the background music as a WAV loop (encoded
// to MP3 by make-sounds.sh) and the click. Deterministic: the same files on
// every run.
//
//   soundgen OUTPUT_DIR [--levels]
//
// --levels prints the loudness of each part of the music, for balancing.
#include "Click.h"
#include "MixBus.h"
#include "Score.h"
#include "WavFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

double rmsDb(const std::vector<float>& left, const std::vector<float>& right) {
    double sum = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        sum += left[i] * left[i] + right[i] * right[i];
    }
    return 10 * std::log10(sum / (2.0 * left.size()) + 1e-20);
}

void printLevels() {
    const struct {
        const char* name;
        int part;
    } parts[] = {{"pad", Score::PAD},           {"bass", Score::BASS},
                 {"melody", Score::MELODY},     {"arpeggio", Score::ARPEGGIO},
                 {"drums", Score::DRUMS}};
    for (const auto& p : parts) {
        MixBus bus(Score::frames());
        Score::render(bus, p.part);
        bus.applyEffects(0.32f, 0.22f, Score::kBeatFrames * 3 / 4);
        std::printf("%-9s %6.1f dB RMS before normalising\n", p.name,
                    rmsDb(bus.left(), bus.right()));
    }
}

bool writeMusic(const std::string& path) {
    MixBus bus(Score::frames());
    Score::render(bus);
    bus.applyEffects(0.32f, 0.22f, Score::kBeatFrames * 3 / 4);
    bus.removeDc();
    // About -3 dBFS: room for the MP3 encoder's overshoot.
    bus.normalize(0.7f);
    std::vector<float> interleaved(bus.frames() * 2);
    for (long i = 0; i < bus.frames(); ++i) {
        interleaved[2 * i] = bus.left()[i];
        interleaved[2 * i + 1] = bus.right()[i];
    }
    long clipped = 0;
    if (!WavFile::write(path, 2, 44100, interleaved, &clipped)) {
        return false;
    }
    std::printf("%s: %.2f s, %.1f dB RMS, %ld clipped\n", path.c_str(), bus.frames() / 44100.0,
                rmsDb(bus.left(), bus.right()), clipped);
    return true;
}

bool writeClick(const std::string& path) {
    const std::vector<float> click = Click::render();
    long clipped = 0;
    if (!WavFile::write(path, 1, 44100, click, &clipped)) {
        return false;
    }
    std::printf("%s: %.1f ms, %ld clipped\n", path.c_str(), click.size() / 44.1, clipped);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [--levels]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (argc > 2 && std::strcmp(argv[2], "--levels") == 0) {
        printLevels();
    }
    if (!writeMusic(dir + "/lumbrel.bgmusic.wav") || !writeClick(dir + "/pellomir.beep.wav")) {
        std::fprintf(stderr, "soundgen: cannot write to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
