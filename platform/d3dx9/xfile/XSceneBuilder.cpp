#include "XSceneBuilder.h"

#include "XFileParser.h"
#include "XMeshBuilder.h"
#include "XValueReader.h"

#include <algorithm>
#include <cstring>

namespace d3dxfile {

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

template <class Key>
void sortByTime(std::vector<Key>& keys) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Key& a, const Key& b) { return a.time < b.time; });
}

}  // namespace

XError XSceneBuilder::loadFile(const char* path, XSceneData& out) {
    XDocument doc;
    XError err = XFileParser::parseFile(path, doc);
    if (err != XError::None) return err;
    return build(doc, out);
}

XError XSceneBuilder::loadMemory(const uint8_t* file, size_t size, XSceneData& out) {
    XDocument doc;
    XError err = XFileParser::parse(file, size, doc);
    if (err != XError::None) return err;
    return build(doc, out);
}

XError XSceneBuilder::build(const XDocument& doc, XSceneData& out) {
    out = XSceneData();
    std::vector<XFrameData> top;
    XError err = XError::None;
    for (size_t i = 0; err == XError::None && i < doc.objects.size(); ++i) {
        const XObject& obj = *doc.objects[i];
        if (sameType(obj.type, "Frame")) {
            top.emplace_back();
            err = buildFrame(obj, doc, top.back());
        } else if (sameType(obj.type, "Mesh")) {
            top.emplace_back();
            XFrameData& frame = top.back();
            std::memcpy(frame.matrix, kIdentity, sizeof(kIdentity));
            frame.meshes.emplace_back();
            err = XMeshBuilder::build(obj, doc, frame.meshes.back());
            if (err == XError::None && frame.meshes.back().vertexCount() == 0) frame.meshes.pop_back();
        } else if (sameType(obj.type, "AnimTicksPerSecond")) {
            XValueReader r(obj);
            uint32_t ticks;
            if (!r.readU32(ticks)) err = XError::InvalidData;
            else if (ticks > 0) out.ticksPerSecond = ticks;
        } else if (sameType(obj.type, "AnimationSet")) {
            out.sets.emplace_back();
            err = buildAnimationSet(obj, out.sets.back());
        }
    }
    if (err == XError::None && top.empty()) err = XError::NoFrames;
    if (err != XError::None) {
        out = XSceneData();
        return err;
    }
    if (top.size() == 1) {
        out.root = std::move(top.front());
    } else {
        std::memcpy(out.root.matrix, kIdentity, sizeof(kIdentity));
        out.root.children = std::move(top);
    }
    return XError::None;
}

XError XSceneBuilder::buildFrame(const XObject& obj, const XDocument& doc, XFrameData& out) {
    out.hasName = true;
    out.name = obj.name;
    std::memcpy(out.matrix, kIdentity, sizeof(kIdentity));
    for (const XChild& c : obj.children) {
        const XObject* child = c.object.get();
        if (!child) continue;
        if (sameType(child->type, "FrameTransformMatrix")) {
            XValueReader r(*child);
            if (!r.readFloats(out.matrix, 16) || r.remaining() != 0) return XError::InvalidData;
        } else if (sameType(child->type, "Mesh")) {
            out.meshes.emplace_back();
            XError err = XMeshBuilder::build(*child, doc, out.meshes.back());
            if (err != XError::None) return err;
            if (out.meshes.back().vertexCount() == 0) out.meshes.pop_back();
        } else if (sameType(child->type, "Frame")) {
            out.children.emplace_back();
            XError err = buildFrame(*child, doc, out.children.back());
            if (err != XError::None) return err;
        }
    }
    return XError::None;
}

XError XSceneBuilder::buildAnimationSet(const XObject& obj, XAnimationSetData& out) {
    out.name = obj.name;
    for (const XChild& c : obj.children) {
        if (!c.object || !sameType(c.object->type, "Animation")) continue;
        XAnimationData anim;
        bool haveFrame = false;
        for (const XChild& a : c.object->children) {
            if (!a.object) {
                if (!haveFrame) anim.frameName = a.reference;
                haveFrame = true;
            } else if (sameType(a.object->type, "AnimationKey")) {
                XError err = readKeys(*a.object, anim);
                if (err != XError::None) return err;
            }
        }
        // An animation that names no frame has nothing to move.
        if (haveFrame) out.animations.push_back(std::move(anim));
    }
    return XError::None;
}

XError XSceneBuilder::readKeys(const XObject& obj, XAnimationData& out) {
    XValueReader r(obj);
    uint32_t type, count;
    if (!r.readU32(type) || !r.readU32(count) || count > r.remaining() / 2) return XError::InvalidData;
    const uint32_t sizes[5] = {4, 3, 3, 16, 16};
    if (type > 4) return XError::InvalidData;
    for (uint32_t k = 0; k < count; ++k) {
        uint32_t time, n;
        float v[16];
        if (!r.readU32(time) || !r.readU32(n) || n != sizes[type] || !r.readFloats(v, n))
            return XError::InvalidData;
        switch (type) {
        case 0:
            out.rotation.push_back(XQuaternionKey{double(time), {-v[1], -v[2], -v[3], v[0]}});
            break;
        case 1: out.scale.push_back(XVectorKey{double(time), {v[0], v[1], v[2]}}); break;
        case 2: out.translation.push_back(XVectorKey{double(time), {v[0], v[1], v[2]}}); break;
        default: {
            XMatrixKey key;
            key.time = time;
            std::memcpy(key.value, v, sizeof(key.value));
            out.matrix.push_back(key);
            break;
        }
        }
    }
    sortByTime(out.rotation);
    sortByTime(out.scale);
    sortByTime(out.translation);
    sortByTime(out.matrix);
    return XError::None;
}

}  // namespace d3dxfile
