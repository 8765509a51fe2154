#include "D3DXAnimationControllerObject.h"

#include <cmath>
#include <cstring>
#include <new>

namespace d3dxfile {

namespace {

// Splits an affine matrix into scale, rotation and translation (a mirrored
// frame gets a negative x scale). Without a usable rotation part the
// rotation is the identity.
void decompose(const D3DXMATRIX& m, D3DXVECTOR3& scale, D3DXQUATERNION& rotation,
               D3DXVECTOR3& translation) {
    translation = D3DXVECTOR3(m._41, m._42, m._43);
    D3DXVECTOR3 rows[3] = {D3DXVECTOR3(m._11, m._12, m._13), D3DXVECTOR3(m._21, m._22, m._23),
                           D3DXVECTOR3(m._31, m._32, m._33)};
    float s[3];
    for (int i = 0; i < 3; ++i) s[i] = D3DXVec3Length(&rows[i]);
    rotation = D3DXQUATERNION(0, 0, 0, 1);
    if (s[0] > 0.0f && s[1] > 0.0f && s[2] > 0.0f) {
        D3DXMATRIX r;
        D3DXMatrixIdentity(&r);
        for (int i = 0; i < 3; ++i) {
            rows[i] /= s[i];
            std::memcpy(&r.m[i][0], &rows[i], 12);
        }
        if (D3DXMatrixDeterminant(&r) < 0.0f) {
            s[0] = -s[0];
            r._11 = -r._11, r._12 = -r._12, r._13 = -r._13;
        }
        D3DXQuaternionRotationMatrix(&rotation, &r);
    }
    scale = D3DXVECTOR3(s[0], s[1], s[2]);
}

}  // namespace

D3DXAnimationControllerObject* D3DXAnimationControllerObject::create(
    const std::vector<D3DXAnimationSetObject*>& sets, D3DXFRAME* root) {
    D3DXAnimationControllerObject* c = new (std::nothrow) D3DXAnimationControllerObject();
    if (!c) {
        for (D3DXAnimationSetObject* s : sets) s->Release();
        return nullptr;
    }
    c->m_sets = sets;
    c->m_outputOf.resize(sets.size());
    for (size_t i = 0; i < sets.size(); ++i) {
        const UINT n = sets[i]->GetNumAnimations();
        c->m_outputOf[i].assign(n, -1);
        for (UINT a = 0; a < n; ++a) {
            LPCSTR name = nullptr;
            sets[i]->GetAnimationNameByIndex(a, &name);
            int found = -1;
            for (size_t o = 0; o < c->m_outputs.size(); ++o) {
                if (c->m_outputs[o].name == name) found = int(o);
            }
            if (found < 0) {
                D3DXFRAME* frame = root ? D3DXFrameFind(root, name) : nullptr;
                if (!frame) continue;  // animates a frame the file does not have
                Output out;
                out.name = name;
                out.matrix = &frame->TransformationMatrix;
                decompose(frame->TransformationMatrix, out.scale, out.rotation, out.translation);
                found = int(c->m_outputs.size());
                c->m_outputs.push_back(out);
            }
            c->m_outputOf[i][a] = found;
        }
    }
    c->m_trackSet = sets.empty() ? -1 : 0;
    return c;
}

D3DXAnimationControllerObject::~D3DXAnimationControllerObject() {
    for (D3DXAnimationSetObject* s : m_sets) s->Release();
}

ULONG D3DXAnimationControllerObject::AddRef() { return ++m_refs; }

ULONG D3DXAnimationControllerObject::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

HRESULT D3DXAnimationControllerObject::GetAnimationSet(UINT Index, LPD3DXANIMATIONSET* ppAnimationSet) {
    if (!ppAnimationSet || Index >= m_sets.size()) return D3DERR_INVALIDCALL;
    m_sets[Index]->AddRef();
    *ppAnimationSet = m_sets[Index];
    return D3D_OK;
}

HRESULT D3DXAnimationControllerObject::GetAnimationSetByName(LPCSTR szName,
                                                             LPD3DXANIMATIONSET* ppAnimationSet) {
    if (!szName || !ppAnimationSet) return D3DERR_INVALIDCALL;
    for (D3DXAnimationSetObject* s : m_sets) {
        if (std::strcmp(s->GetName(), szName) == 0) {
            s->AddRef();
            *ppAnimationSet = s;
            return D3D_OK;
        }
    }
    *ppAnimationSet = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT D3DXAnimationControllerObject::AdvanceTime(DOUBLE TimeDelta,
                                                   LPD3DXANIMATIONCALLBACKHANDLER pCallbackHandler) {
    m_time += TimeDelta;
    if (m_trackEnabled && m_trackSet >= 0) {
        m_trackPosition += TimeDelta * m_trackSpeed;
        pose();
    }
    return D3D_OK;
}

void D3DXAnimationControllerObject::pose() {
    D3DXAnimationSetObject* set = m_sets[size_t(m_trackSet)];
    const double position = set->GetPeriodicPosition(m_trackPosition);
    const std::vector<int>& outputOf = m_outputOf[size_t(m_trackSet)];
    AnimationPose p;
    for (size_t a = 0; a < outputOf.size(); ++a) {
        if (outputOf[a] < 0) continue;
        Output& out = m_outputs[size_t(outputOf[a])];
        set->sample(UINT(a), position, p);
        if (p.hasMatrix) {
            *out.matrix = p.matrix;
            continue;
        }
        if (!p.hasScale && !p.hasRotation && !p.hasTranslation) continue;
        const D3DXVECTOR3& s = p.hasScale ? p.scale : out.scale;
        const D3DXQUATERNION& q = p.hasRotation ? p.rotation : out.rotation;
        const D3DXVECTOR3& t = p.hasTranslation ? p.translation : out.translation;
        D3DXMATRIX m;
        D3DXMatrixRotationQuaternion(&m, &q);
        m._11 *= s.x, m._12 *= s.x, m._13 *= s.x;
        m._21 *= s.y, m._22 *= s.y, m._23 *= s.y;
        m._31 *= s.z, m._32 *= s.z, m._33 *= s.z;
        m._41 = t.x, m._42 = t.y, m._43 = t.z;
        *out.matrix = m;
    }
}

HRESULT D3DXAnimationControllerObject::ResetTime() {
    m_time = 0.0;
    return D3D_OK;
}

HRESULT D3DXAnimationControllerObject::SetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET pAnimSet) {
    if (Track != 0) return D3DERR_INVALIDCALL;
    if (!pAnimSet) {
        m_trackSet = -1;
        return D3D_OK;
    }
    // As in D3DX, only sets registered with this controller can play.
    for (size_t i = 0; i < m_sets.size(); ++i) {
        if (static_cast<ID3DXAnimationSet*>(m_sets[i]) == pAnimSet) {
            m_trackSet = int(i);
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

HRESULT D3DXAnimationControllerObject::GetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET* ppAnimSet) {
    if (Track != 0 || !ppAnimSet) return D3DERR_INVALIDCALL;
    *ppAnimSet = nullptr;
    if (m_trackSet >= 0) {
        m_sets[size_t(m_trackSet)]->AddRef();
        *ppAnimSet = m_sets[size_t(m_trackSet)];
    }
    return D3D_OK;
}

HRESULT D3DXAnimationControllerObject::SetTrackPosition(UINT Track, DOUBLE Position) {
    if (Track != 0) return D3DERR_INVALIDCALL;
    m_trackPosition = Position;
    return D3D_OK;
}

HRESULT D3DXAnimationControllerObject::SetTrackSpeed(UINT Track, FLOAT Speed) {
    if (Track != 0) return D3DERR_INVALIDCALL;
    m_trackSpeed = Speed;
    return D3D_OK;
}

HRESULT D3DXAnimationControllerObject::SetTrackEnable(UINT Track, BOOL Enable) {
    if (Track != 0) return D3DERR_INVALIDCALL;
    m_trackEnabled = Enable != FALSE;
    return D3D_OK;
}

}  // namespace d3dxfile
