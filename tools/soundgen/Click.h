// "Pellomir": the click of a block, a soft wooden tick about 70 ms long.
#ifndef ZV_SOUNDGEN_CLICK_H
#define ZV_SOUNDGEN_CLICK_H

#include <vector>

class Click {
public:
    // Mono samples at 44.1 kHz, peak 0.5, starting and ending at silence.
    static std::vector<float> render();
};

#endif
