#include "SoundFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace fmodtest {

namespace {

const double kPi = 3.14159265358979323846;

// Little-endian (or, for the module, big-endian) integers of `bytes` bytes.
void put(std::string& out, uint32_t v, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * (bigEndian ? bytes - 1 - i : i)));
}

int16_t toS16(double v) { return static_cast<int16_t>(std::lround(std::fmax(-1.0, std::fmin(1.0, v)) * 32767.0)); }

}  // namespace

std::vector<float> tone(double hz, double seconds, double amp, double hzEnd) {
    std::vector<float> s(static_cast<size_t>(seconds * kRate));
    const double sweep = hzEnd > 0 ? (hzEnd - hz) / seconds : 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        s[i] = static_cast<float>(amp * std::sin(2 * kPi * (hz * t + 0.5 * sweep * t * t)));
    }
    const size_t fade = kRate / 500;
    for (size_t i = 0; i < fade && i < s.size(); ++i) {
        s[i] *= static_cast<float>(i) / fade;
        s[s.size() - 1 - i] *= static_cast<float>(i) / fade;
    }
    return s;
}

void writeWav(const std::string& path, const std::vector<float>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string wav = "RIFF";
    put(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    for (uint32_t v : {16u, 1u | 1u << 16, uint32_t(kRate), uint32_t(kRate * 2), 2u | 16u << 16}) put(wav, v, 4);
    wav += "data";
    put(wav, dataBytes, 4);
    for (float v : samples) put(wav, static_cast<uint16_t>(toS16(v)), 2);
    std::ofstream(path, std::ios::binary) << wav;
}

void writeModule(const std::string& path) {
    std::string mod = "tone" + std::string(16, '\0');
    for (int i = 0; i < 31; ++i) {
        // Sample 1: 16 words, volume 64, looped whole; the others empty.
        mod += std::string(22, '\0');
        put(mod, i == 0 ? 16 : 0, 2, true);
        mod += '\0';
        mod += static_cast<char>(i == 0 ? 64 : 0);
        put(mod, 0, 2, true);
        put(mod, i == 0 ? 16 : 1, 2, true);
    }
    mod += '\x01';  // one position
    mod += '\x7f';
    mod += std::string(128, '\0');  // order 0 -> pattern 0
    mod += "M.K.";
    std::string pattern(64 * 4 * 4, '\0');
    const int period = 428;
    for (int channel = 0; channel < 2; ++channel) {
        pattern[channel * 4] = static_cast<char>(period >> 8);  // sample 1's high nibble is 0
        pattern[channel * 4 + 1] = static_cast<char>(period & 0xff);
        pattern[channel * 4 + 2] = 0x10;  // sample 1's low nibble
    }
    mod += pattern;
    for (int i = 0; i < 32; ++i) mod += static_cast<char>(std::lround(100 * std::sin(2 * kPi * i / 32)));
    std::ofstream(path, std::ios::binary) << mod;
}

void writeCdImage(const std::string& cuePath, const std::string& binPath, const std::vector<CdTrack>& tracks) {
    std::string bin;
    std::ofstream cue(cuePath);
    cue << "FILE \"" << binPath.substr(binPath.find_last_of('/') + 1) << "\" BINARY\n";
    int sector = 0;
    for (size_t t = 0; t < tracks.size(); ++t) {
        char line[80];
        std::snprintf(line, sizeof(line), "  TRACK %02d %s\n    INDEX 01 %02d:%02d:%02d\n", static_cast<int>(t + 1),
                      tracks[t].audio ? "AUDIO" : "MODE1/2352", sector / (75 * 60), (sector / 75) % 60, sector % 75);
        cue << line;
        for (int i = 0; i < tracks[t].sectors * 588; ++i) {
            const double v = tracks[t].audio ? 0.4 * std::sin(2 * kPi * tracks[t].hz * i / kRate) : 0;
            put(bin, static_cast<uint16_t>(toS16(v)), 2);
            put(bin, static_cast<uint16_t>(toS16(v)), 2);
        }
        sector += tracks[t].sectors;
    }
    std::ofstream(binPath, std::ios::binary) << bin;
}

}  // namespace fmodtest
