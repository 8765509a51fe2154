// What the layer tells the program's host about: a frame shown, a file in
// the player's folder opened for writing. The desktop needs neither
// (platform/desktop/HostEvents.cpp does nothing); the browser yields to the
// page once a frame, keeps the player's files in its storage and offers
// screenshots as downloads (platform/web/HostEvents.cpp).
#ifndef ZV_COMMON_HOSTEVENTS_H
#define ZV_COMMON_HOSTEVENTS_H

class HostEvents {
public:
    // After a frame went to the window.
    static void frameShown();
    // A file of the player's folder, by its native path, is about to be
    // written; it is complete by the next frame (or at exit).
    static void fileWritten(const char* path);
    // The program ends: whatever was written is handed to the host.
    static void programEnds();
};

#endif
