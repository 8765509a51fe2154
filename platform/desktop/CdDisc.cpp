#include "fmod3/CdDisc.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstdio>
#include <cstring>

namespace fmod3 {

static_assert(CdDisc::kSectorBytes == CDIO_CD_FRAMESIZE_RAW, "one raw sector");

namespace {
// A fixed buffer rather than a string: the hook may be set before and left
// after the memory tracker's life.
char s_source[4096] = "";

bool endsWith(const char* text, const char* suffix) {
    const size_t n = std::strlen(text);
    const size_t m = std::strlen(suffix);
    return n >= m && strcasecmp(text + n - m, suffix) == 0;
}

CdIo_t* openSource() {
    if (s_source[0] == '\0') {
        return cdio_open(nullptr, DRIVER_DEVICE);
    }
    const bool bincue = endsWith(s_source, ".cue") || endsWith(s_source, ".bin");
    return cdio_open(s_source, bincue ? DRIVER_BINCUE : DRIVER_UNKNOWN);
}
}  // namespace

void CdDisc::setSource(const char* path) {
    if (!path) {
        s_source[0] = '\0';
        return;
    }
    std::snprintf(s_source, sizeof(s_source), "%s", path);
}

bool CdDisc::open() {
    close();
    // Short images and unusual pregaps draw warnings that mean nothing to a player.
    cdio_loglevel_default = CDIO_LOG_ERROR;
    m_cdio = openSource();
    if (!m_cdio) {
        return false;
    }
    m_drive = cdio_cddap_identify_cdio(m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
    if (!m_drive) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
        return false;
    }
    if (cdio_cddap_open(m_drive) != 0) {
        close();
        return false;
    }
    // Red Book audio comes back little-endian from every libcdio driver; the
    // reader's guess from the data itself can fail on quiet passages.
    m_drive->bigendianp = 0;
    m_paranoia = cdio_paranoia_init(m_drive);
    if (!m_paranoia) {
        close();
        return false;
    }
    // Full checking, but a sector that stays unreadable is skipped: playback
    // must go on rather than retry forever.
    cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return true;
}

void CdDisc::close() {
    if (m_paranoia) {
        cdio_paranoia_free(m_paranoia);
        m_paranoia = nullptr;
    }
    if (m_drive) {
        cdio_cddap_close(m_drive);  // destroys m_cdio too
        m_drive = nullptr;
        m_cdio = nullptr;
    }
    if (m_cdio) {
        cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
}

int CdDisc::lastTrack() const { return m_drive ? cdio_cddap_tracks(m_drive) : 0; }

bool CdDisc::isAudio(int track) const {
    return m_drive && track >= 1 && track <= lastTrack() &&
           cdio_cddap_track_audiop(m_drive, static_cast<track_t>(track)) == 1;
}

CdDisc::Sector CdDisc::trackFirst(int track) const {
    return cdio_cddap_track_firstsector(m_drive, static_cast<track_t>(track));
}

CdDisc::Sector CdDisc::trackLast(int track) const {
    return cdio_cddap_track_lastsector(m_drive, static_cast<track_t>(track));
}

void CdDisc::seek(Sector sector) { cdio_paranoia_seek(m_paranoia, sector, SEEK_SET); }

const int16_t* CdDisc::readSector() { return cdio_paranoia_read(m_paranoia, nullptr); }

}  // namespace fmod3
