// The audio engine as the program sees it: the nine functions it calls, with the shapes of the
// BASS 2.4 interface, so the program's code reads as written against that library.
#pragma once

#include <stdint.h>

typedef int BOOL;
typedef uint32_t DWORD;
typedef uint64_t QWORD;
typedef DWORD HSTREAM;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// BASS_Init flags.
#define BASS_DEVICE_MONO 2

// BASS_ChannelGetData lengths: 1024-sample FFT giving 512 float magnitudes.
#define BASS_DATA_FFT1024 0x80000002

typedef void(DOWNLOADPROC)(const void* buffer, DWORD length, void* user);

#ifdef __cplusplus
extern "C" {
#endif

// device -1: default output, 0: no sound (audio still consumed in real time), n >= 1: n-th
// output device. freq 0 means 44100. FALSE when no device opens or already initialised.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* clsid);
// Releases the output and every stream. FALSE when not initialised.
BOOL BASS_Free(void);
// Master volume 0..1.
BOOL BASS_SetVolume(float volume);
// Blocks until the stream is connected and decoding; 0 on failure. offset, flags, proc and user
// are accepted for shape only: the engine never calls back.
HSTREAM BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc,
                             void* user);
BOOL BASS_StreamFree(HSTREAM handle);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelStop(DWORD handle);
// Peaks of the last 20 ms heard: left in the low word, right in the high word, 0..32768 each;
// 0xFFFFFFFF for a handle that is 0, freed, unknown or not playing.
DWORD BASS_ChannelGetLevel(DWORD handle);
// With BASS_DATA_FFT1024 writes 512 floats; returns the bytes written, or 0xFFFFFFFF (buffer
// untouched) on failure.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

#ifdef __cplusplus
}
#endif
