// ID3DXKeyframedAnimationSet over the keys of one AnimationSet; the sets loop.
#ifndef ZV_D3DX9_XFILE_D3DXANIMATIONSETOBJECT_H
#define ZV_D3DX9_XFILE_D3DXANIMATIONSETOBJECT_H

#include <d3dx9anim.h>

#include "XSceneData.h"

namespace d3dxfile {

// One animation's keys evaluated at a time; a part is set only when the
// animation has keys of that kind.
struct AnimationPose {
    bool hasScale = false, hasRotation = false, hasTranslation = false, hasMatrix = false;
    D3DXVECTOR3 scale, translation;
    D3DXQUATERNION rotation;
    D3DXMATRIX matrix;
};

class D3DXAnimationSetObject final : public ID3DXKeyframedAnimationSet {
public:
    // One reference.
    static D3DXAnimationSetObject* create(XAnimationSetData data, double ticksPerSecond);

    // Evaluates animation `index` at `position` seconds into the period.
    void sample(UINT index, double position, AnimationPose& pose) const;

    ULONG AddRef() override;
    ULONG Release() override;
    LPCSTR GetName() override { return m_data.name.c_str(); }
    DOUBLE GetPeriod() override { return m_period; }
    DOUBLE GetPeriodicPosition(DOUBLE Position) override;
    UINT GetNumAnimations() override { return UINT(m_data.animations.size()); }
    HRESULT GetAnimationNameByIndex(UINT Index, LPCSTR* ppName) override;
    HRESULT GetAnimationIndexByName(LPCSTR pName, UINT* pIndex) override;
    D3DXPLAYBACK_TYPE GetPlaybackType() override { return D3DXPLAY_LOOP; }
    DOUBLE GetSourceTicksPerSecond() override { return m_ticksPerSecond; }

private:
    D3DXAnimationSetObject() = default;
    ~D3DXAnimationSetObject() override = default;

    ULONG m_refs = 1;
    XAnimationSetData m_data;
    double m_ticksPerSecond = 4800.0;
    double m_period = 0.0;
};

}  // namespace d3dxfile

#endif
