// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace tobira {

bool IsInstalledCopy(const ProgramFolderInputs& inputs) {
    const auto& folder = inputs.executableFolder;
    return folder.filename() == "bin" &&
           inputs.exists(folder.parent_path() / "share" / "applications" / "tobira.desktop");
}

std::filesystem::path ResolveProgramFolder(const ProgramFolderInputs& inputs) {
    namespace fs = std::filesystem;
    auto env = [&](const char* name) -> std::optional<std::string> {
        auto value = inputs.environment(name);
        if (value && value->empty())
            return std::nullopt;
        return value;
    };

    if (auto home = env("TOBIRA_HOME")) {
        fs::path folder(*home);
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder))
            throw std::runtime_error("TOBIRA_HOME is not a folder: " + *home);
        return fs::absolute(folder);
    }

    if (!inputs.executableFolder.empty() && inputs.isWritable(inputs.executableFolder) &&
        !IsInstalledCopy(inputs))
        return inputs.executableFolder;

    fs::path data;
    if (auto xdg = env("XDG_DATA_HOME"))
        data = *xdg;
    else if (auto home = env("HOME"))
        data = fs::path(*home) / ".local" / "share";
    else
        throw std::runtime_error("neither XDG_DATA_HOME nor HOME is set");
    fs::path folder = data / "tobira";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder))
        throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());
    return folder;
}

ProgramFolderInputs SystemProgramFolderInputs() {
    ProgramFolderInputs inputs;
    inputs.environment = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value)
            return std::nullopt;
        return std::string(value);
    };
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        inputs.executableFolder = exe.parent_path();
    inputs.isWritable = [](const std::filesystem::path& folder) {
        return ::access(folder.c_str(), W_OK) == 0;
    };
    inputs.exists = [](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    };
    return inputs;
}

} // namespace tobira
