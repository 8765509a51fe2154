// ID3DXAnimationController with one track, writing frame matrices.
#ifndef ZV_D3DX9_XFILE_D3DXANIMATIONCONTROLLEROBJECT_H
#define ZV_D3DX9_XFILE_D3DXANIMATIONCONTROLLEROBJECT_H

#include <d3dx9anim.h>

#include <string>
#include <vector>

#include "D3DXAnimationSetObject.h"

namespace d3dxfile {

class D3DXAnimationControllerObject final : public ID3DXAnimationController {
public:
    // One reference. Takes over one reference of each set; every frame below
    // `root` that an animation names becomes an output (the first frame of
    // that name). Track 0 gets set 0.
    static D3DXAnimationControllerObject* create(const std::vector<D3DXAnimationSetObject*>& sets,
                                                 D3DXFRAME* root);

    ULONG AddRef() override;
    ULONG Release() override;
    UINT GetMaxNumAnimationOutputs() override { return UINT(m_outputs.size()); }
    UINT GetMaxNumAnimationSets() override { return UINT(m_sets.size()); }
    UINT GetMaxNumTracks() override { return 1; }
    UINT GetNumAnimationSets() override { return UINT(m_sets.size()); }
    HRESULT GetAnimationSet(UINT Index, LPD3DXANIMATIONSET* ppAnimationSet) override;
    HRESULT GetAnimationSetByName(LPCSTR szName, LPD3DXANIMATIONSET* ppAnimationSet) override;
    HRESULT AdvanceTime(DOUBLE TimeDelta, LPD3DXANIMATIONCALLBACKHANDLER pCallbackHandler) override;
    HRESULT ResetTime() override;
    DOUBLE GetTime() override { return m_time; }
    HRESULT SetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET pAnimSet) override;
    HRESULT GetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET* ppAnimSet) override;
    HRESULT SetTrackPosition(UINT Track, DOUBLE Position) override;
    HRESULT SetTrackSpeed(UINT Track, FLOAT Speed) override;
    HRESULT SetTrackEnable(UINT Track, BOOL Enable) override;

private:
    // A frame's matrix and the parts of it as loaded, which stand in for the
    // kinds of keys an animation lacks.
    struct Output {
        std::string name;
        D3DXMATRIX* matrix;
        D3DXVECTOR3 scale, translation;
        D3DXQUATERNION rotation;
    };
    D3DXAnimationControllerObject() = default;
    ~D3DXAnimationControllerObject() override;
    void pose();

    ULONG m_refs = 1;
    std::vector<D3DXAnimationSetObject*> m_sets;
    std::vector<std::vector<int>> m_outputOf;  // per set, per animation: output or -1
    std::vector<Output> m_outputs;
    double m_time = 0.0;
    int m_trackSet = -1;  // index into m_sets
    double m_trackPosition = 0.0;
    float m_trackSpeed = 1.0f;
    bool m_trackEnabled = true;
};

}  // namespace d3dxfile

#endif
