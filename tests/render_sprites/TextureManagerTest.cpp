// The texture registry on a real device: ids, exact names, failed loads and
// what shut-down releases.
#include <gtest/gtest.h>

#include "DX_Texture.h"
#include "DX_TextureManager.h"
#include "RenderFixture.h"

namespace {

class TextureManager : public RenderFixture {};

TEST_F(TextureManager, IdsFollowCreationOrderAndNamesMatchExactly) {
    writePng("Assets\\Textures\\a.png", 4, 4, {255, 0, 0});
    writePng("Assets\\Textures\\b.png", 8, 2, {0, 255, 0});
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    struct Row {
        const char* name;
        int32_t id;
        const char* why;
    } rows[] = {
        {"Assets\\Textures\\a.png", 0, "first file gets id 0"},
        {"Assets\\Textures\\b.png", 1, "second file gets id 1"},
        {"Assets\\Textures\\a.png", 0, "first file again keeps its id"},
        {"Assets\\Textures\\A.png", 2, "a name differing in case is another texture"},
        {"Assets/Textures/a.png", 3, "a name with another separator is another texture"},
        {"Assets/Textures/a.png", 3, "and is found again under its own spelling"},
    };
    for (const Row& row : rows) {
        int32_t id = -7;
        EXPECT_EQ(textures->loadTexture(row.name, &id), QNRSLT_OK) << row.why;
        EXPECT_EQ(id, row.id) << row.why;
    }
    EXPECT_EQ(textures->getCount(), 4u);
    ASSERT_NE(textures->getTextureByID(1), nullptr);
    EXPECT_EQ(textures->getTextureByID(1)->getImageInfo().Width, 8u);
    EXPECT_EQ(textures->getTextureByName("Assets\\Textures\\b.png"), textures->getTextureByID(1));
    EXPECT_EQ(textures->getTextureByName("assets\\textures\\b.png"), nullptr);
    EXPECT_EQ(textures->getTextureByID(4), nullptr) << "an id never handed out";
    EXPECT_EQ(textures->getTextureByID(-1), nullptr) << "-1 is no texture, not a failed entry";
}

TEST_F(TextureManager, MissingFileIsReportedAndRetriedUnderANewId) {
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    const char* missing = "Assets\\Textures\\no such.png";
    int32_t first = -7, second = -7;
    EXPECT_EQ(textures->loadTexture(missing, &first), QNRSLT_OK);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(textures->getTextureByID(first), nullptr);
    EXPECT_EQ(textures->loadTexture(missing, &second), QNRSLT_OK);
    EXPECT_EQ(second, 1);
    // A null name is refused and reported too.
    int32_t none = 5;
    EXPECT_EQ(textures->loadTexture(nullptr, &none), QNRSLT_INVALIDPARAM);
    EXPECT_EQ(none, -1);
    EXPECT_EQ(textures->getCount(), 2u);

    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(rows.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rows[i].define, "QNRSLT_D3DFAILED");
        EXPECT_EQ(rows[i].location, "CDX_Texture::loadTexture( )");
        EXPECT_EQ(rows[i].info, missing);
    }
    EXPECT_EQ(rows[2].define, "QNRSLT_INVALIDPARAM");
    EXPECT_EQ(rows[2].location, "CDX_TextureManager::loadTexture( )");
}

TEST_F(TextureManager, ShutDownReleasesTheEnvironmentMapAndEveryTexture) {
    writePng("Assets\\Textures\\a.png", 4, 4, {255, 0, 0});
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    int32_t id = -1;
    textures->loadTexture("Assets\\Textures\\a.png", &id);
    IDirect3DTexture9* loaded = textures->getTextureByID(id)->getTexture();
    loaded->AddRef();  // our own references, to watch the manager drop its ones
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(device()->CreateCubeTexture(8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
    cube->AddRef();
    textures->m_envMapTexture = cube;

    EXPECT_EQ(CDX_TextureManager::destroyInstance(), QNRSLT_OK);
    EXPECT_EQ(cube->Release(), 0u);
    EXPECT_EQ(loaded->Release(), 0u);
}

}  // namespace
