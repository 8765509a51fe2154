#include "GlyphAtlas.h"

#include <cstring>

namespace d3dxfont {

GlyphAtlas::GlyphAtlas(int width, int initialHeight, int maxHeight)
    : m_width(width),
      m_height(initialHeight),
      m_maxHeight(maxHeight),
      m_image(static_cast<size_t>(width) * initialHeight, 0) {}

bool GlyphAtlas::_reserve(int w, int h, int* x, int* y) {
    const int gw = w + 1;
    const int gh = h + 1;
    if (gw > m_width) return false;
    if (m_cursorX + gw > m_width) {
        m_shelfY += m_shelfHeight;
        m_shelfHeight = 0;
        m_cursorX = 0;
    }
    int needed = m_shelfY + gh;
    if (needed > m_height) {
        int grown = m_height;
        while (grown < needed && grown < m_maxHeight) grown *= 2;
        if (grown > m_maxHeight) grown = m_maxHeight;
        if (grown < needed) return false;
        // Rows are appended below, so boxes already placed keep their texels.
        m_image.resize(static_cast<size_t>(m_width) * grown, 0);
        m_height = grown;
    }
    *x = m_cursorX;
    *y = m_shelfY;
    m_cursorX += gw;
    if (gh > m_shelfHeight) m_shelfHeight = gh;
    return true;
}

bool GlyphAtlas::store(unsigned char c, GlyphBox box, const uint8_t* coverage, int pitch) {
    bool placed = true;
    if (box.width > 0 && box.height > 0) {
        if (_reserve(box.width, box.height, &box.x, &box.y)) {
            for (int row = 0; row < box.height; ++row)
                std::memcpy(&m_image[static_cast<size_t>(box.y + row) * m_width + box.x],
                            coverage + static_cast<size_t>(row) * pitch, box.width);
            m_dirty = true;
        } else {
            placed = false;
        }
    }
    if (!placed || box.width <= 0 || box.height <= 0) box.width = box.height = box.x = box.y = 0;
    m_boxes[c] = box;
    m_cached[c] = true;
    return placed;
}

}  // namespace d3dxfont
