#include "WavFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
void put16(std::FILE* f, unsigned v) {
    std::fputc(static_cast<int>(v & 0xff), f);
    std::fputc(static_cast<int>((v >> 8) & 0xff), f);
}
void put32(std::FILE* f, uint32_t v) {
    put16(f, v & 0xffff);
    put16(f, v >> 16);
}
}  // namespace

bool WavFile::write(const std::string& path, int channels, int rate,
                    const std::vector<float>& samples, long* clipped) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, static_cast<unsigned>(channels));
    put32(f, static_cast<uint32_t>(rate));
    put32(f, static_cast<uint32_t>(rate * channels * 2));
    put16(f, static_cast<unsigned>(channels * 2));
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    *clipped = 0;
    for (float v : samples) {
        long s = std::lround(v * 32767.0);
        if (s > 32767 || s < -32768) {
            ++*clipped;
            s = s > 0 ? 32767 : -32768;
        }
        put16(f, static_cast<unsigned>(static_cast<int16_t>(s)) & 0xffff);
    }
    return std::fclose(f) == 0;
}
