// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/loaders/sdl_api.h"

#include "media/loaders/shared_library.h"

namespace tobira {

SdlApi LoadSdlApi(const char* file) {
    LibraryBinder bind(file);
    SdlApi api{};
    bind(api.GetVersion, "SDL_GetVersion");
    bind(api.GetError, "SDL_GetError");
    bind(api.SetHint, "SDL_SetHint");
    bind(api.SetHintWithPriority, "SDL_SetHintWithPriority");
    bind(api.ResetHint, "SDL_ResetHint");
    bind(api.InitSubSystem, "SDL_InitSubSystem");
    bind(api.QuitSubSystem, "SDL_QuitSubSystem");
    bind(api.OpenAudioDevice, "SDL_OpenAudioDevice");
    bind(api.CloseAudioDevice, "SDL_CloseAudioDevice");
    bind(api.GetCurrentAudioDriver, "SDL_GetCurrentAudioDriver");
    bind(api.PauseAudioDevice, "SDL_PauseAudioDevice");
    bind(api.LockAudioDevice, "SDL_LockAudioDevice");
    bind(api.UnlockAudioDevice, "SDL_UnlockAudioDevice");
    bind(api.RWFromConstMem, "SDL_RWFromConstMem");
    bind(api.LoadWAV_RW, "SDL_LoadWAV_RW");
    bind(api.FreeWAV, "SDL_FreeWAV");
    bind(api.BuildAudioCVT, "SDL_BuildAudioCVT");
    bind(api.ConvertAudio, "SDL_ConvertAudio");
    bind.keep();
    return api;
}

const SdlApi& Sdl() {
    static const SdlApi api = LoadSdlApi(kSdlLibrary);
    return api;
}

} // namespace tobira
