#include "D3DXAnimationSetObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace d3dxfile {

namespace {

// The keys k and k + 1 around `time` and how far between them it lies;
// before the first key or after the last, that key alone (f = 0).
template <class Key>
void bracket(const std::vector<Key>& keys, double time, size_t& k, float& f) {
    auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                  [](double t, const Key& key) { return t < key.time; });
    if (after == keys.begin()) {
        k = 0, f = 0.0f;
    } else if (after == keys.end()) {
        k = keys.size() - 1, f = 0.0f;
    } else {
        k = size_t(after - keys.begin()) - 1;
        f = float((time - keys[k].time) / (keys[k + 1].time - keys[k].time));
    }
}

D3DXVECTOR3 lerpKeys(const std::vector<XVectorKey>& keys, double time) {
    size_t k;
    float f;
    bracket(keys, time, k, f);
    D3DXVECTOR3 a(keys[k].value);
    if (f == 0.0f) return a;
    D3DXVECTOR3 b(keys[k + 1].value);
    return a + (b - a) * f;
}

template <class Key>
double lastTime(const std::vector<Key>& keys) {
    return keys.empty() ? 0.0 : keys.back().time;
}

}  // namespace

D3DXAnimationSetObject* D3DXAnimationSetObject::create(XAnimationSetData data, double ticksPerSecond) {
    D3DXAnimationSetObject* set = new (std::nothrow) D3DXAnimationSetObject();
    if (!set) return nullptr;
    set->m_ticksPerSecond = ticksPerSecond > 0.0 ? ticksPerSecond : 4800.0;
    double last = 0.0;
    for (const XAnimationData& a : data.animations) {
        last = std::max({last, lastTime(a.scale), lastTime(a.rotation), lastTime(a.translation),
                         lastTime(a.matrix)});
    }
    set->m_period = last / set->m_ticksPerSecond;
    set->m_data = std::move(data);
    return set;
}

ULONG D3DXAnimationSetObject::AddRef() { return ++m_refs; }

ULONG D3DXAnimationSetObject::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

DOUBLE D3DXAnimationSetObject::GetPeriodicPosition(DOUBLE Position) {
    if (!(m_period > 0.0) || !std::isfinite(Position)) return 0.0;
    double p = std::fmod(Position, m_period);
    return p < 0.0 ? p + m_period : p;
}

HRESULT D3DXAnimationSetObject::GetAnimationNameByIndex(UINT Index, LPCSTR* ppName) {
    if (!ppName || Index >= m_data.animations.size()) return D3DERR_INVALIDCALL;
    *ppName = m_data.animations[Index].frameName.c_str();
    return D3D_OK;
}

HRESULT D3DXAnimationSetObject::GetAnimationIndexByName(LPCSTR pName, UINT* pIndex) {
    if (!pName || !pIndex) return D3DERR_INVALIDCALL;
    for (size_t i = 0; i < m_data.animations.size(); ++i) {
        if (m_data.animations[i].frameName == pName) {
            *pIndex = UINT(i);
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

void D3DXAnimationSetObject::sample(UINT index, double position, AnimationPose& pose) const {
    pose = AnimationPose();
    if (index >= m_data.animations.size()) return;
    const XAnimationData& a = m_data.animations[index];
    const double time = position * m_ticksPerSecond;
    if (!a.matrix.empty()) {
        // Matrices are not interpolated: the last key at or before the time.
        size_t k;
        float f;
        bracket(a.matrix, time, k, f);
        pose.hasMatrix = true;
        pose.matrix = D3DXMATRIX(a.matrix[k].value);
    }
    if (!a.scale.empty()) {
        pose.hasScale = true;
        pose.scale = lerpKeys(a.scale, time);
    }
    if (!a.translation.empty()) {
        pose.hasTranslation = true;
        pose.translation = lerpKeys(a.translation, time);
    }
    if (!a.rotation.empty()) {
        size_t k;
        float f;
        bracket(a.rotation, time, k, f);
        pose.hasRotation = true;
        pose.rotation = D3DXQUATERNION(a.rotation[k].value);
        if (f != 0.0f) {
            D3DXQUATERNION next(a.rotation[k + 1].value);
            D3DXQuaternionSlerp(&pose.rotation, &pose.rotation, &next, f);
        }
    }
}

}  // namespace d3dxfile
