// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt/command_line.h"

#include "desktop/player_remote.h"
#include "forms/views/view_hub.h"
#include "text/cp932_convert.h"

#include <QMessageBox>
#include <QUrl>

#if TOBIRA_HAS_MPRIS
#include "desktop/qt/mpris_service.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>
#endif

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {
namespace {

// The path as the file system spells it: absolute, since the player that opens it may run in
// another folder.
std::string AbsolutePath(std::string_view argument) {
    std::filesystem::path path(argument);
    if (argument.starts_with("file:")) {
        const QUrl url(QString::fromLocal8Bit(argument.data(), qsizetype(argument.size())));
        if (url.isLocalFile())
            path = url.toLocalFile().toStdString();
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal().string();
}

// The path as the player keeps it; empty for one it cannot keep or would open as another.
std::optional<std::string> CorePath(const std::string& utf8) {
    return Cp932FromPath(std::filesystem::path(utf8));
}

#if TOBIRA_HAS_MPRIS
QString ServiceName() {
    return QString::fromLatin1(MprisService::kServiceName);
}
#endif

} // namespace

OpenArguments ReadOpenArguments(int argc, char* argv[]) {
    OpenArguments arguments;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.empty())
            continue;
        // What follows "--" is a name even when it begins with a dash.
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        const std::string path = AbsolutePath(argument);
        // A disc inserted may start the player with its mount folder: no file to play.
        std::error_code error;
        if (std::filesystem::is_directory(path, error))
            continue;
        if (CorePath(path))
            arguments.paths << QString::fromStdString(path);
        else
            arguments.refused << QString::fromLocal8Bit(argument.data(),
                                                        qsizetype(argument.size()));
    }
    return arguments;
}

void ShowRefusedFiles(const QStringList& refused) {
    if (refused.isEmpty())
        return;
    QMessageBox::warning(
        nullptr, QStringLiteral("TOBIRA"),
        QStringLiteral("このファイル名は使えません（Shift-JIS にない文字を含みます）:\n") +
            refused.join(QLatin1Char('\n')));
}

void OpenFiles(const QStringList& paths, PlayerRemote& remote, ViewHub& hub) {
    std::vector<std::string> corePaths;
    QStringList refused;
    for (const QString& path : paths) {
        if (auto converted = CorePath(path.toStdString()))
            corePaths.push_back(std::move(*converted));
        else
            refused << path;
    }
    ShowRefusedFiles(refused);
    if (!corePaths.empty())
        hub.dispatch([&] { remote.OpenFiles(corePaths); });
}

int RunSecondStart(const OpenArguments& arguments) {
    if (!arguments.empty()) {
        ShowRefusedFiles(arguments.refused);
        if (arguments.paths.isEmpty())
            return 0;
#if TOBIRA_HAS_MPRIS
        if (HandOffFiles(QDBusConnection::sessionBus(), arguments.paths, 3000))
            return 0;
#endif
    }
    QMessageBox::information(nullptr, QStringLiteral("TOBIRA"),
                             QStringLiteral("ＴＯＢＩＲＡは既に起動しています"));
    return 0;
}

#if TOBIRA_HAS_MPRIS
bool HandOffFiles(const QDBusConnection& bus, const QStringList& paths, int waitMs) {
    if (!bus.isConnected() || !bus.interface())
        return false;
    // The running player takes its name once its windows are made; a start right after its
    // own waits for that a moment.
    QElapsedTimer waited;
    waited.start();
    while (!bus.interface()->isServiceRegistered(ServiceName()).value()) {
        if (waited.elapsed() >= waitMs)
            return false;
        QThread::msleep(50);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        ServiceName(), QString::fromLatin1(MprisService::kObjectPath),
        QString::fromLatin1(MprisService::kInstanceInterface), QStringLiteral("OpenFiles"));
    call << paths;
    return bus.call(call, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
}
#endif

} // namespace tobira
