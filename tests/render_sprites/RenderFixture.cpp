#include "RenderFixture.h"

#include "QNBaseRend.h"

namespace {

// The positions 0 .. count-1 that match: how many, first and last.
template <typename Match>
Span spanOf(int count, Match matches) {
    Span run;
    for (int i = 0; i < count; ++i) {
        if (!matches(i)) continue;
        if (run.first < 0) run.first = i;
        run.last = i;
        ++run.count;
    }
    return run;
}

}  // namespace

Span RenderFixture::rowRun(int y, Rgb c, int tolerance) const {
    return spanOf(kWidth, [&](int x) { return near(x, y, c, tolerance); });
}

Span RenderFixture::columnRun(int x, Rgb c, int tolerance) const {
    return spanOf(kHeight, [&](int y) { return near(x, y, c, tolerance); });
}

std::string RenderFixture::spriteObjectPath(const std::string& name) {
    return "Assets\\Scripts\\Base Objects\\" + name + ".base";
}

std::unique_ptr<CQNBaseRend> RenderFixture::makeSprite(const std::string& name, const std::string& modelKeys,
                                                      const std::string& objectKeys) {
    const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
    zvtestsupport::writeFile(model, modelKeys + "\n");
    zvtestsupport::writeFile(spriteObjectPath(name),
                             "[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    std::unique_ptr<CQNBaseRend> rend(new CQNBaseRend);
    rend->initialize(spriteObjectPath(name).c_str());
    return rend;
}
