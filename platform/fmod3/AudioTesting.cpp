#include "testing/AudioTesting.h"

#include "CdDisc.h"

namespace zvtest {

void setCdSource(const char* cueOrBinPath) { fmod3::CdDisc::setSource(cueOrBinPath); }

}  // namespace zvtest
