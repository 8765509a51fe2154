// Text .x files for the mesh tests: quads, frames, a two-bone skinned
// arm with a bending animation, written the way exporters write them.
#ifndef ZV_RENDER_MESHES_XTEXT_H
#define ZV_RENDER_MESHES_XTEXT_H

#include <d3dx9.h>

#include <string>
#include <vector>

namespace xtext {

struct Material {
    Material(float red, float green, float blue, float alpha = 1.0f, std::string file = std::string())
        : r(red), g(green), b(blue), a(alpha), texture(std::move(file)) {}
    float r, g, b, a;
    std::string texture;  // as the file names it; empty for none
};

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

// A mesh whose faces are given as vertex index lists, with per-vertex
// normals and coordinates, one material index per face, and extra children
// (skin data) appended verbatim.
std::string mesh(const std::string& name, const std::vector<Vertex>& vertices,
                 const std::vector<std::vector<int>>& faces, const std::vector<int>& faceMaterials,
                 const std::vector<Material>& materials, const std::string& extra = "");
// A quad in the plane z facing +z, from (x0, y0) to (x1, y1), texture
// coordinates 0..1 across it.
std::string quad(const std::string& name, float x0, float y0, float x1, float y1, float z,
                 const Material& m);

std::string matrix(const D3DXMATRIX& m);
std::string translation(float x, float y, float z);
std::string frame(const std::string& name, const std::string& body);
// The header of a text file in front of the body.
std::string file(const std::string& body);

// Two quads one above the other, 20 wide: the lower one (y 0..40) moved
// by bone "A" at the root, the upper one (y 40..80) by bone `upperBone`,
// meant to be the frame "B" that sits at (0, 40, 0) below "A". With
// animation, "B" turns about z from 0 degrees at tick 0 to 180 at tick 200,
// 100 ticks per second.
std::string arm(const Material& m, const std::string& upperBone = "B", bool animated = true);
// Where the arm's bend puts a point of bone B after `degrees` about z.
D3DXVECTOR3 bent(const D3DXVECTOR3& p, float degrees);

}  // namespace xtext

#endif
