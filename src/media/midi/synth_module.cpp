// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/synth_module.h"

#include "media/media_device.h"
#include "text/cp932_convert.h"

#include <dlfcn.h>

#include <mutex>
#include <system_error>
#include <vector>

namespace tobira {

namespace {

std::vector<std::filesystem::path> ModuleFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* dir = std::getenv("TOBIRA_MODULE_DIR"); dir && *dir)
        folders.emplace_back(dir);
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        folders.push_back(exe.parent_path());
        // An installed copy moved to another prefix than the one it was built for.
        folders.push_back(exe.parent_path().parent_path() / TOBIRA_MODULE_LIBDIR / "tobira");
    }
    folders.emplace_back(TOBIRA_INSTALLED_MODULE_DIR);
    return folders;
}

const SynthModuleTable* Load(std::string& reason) {
    for (const auto& folder : ModuleFolders()) {
        const auto file = folder / kSynthModuleFile;
        std::error_code error;
        if (!std::filesystem::exists(file, error))
            continue;
        // Never unloaded: synthesizers and their code live until the program ends.
        void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            reason = dlerror();
            return nullptr;
        }
        using Entry = const SynthModuleTable* (*)();
        auto entry = reinterpret_cast<Entry>(dlsym(handle, kSynthModuleEntry));
        const SynthModuleTable* table = entry ? entry() : nullptr;
        if (!table || table->abiVersion != kSynthModuleAbi) {
            reason = file.string() + ": " + (entry ? "wrong version" : "no entry point");
            dlclose(handle);
            return nullptr;
        }
        return table;
    }
    reason = "not found";
    return nullptr;
}

} // namespace

const SynthModuleTable& SynthModule() {
    static std::mutex mutex;
    static const SynthModuleTable* table = nullptr;
    std::lock_guard lock(mutex);
    if (!table) {
        std::string reason;
        table = Load(reason);
        if (!table)
            throw DeviceError(Utf8ToCp932("ＭＩＤＩシンセサイザーのモジュール（") +
                              kSynthModuleFile + Utf8ToCp932("）を読み込めません：") +
                              Cp932FromPath(reason).value_or(reason));
    }
    return *table;
}

std::string SynthLibraryVersion() {
    try {
        return SynthModule().libraryVersion();
    } catch (const DeviceError& e) {
        return e.what();
    }
}

std::string SynthDlsProblem() {
    try {
        return SynthModule().dlsProblem();
    } catch (const DeviceError& e) {
        return e.what();
    }
}

void CheckSoundFontFile(const std::filesystem::path& soundFont) {
    SynthModule().checkSoundFont(soundFont);
}

std::unique_ptr<MidiSynthesizer> MakeMidiSynthesizer(const std::filesystem::path& soundFont,
                                                     double probeRms, int sampleRate) {
    return SynthModule().make(soundFont, probeRms, sampleRate);
}

} // namespace tobira
