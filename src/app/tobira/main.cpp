// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_lock.h"
#include "app/qt/close_on_signals.h"
#include "app/leftover_temp_files.h"
#include "app/qt/program.h"
#include "app/qt/qt_translations.h"
#include "app/platform_choice.h"
#include "app/program_folder.h"
#include "app/program_options.h"
#include "app/qt/stable_palette_style.h"
#include "app/qt/start_failure.h"
#include "desktop/qt/command_line.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: tobira [Qt options] [--] [FILE...]\n"
    "  The CD and MIDI jukebox. MIDI files given play as files dropped on the player do;\n"
    "  a player already running takes them. Qt's own options (-platform, -style, ...) apply.\n";

} // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so that they need no display.
    switch (tobira::ReadProgramOptions(argc, argv).ask) {
    case tobira::ProgramOptions::Ask::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case tobira::ProgramOptions::Ask::Version:
        std::printf("%s\n", tobira::VersionLine("tobira").c_str());
        return 0;
    default:
        break;
    }
    // X11 first where an X display is there, so that the windows land where they belong; the
    // choice is for this process alone, not for the programs it starts.
    const std::optional<std::string> platform = tobira::PreferredPlatform({
        .qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString(),
        .display = qEnvironmentVariable("DISPLAY").toStdString(),
        .platformArgument = std::any_of(argv + 1, argv + argc,
                                        [](const char* a) {
                                            return std::strcmp(a, "-platform") == 0 ||
                                                   std::strcmp(a, "--platform") == 0;
                                        }),
    });
    if (platform)
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platform));
    QApplication app(argc, argv);
    if (platform)
        qunsetenv("QT_QPA_PLATFORM");
    // What Qt left is ours: an option it did not know is a mistake, never a file to open.
    if (const auto options = tobira::ReadProgramOptions(argc, argv);
        options.ask == tobira::ProgramOptions::Ask::Refused) {
        std::fprintf(stderr, "tobira: unknown option %s\n%s", options.refused.c_str(), kUsage);
        return 2;
    }
    QApplication::setApplicationName("TOBIRA");
    // Ties the windows to tobira.desktop (the Wayland app id); the icon follows once the main
    // window is up (Program), as the icon theme search takes longer than the window.
    QApplication::setDesktopFileName(QStringLiteral("tobira"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new tobira::StablePaletteStyle);
    tobira::InstallQtTranslations(app);
    // The list font's stored default names the Windows font; IPA Gothic is its counterpart here.
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));

    // Read after Qt has taken its own options out of argv.
    const tobira::OpenArguments files = tobira::ReadOpenArguments(argc, argv);

    tobira::InstanceLock lock(tobira::InstanceLock::DefaultPath());
    bool acquired = false;
    try {
        acquired = lock.tryAcquire();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "TOBIRA", QString::fromLocal8Bit(error.what()));
        return 1;
    }
    if (!acquired)
        return tobira::RunSecondStart(files);

    std::filesystem::path folder;
    try {
        folder = tobira::ResolveProgramFolder(tobira::SystemProgramFolderInputs());
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "TOBIRA", QString::fromLocal8Bit(error.what()));
        return 1;
    }
    // A save cut short by a crash leaves its temporary file; no other instance is saving now.
    tobira::RemoveLeftoverTempFiles(folder, lock);

    std::unique_ptr<tobira::Program> program;
    try {
        program = std::make_unique<tobira::Program>(folder);
        program->start();
    } catch (const std::exception& error) {
        program.reset();
        lock.release();
        QMessageBox::critical(nullptr, QStringLiteral("TOBIRA"), tobira::StartFailureText(error));
        return 1;
    }
    if (!files.empty())
        QTimer::singleShot(0, [&program, &files] { program->openFiles(files); });
    const tobira::CloseOnSignals onSignals([&program] { program->closeMainWindow(); });
    int result = app.exec();
    program.reset();
    return result;
}
