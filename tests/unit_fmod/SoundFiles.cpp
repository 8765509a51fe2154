#include "SoundFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace fmodtest {

namespace {
const double kPi = 3.14159265358979323846;

void fadeEnds(std::vector<float>& s) {
    const size_t fade = kRate / 500;
    for (size_t i = 0; i < fade && i < s.size(); ++i) {
        const float g = static_cast<float>(i) / fade;
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

void put16(std::ofstream& out, int v) {
    out.put(static_cast<char>(v & 0xff));
    out.put(static_cast<char>((v >> 8) & 0xff));
}

void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<int>(v & 0xffff));
    put16(out, static_cast<int>(v >> 16));
}

void put16be(std::string& out, int v) {
    out += static_cast<char>((v >> 8) & 0xff);
    out += static_cast<char>(v & 0xff);
}

int16_t toS16(double v) {
    const double c = v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v);
    return static_cast<int16_t>(std::lround(c * 32767.0));
}
}  // namespace

std::vector<float> tone(double hz, double seconds, double amp) {
    std::vector<float> s(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<float>(amp * std::sin(2 * kPi * hz * i / kRate));
    }
    fadeEnds(s);
    return s;
}

std::vector<float> chirp(double hz0, double hz1, double seconds, double amp) {
    std::vector<float> s(static_cast<size_t>(seconds * kRate));
    const double k = (hz1 - hz0) / seconds;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        s[i] = static_cast<float>(amp * std::sin(2 * kPi * (hz0 * t + 0.5 * k * t * t)));
    }
    fadeEnds(s);
    return s;
}

void writeWav(const std::string& path, const std::vector<float>& samples) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (float v : samples) {
        put16(out, toS16(v));
    }
}

void writeModule(const std::string& path) {
    std::string mod(20, '\0');  // song name
    mod.replace(0, 4, "tone");
    for (int i = 0; i < 31; ++i) {
        std::string header(22, '\0');
        if (i == 0) {
            put16be(header, 16);  // length in words
            header += '\0';       // finetune
            header += static_cast<char>(64);
            put16be(header, 0);   // loop start
            put16be(header, 16);  // loop length: the whole sample
        } else {
            put16be(header, 0);
            header += '\0';
            header += '\0';
            put16be(header, 0);
            put16be(header, 1);
        }
        mod += header;
    }
    mod += static_cast<char>(1);    // one position
    mod += static_cast<char>(127);
    mod += std::string(128, '\0');  // order 0 -> pattern 0
    mod += "M.K.";
    std::string pattern(64 * 4 * 4, '\0');
    const int period = 428;
    for (int channel = 0; channel < 2; ++channel) {
        char* cell = &pattern[channel * 4];
        cell[0] = static_cast<char>((1 & 0xf0) | (period >> 8));
        cell[1] = static_cast<char>(period & 0xff);
        cell[2] = static_cast<char>((1 & 0x0f) << 4);
        cell[3] = 0;
    }
    mod += pattern;
    for (int i = 0; i < 32; ++i) {
        const long v = std::lround(100 * std::sin(2 * kPi * i / 32));
        mod += static_cast<char>(static_cast<int8_t>(v));
    }
    std::ofstream(path, std::ios::binary) << mod;
}

void writeCdImage(const std::string& cuePath, const std::string& binPath,
                  const std::vector<CdTrack>& tracks) {
    std::ofstream bin(binPath, std::ios::binary);
    std::ofstream cue(cuePath);
    const std::string binName = binPath.substr(binPath.find_last_of('/') + 1);
    cue << "FILE \"" << binName << "\" BINARY\n";
    int sector = 0;
    for (size_t t = 0; t < tracks.size(); ++t) {
        char line[80];
        std::snprintf(line, sizeof(line), "  TRACK %02d %s\n    INDEX 01 %02d:%02d:%02d\n",
                      static_cast<int>(t + 1), tracks[t].audio ? "AUDIO" : "MODE1/2352",
                      sector / (75 * 60), (sector / 75) % 60, sector % 75);
        cue << line;
        const int frames = tracks[t].sectors * 588;
        for (int i = 0; i < frames; ++i) {
            const int16_t v = tracks[t].audio
                                  ? toS16(0.4 * std::sin(2 * kPi * tracks[t].hz * i / kRate))
                                  : 0;
            const char bytes[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                                   static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
            bin.write(bytes, 4);
        }
        sector += tracks[t].sectors;
    }
}

std::string makeTempDir() {
    char pattern[] = "/tmp/zv-fmod-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

void removeTree(const std::string& dir) {
    if (dir.rfind("/tmp/zv-fmod-", 0) == 0) {
        std::system(("rm -rf '" + dir + "'").c_str());
    }
}

}  // namespace fmodtest
