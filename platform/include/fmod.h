// The FMOD 3 subset the engine calls, implemented over SDL2_mixer (samples,
// streams, music modules) and libcdio with its paranoia reader (CD audio).
// Names, types, signatures and constant values are those of FMOD 3.7x.
//
// Contracts common to every call:
// - Before a successful FSOUND_Init (or after it failed, or after FSOUND_Close)
//   every call is harmless: loads return null, plays return -1 or FALSE, and
//   FSOUND_GetError answers FMOD_ERR_UNINITIALIZED.
// - File names may use '\' as the separator; it is read as '/'.
// - The library owns every sample, stream and module it returns until it is
//   freed by its own free call or by FSOUND_Close, which frees them all.
// - Calls are made from one thread; mixing and CD reading run on threads of
//   the library's own that never call back into the caller.
#ifndef ZV_PLATFORM_FMOD_H
#define ZV_PLATFORM_FMOD_H

#define F_API
#define F_CALLBACKAPI
#define DLL_API

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef struct FSOUND_SAMPLE FSOUND_SAMPLE;
typedef struct FSOUND_STREAM FSOUND_STREAM;
typedef struct FMUSIC_MODULE FMUSIC_MODULE;

enum FMOD_ERRORS {
    FMOD_ERR_NONE,
    FMOD_ERR_BUSY,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_INIT,
    FMOD_ERR_ALLOCATED,
    FMOD_ERR_PLAY,
    FMOD_ERR_OUTPUT_FORMAT,
    FMOD_ERR_COOPERATIVELEVEL,
    FMOD_ERR_CREATEBUFFER,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_FORMAT,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_MEMORY,
    FMOD_ERR_VERSION,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_NO_EAX,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_RECORD,
    FMOD_ERR_MEDIAPLAYER,
    FMOD_ERR_CDDEVICE
};

// Sample and stream modes. Only the loop flags change playback here; the
// format flags describe raw data, which this layer does not load, so a file
// with a header ignores them as FMOD does.
#define FSOUND_LOOP_OFF 0x00000001
#define FSOUND_LOOP_NORMAL 0x00000002
#define FSOUND_LOOP_BIDI 0x00000004
#define FSOUND_8BITS 0x00000008
#define FSOUND_16BITS 0x00000010
#define FSOUND_MONO 0x00000020
#define FSOUND_STEREO 0x00000040
#define FSOUND_UNSIGNED 0x00000080
#define FSOUND_SIGNED 0x00000100
#define FSOUND_HW3D 0x00001000
#define FSOUND_2D 0x00002000
#define FSOUND_LOADMEMORY 0x00008000
#define FSOUND_LOADRAW 0x00010000
#define FSOUND_HW2D 0x00080000
#define FSOUND_NONBLOCKING 0x01000000
#define FSOUND_NORMAL (FSOUND_16BITS | FSOUND_SIGNED | FSOUND_MONO)

#define FSOUND_CD_PLAYCONTINUOUS 0
#define FSOUND_CD_PLAYONCE 1
#define FSOUND_CD_PLAYLOOPED 2
#define FSOUND_CD_PLAYRANDOM 3

// Channel and sample-slot selectors.
#define FSOUND_FREE -1
#define FSOUND_UNMANAGED -2
#define FSOUND_ALL -3

#ifdef __cplusplus
extern "C" {
#endif

// Opens the output at mixrate Hz, 16-bit stereo, with maxsoftwarechannels
// channels for samples. FALSE when there is no usable audio device; the
// program then carries on silently. Calling it again restarts the library:
// everything loaded before is freed.
DLL_API signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);
// Stops all sound (CD audio included), frees every sample, stream and module
// and closes the output. Safe to call at any time, also twice.
DLL_API void F_API FSOUND_Close();
// The FMOD_ERRORS value left by the last call that failed or succeeded.
DLL_API int F_API FSOUND_GetError();

// Silences (mute TRUE) or restores the sound of a channel; FSOUND_ALL, the
// only selector handled here, covers every sample channel, the playing
// stream or module and CD audio, now and for whatever plays later, across
// FSOUND_Init. FALSE for any other channel.
DLL_API signed char F_API FSOUND_SetMute(int channel, signed char mute);
// TRUE while FSOUND_ALL is muted (other channels: FALSE).
DLL_API signed char F_API FSOUND_GetMute(int channel);

// Loads a whole sound file (WAV, OGG, FLAC, MP3 ...) into memory. index is
// FSOUND_FREE (any free slot) or a slot number, whose previous sample is then
// freed. offset and length must be 0 (whole file). Null when the file cannot
// be opened or decoded.
DLL_API FSOUND_SAMPLE* F_API FSOUND_Sample_Load(int index, const char* name, unsigned int mode,
                                                int offset, int length);
// Stops the channels playing the sample and frees it.
DLL_API void F_API FSOUND_Sample_Free(FSOUND_SAMPLE* sptr);
// Plays the sample from its start on the given channel, or on a free one with
// FSOUND_FREE, so several plays of one sample overlap. Loops when the sample
// was loaded with FSOUND_LOOP_NORMAL. Returns the channel, or -1 when no
// channel is free.
DLL_API int F_API FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sptr);

// Opens a sound file to be decoded while it plays. offset and length must be 0.
DLL_API FSOUND_STREAM* F_API FSOUND_Stream_Open(const char* name, unsigned int mode, int offset,
                                                int length);
// Sets the loop mode used by the next FSOUND_Stream_Play.
DLL_API signed char F_API FSOUND_Stream_SetMode(FSOUND_STREAM* stream, unsigned int mode);
// Plays the stream from its start; with FSOUND_LOOP_NORMAL it restarts at its
// end forever. Returns a channel number, or -1.
// Differs from FMOD: one stream or module plays at a time; a new play replaces it.
DLL_API int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
// Stops the stream if it plays and frees it.
DLL_API signed char F_API FSOUND_Stream_Close(FSOUND_STREAM* stream);

// Loads a music module (MOD, S3M, XM, IT; MIDI where a synthesiser is
// installed). Null for a file that is not a module.
DLL_API FMUSIC_MODULE* F_API FMUSIC_LoadSong(const char* name);
// Plays the module from its start (replacing a playing stream or module).
DLL_API signed char F_API FMUSIC_PlaySong(FMUSIC_MODULE* mod);
// Stops the module if it plays and frees it.
DLL_API signed char F_API FMUSIC_FreeSong(FMUSIC_MODULE* mod);

// Plays the audio of the CD in drive (0: the default drive, the only one
// here) from the given track (1 = first). Data tracks are skipped. FALSE when
// there is no drive, no disc, or no audio track from that track on.
DLL_API signed char F_API FSOUND_CD_Play(char drive, int track);
// What happens at the end of a track: FSOUND_CD_PLAYCONTINUOUS plays on to the
// last audio track (the default), FSOUND_CD_PLAYONCE stops, FSOUND_CD_PLAYLOOPED
// repeats the track. Takes effect on the playing disc at once.
DLL_API void F_API FSOUND_CD_SetPlayMode(char drive, signed char mode);

#ifdef __cplusplus
}
#endif

#endif
