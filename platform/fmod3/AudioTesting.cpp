#include "testing/AudioTesting.h"

#include "CdDisc.h"
#include "FmodSystem.h"

namespace zvtest {

void setCdSource(const char* cueOrBinPath) { fmod3::CdDisc::setSource(cueOrBinPath); }

void loseAudioOutput() { fmod3::loseOutput(); }

}  // namespace zvtest
