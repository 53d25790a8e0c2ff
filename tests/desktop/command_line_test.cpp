// SPDX-License-Identifier: GPL-3.0-or-later
// Files named on the command line, and a second start that hands them to the running player.
#include "desktop/qt/command_line.h"
#include "desktop/qt/mpris_service.h"
#include "desktop/private_bus.h"
#include "media/cd/cue_bin_writer.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "text/cp932_convert.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tobira::testing {
namespace {

TEST(OpenArgumentsTest, PathsBecomeAbsoluteAndNamesOutsideCodePage932AreRefused) {
    const std::string here = std::filesystem::current_path().string();
    struct Row {
        std::string argument;
        QStringList paths;
        QStringList refused;
    };
    const auto u = [](const std::string& utf8) { return QString::fromStdString(utf8); };
    const std::vector<Row> rows = {
        {"歌.mid", {u(here + "/歌.mid")}, {}},
        {"/music/old/../new/./a.MID", {u("/music/new/a.MID")}, {}},
        {"file:///music/a%20b.mid", {u("/music/a b.mid")}, {}},
        {"/music/café.mid", {}, {u("/music/café.mid")}},
        {"/music/〜.mid", {}, {u("/music/〜.mid")}}, // the wave dash would come back as ～
        {"/music/\xff\xfe.mid", {}, {QString::fromLocal8Bit("/music/\xff\xfe.mid")}},
        {"", {}, {}},
        {".", {}, {}}, // a folder, such as a disc's mount point
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.argument);
        std::string program = "tobira";
        std::string argument = row.argument;
        char* argv[] = {program.data(), argument.data(), nullptr};
        const OpenArguments read = ReadOpenArguments(2, argv);
        EXPECT_EQ(read.paths, row.paths);
        EXPECT_EQ(read.refused, row.refused);
    }
}

// A QProcess wait as long as any other wait of the tests.
constexpr int kGenerousMs = static_cast<int>(kGenerousTimeout.count());

// The player's property as the desktop reads it.
QVariant PlayerProperty(const QDBusConnection& bus, const char* name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(MprisService::kServiceName),
        QString::fromLatin1(MprisService::kObjectPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(MprisService::kPlayerInterface) << QString::fromLatin1(name);
    const QDBusMessage reply = bus.call(get, QDBus::Block, kGenerousMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().front().value<QDBusVariant>().variant();
}

QString PlayingTitle(const QDBusConnection& bus) {
    const QVariant metadata = PlayerProperty(bus, "Metadata");
    if (!metadata.canConvert<QDBusArgument>())
        return {};
    return qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>())
        .value(QStringLiteral("xesam:title"))
        .toString();
}

// A program folder with a one-track disc image and the small SoundFont, and the environment of
// a player that uses it, with its own instance lock.
struct PlayerHome {
    PlayerHome() {
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        std::filesystem::create_directories(folder / "disc");
        const CueImage disc = WriteCueBin(folder / "disc", "disc", {{.seconds = 3}});
        IniFile settings(folder.path().string() + "/TOBIRA.INI");
        WriteSetting(settings, keys::SOUNDFONT, TOBIRA_TEST_SOUNDFONT);
        environment.insert(QStringLiteral("TOBIRA_HOME"), QString::fromStdString(folder.path()));
        environment.insert(QStringLiteral("TOBIRA_CDDEVICE"), QString::fromStdString(disc.cue));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    }
    void start(QProcess& player, const QStringList& arguments = {}) const {
        player.setProcessEnvironment(environment);
        player.setWorkingDirectory(QString::fromStdString(folder.path()));
        player.start(QStringLiteral(TOBIRA_PROGRAM), arguments);
    }
    TempDir folder;
    std::filesystem::path runtime = folder / "runtime";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST(SecondStartTest, FilesFromTheCommandLinePlayInTheOnePlayer) {
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus): no private bus";
    PlayerHome home;
    home.environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    SmfWriter song(0, 480);
    song.text(0, 0, 0x03, Utf8ToCp932("さくら"));
    for (std::uint32_t tick = 0; tick < 960 * 20; tick += 480)
        song.note(0, tick, 0, 64, 100, 400);
    song.endOfTrack(0, 960 * 20);
    song.write(home.folder / "歌.mid");

    const QString client = QStringLiteral("second-start-client");
    QDBusConnection desktop = QDBusConnection::connectToBus(bus.address(), client);
    const auto registered = [&] {
        return desktop.interface()
            ->isServiceRegistered(QString::fromLatin1(MprisService::kServiceName))
            .value();
    };
    // Started from the song's folder with its name alone, as a shell would.
    const QStringList songName{QStringLiteral("歌.mid")};
    const struct {
        const char* name;
        QStringList first, second;
    } rows[] = {{"named when the player starts", songName, {}},
                {"handed over by a second start", {}, songName}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QProcess first;
        home.start(first, row.first);
        ASSERT_TRUE(WaitUntil(registered)) << first.readAllStandardError().toStdString();
        if (!row.second.isEmpty()) {
            EXPECT_EQ(PlayerProperty(desktop, "PlaybackStatus").toString(),
                      QStringLiteral("Stopped"));
            QProcess second;
            home.start(second, row.second);
            ASSERT_TRUE(second.waitForFinished(kGenerousMs)) << "the second start did not end";
            EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(second.exitCode(), 0);
        }
        EXPECT_TRUE(WaitUntil([&] {
            return PlayerProperty(desktop, "PlaybackStatus").toString() == QLatin1String("Playing");
        }));
        EXPECT_EQ(PlayingTitle(desktop), QStringLiteral("歌.mid: さくら"));

        // Quit ends the player as its power button does, also now that the song's start has
        // shown the MIDI control window, which only hides when closed.
        desktop.call(QDBusMessage::createMethodCall(QString::fromLatin1(MprisService::kServiceName),
                                                    QString::fromLatin1(MprisService::kObjectPath),
                                                    QStringLiteral("org.mpris.MediaPlayer2"),
                                                    QStringLiteral("Quit")),
                     QDBus::Block, kGenerousMs);
        EXPECT_TRUE(first.waitForFinished(kGenerousMs));
        EXPECT_EQ(first.exitCode(), 0);
        ASSERT_TRUE(WaitUntil([&] { return !registered(); }));
    }
    QDBusConnection::disconnectFromBus(client);
}

// Where the player looks for its session bus, a socket that takes each caller and hangs up
// before a word, as a bus that has gone away does.
class DeadBus final {
  public:
    explicit DeadBus(const std::filesystem::path& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) ||
            ::listen(fd_, 4))
            throw std::runtime_error("no socket at " + path.string());
        address_ = QString::fromStdString("unix:path=" + path.string());
    }
    ~DeadBus() { ::close(fd_); }
    DeadBus(const DeadBus&) = delete;
    DeadBus& operator=(const DeadBus&) = delete;
    QString address() const { return address_; }
    // Whether a caller came since the last call; it is hung up on.
    bool hangUp() {
        const int caller = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK);
        if (caller < 0)
            return false;
        ::close(caller);
        return true;
    }

  private:
    int fd_;
    QString address_;
};

TEST(SecondStartTest, WithoutASessionBusThePlayerRunsAsBefore) {
    PlayerHome home;
    DeadBus bus(home.folder / "dead-bus");
    home.environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QProcess player;
    home.start(player);
    // The bus is the last thing the start reaches for.
    ASSERT_TRUE(WaitUntil([&] { return bus.hangUp() || player.state() == QProcess::NotRunning; }));
    // Still running once the bus has failed it, with its lock taken and nothing said about it.
    // A player that gave up without its bus would end right after the hang-up: a moment shows it.
    constexpr int kMomentAfterTheBusMs = 300;
    EXPECT_FALSE(player.waitForFinished(kMomentAfterTheBusMs));
    EXPECT_TRUE(std::filesystem::exists(home.runtime / "tobira.lock"));
    const QString errors = QString::fromLocal8Bit(player.readAllStandardError());
    EXPECT_FALSE(errors.contains(QLatin1String("bus"), Qt::CaseInsensitive))
        << errors.toStdString();
    // Killed, not terminated: this bus takes no second connection, and the orderly close that
    // TERM now asks for would wait on one until the bus library gives up.
    player.kill();
    player.waitForFinished(kGenerousMs);
}

} // namespace
} // namespace tobira::testing
