#include "ZVLevelFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "QNScriptHelper.h"

namespace {

// Walks the tokens of a text without changing it (strtok would need a copy,
// and the game reads level files while it parses other scripts).
class Tokens {
public:
    explicit Tokens(const char* text) : m_at(text) {}

    // The next token read as atoi reads it; false at the end of the text.
    bool next(int32_t* out) {
        m_at += std::strspn(m_at, QN_DELIMITERS_STANDARD);
        if (!*m_at) return false;
        const size_t length = std::strcspn(m_at, QN_DELIMITERS_STANDARD);
        char token[32];
        const size_t kept = length < sizeof token - 1 ? length : sizeof token - 1;
        std::memcpy(token, m_at, kept);
        token[kept] = '\0';
        *out = std::atoi(token);
        m_at += length;
        return true;
    }

private:
    const char* m_at;
};

}  // namespace

ZVLevelFile::ZVLevelFile()
    : m_width(0), m_height(0), m_cells(), m_bestTime(0), m_parMoves(0), m_bestMoves(0), m_reason() {}

bool ZVLevelFile::parse(const char* text) {
    m_reason[0] = '\0';
    Tokens tokens(text ? text : "");
    if (!tokens.next(&m_width) || !tokens.next(&m_height)) {
        std::snprintf(m_reason, sizeof m_reason, "the file does not start with a width and a height");
        return false;
    }
    if (m_width < 1 || m_height < 1 || m_width > ZV_MAX_BOARD_WIDTH || m_height > ZV_MAX_BOARD_HEIGHT) {
        std::snprintf(m_reason, sizeof m_reason, "a board of %d x %d; boards from 1 x 1 to %d x %d are played",
                      m_width, m_height, ZV_MAX_BOARD_WIDTH, ZV_MAX_BOARD_HEIGHT);
        return false;
    }
    const int32_t count = m_width * m_height;
    bool complete = true;
    for (int32_t k = 0; k < count && complete; ++k) complete = tokens.next(&m_cells[k]);
    complete = complete && tokens.next(&m_bestTime) && tokens.next(&m_parMoves) && tokens.next(&m_bestMoves);
    if (!complete) {
        std::snprintf(m_reason, sizeof m_reason,
                      "too few numbers for a %d x %d board (%d cells, then best time, par and best moves)",
                      m_width, m_height, count);
        return false;
    }
    return true;
}

bool ZVLevelFile::isSolved() const { return m_bestTime < kFreshBestTime || m_bestMoves < kFreshBestMoves; }

bool ZVLevelFile::isSolvedAtPar() const { return isSolved() && m_bestMoves <= m_parMoves; }

uint64_t ZVLevelFile::frontMask() const {
    uint64_t mask = 0;
    for (int32_t k = 0; k < m_width * m_height && k < kMaxCells; ++k)
        if (m_cells[k] != 0) mask |= uint64_t(1) << k;
    return mask;
}
