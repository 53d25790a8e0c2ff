// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SDL2, opened on first use: the functions this program calls, bound from the real library.

#include <SDL.h>

namespace tobira {

inline constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";

struct SdlApi {
    decltype(&::SDL_GetVersion) GetVersion;
    decltype(&::SDL_GetError) GetError;
    decltype(&::SDL_SetHint) SetHint;
    decltype(&::SDL_SetHintWithPriority) SetHintWithPriority;
    decltype(&::SDL_ResetHint) ResetHint;
    decltype(&::SDL_InitSubSystem) InitSubSystem;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&::SDL_GetCurrentAudioDriver) GetCurrentAudioDriver;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&::SDL_FreeWAV) FreeWAV;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT;
    decltype(&::SDL_ConvertAudio) ConvertAudio;
};

// Binds every function from the given library file; throws LibraryError naming the file.
SdlApi LoadSdlApi(const char* file);

// The program's SDL2, loaded once on the first call; throws LibraryError when it cannot be (a
// later call tries again). Any thread.
const SdlApi& Sdl();

} // namespace tobira
