// One opened audio disc: its table of contents and a reader that delivers it
// sector by sector. The desktop reads drives and images with libcdio and its
// paranoia reader (platform/desktop/CdDisc.cpp); the browser has no drive.
#ifndef ZV_FMOD3_CDDISC_H
#define ZV_FMOD3_CDDISC_H

#include <cstdint>

typedef struct _CdIo CdIo_t;
typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace fmod3 {

class CdDisc {
public:
    // One sector: 588 stereo frames of 16-bit samples at 44.1 kHz.
    static const int kSectorBytes = 2352;
    typedef int32_t Sector;  // a logical sector number

    CdDisc() = default;
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;
    ~CdDisc() { close(); }

    // Reads from the image set by setSource instead of the default drive;
    // nullptr returns to the drive. The path is copied.
    static void setSource(const char* path);

    // Opens the default drive (or the image) with the disc in it. False when
    // there is no drive, no disc or no readable table of contents.
    bool open();
    void close();
    bool isOpen() const { return m_drive != nullptr; }

    int lastTrack() const;
    bool isAudio(int track) const;
    // First and last sector of a track.
    Sector trackFirst(int track) const;
    Sector trackLast(int track) const;

    // The next readSector delivers this sector.
    void seek(Sector sector);
    // One sector in host byte order, valid until the next call; null when the
    // drive fails. May block for as long as the drive takes: call it from the
    // reader thread only.
    const int16_t* readSector();

private:
    CdIo_t* m_cdio = nullptr;
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
};

}  // namespace fmod3

#endif
