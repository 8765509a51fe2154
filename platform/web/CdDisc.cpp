// The browser has no disc drive and no disc image reader: every open fails,
// as on a machine without a drive.
#include "fmod3/CdDisc.h"

namespace fmod3 {

void CdDisc::setSource(const char*) {}

bool CdDisc::open() { return false; }

void CdDisc::close() {}

int CdDisc::lastTrack() const { return 0; }

bool CdDisc::isAudio(int) const { return false; }

CdDisc::Sector CdDisc::trackFirst(int) const { return -1; }

CdDisc::Sector CdDisc::trackLast(int) const { return -1; }

void CdDisc::seek(Sector) {}

const int16_t* CdDisc::readSector() { return nullptr; }

}  // namespace fmod3
