// Reads the game's scripts the way the game does (comments removed, strtok
// with the standard or the path delimiters), for the previews: which
// objects a scene holds, where they stand and which pictures they show.
#ifndef ARTGEN_SCRIPTPEEK_H
#define ARTGEN_SCRIPTPEEK_H

#include <string>
#include <vector>

struct ObjectScript {
    bool found = false;
    std::string className, modelType, modelScript;
    float translation[3] = {0, 0, 0}, rotation[3] = {0, 0, 0}, scale[3] = {1, 1, 1};
    std::string particleScript;
    int numParticles = -1;
};

struct ModelScript {
    bool found = false;
    std::string texture, xFile;
    int sizing = 0;  // 0 none, 1 ACTUAL_NORM, 2 ACTUAL, 3 USER_DEFINED
    float dimensions[2] = {0, 0};
    bool ortho = false, billboarding = true;
    float gravity = 0, directionRange[6] = {0, 0, 0, 0, 0, 0}, lifeRange[2] = {0, 0};
    float colorStages[12] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

class ScriptPeek {
public:
    explicit ScriptPeek(std::string assetsDir) : m_assets(std::move(assetsDir)) {}
    // A game path ("Assets\Scripts\...") as a file on this machine.
    std::string file(const std::string& gamePath) const;
    std::vector<std::string> scene(const std::string& gamePath) const;
    ObjectScript object(const std::string& gamePath) const;
    ModelScript model(const std::string& gamePath) const;

private:
    std::string m_assets;
};

#endif
