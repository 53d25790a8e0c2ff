// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/program.h"

#include "app/qt/main_window_keys.h"
#include "player/views/form_mode_widget.h"
#include "windows/views/form_msg_widget.h"
#include "forms/views/form_widget.h"
#include "player/views/form_main_widget.h"
#include "cd_windows/views/form_list_widget.h"
#include "cd_windows/views/form_manage_widget.h"
#include "cd_windows/views/form_pattern_widget.h"
#include "desktop/qt/command_line.h"
#include "desktop/player_remote.h"
#include "controls/views/mixer_ctrl_widget.h"
#include "media/cd/cd_device.h"
#include "media/midi/midi_device.h"
#include "media/midi/midi_output_selector.h"
#include "media/output/sound_output.h"
#include "media/wave/wave_device.h"
#include "midi_windows/views/form_lyrics_widget.h"
#include "midi_windows/views/form_parts_widget.h"
#include "midi_windows/views/form_view_widget.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "windows/views/form_reader_widget.h"
#include "windows/views/about_facts.h"
#include "windows/views/form_midi_widget.h"
#include "windows/views/form_setup_widget.h"
#include "windows/media_setup_devices.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QScopeGuard>
#include <QWindow>

#include <chrono>
#include <cstdlib>

#if TOBIRA_HAS_ALSA_SEQUENCER
#include "media/midi/alsa_sequencer_device.h"
#endif
#if TOBIRA_HAS_MPRIS
#include "desktop/qt/mpris_service.h"
#endif

namespace tobira {

Program::Program(const std::filesystem::path& folder)
    : ports_{.messages = qtPorts_.dialogs,
             .choosers = qtPorts_.dialogs,
             .busy = qtPorts_.busy,
             .screen = qtPorts_.system,
             .repaint = qtPorts_.windows,
             .clock = qtPorts_.system,
             .random = random_,
             .processes = qtPorts_.system,
             .uiPost = qtPorts_.eventLoop,
             .windows = qtPorts_.windows,
             .textWidth = qtPorts_.windows} {
    // The one random generator, seeded once from the clock.
    random_.seed(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    cd_ = std::make_unique<CdDevice>(engine_);
    midi_ = std::make_unique<MidiDevice>(engine_, qtPorts_.eventLoop);
    wave_ = std::make_unique<WaveDevice>(engine_, qtPorts_.eventLoop);
    DataPaths paths = DataPaths::InFolder(folder);
    const IniSnapshot& settings = startSettings_.emplace(paths.SettingsPath);
    midi_->setSoundFont(ReadSetting(settings, keys::SOUNDFONT));
    midi_->setLoopSetting(LoopSetting{ReadSetting(settings, keys::LOOPCOUNT),
                                      ReadSetting(settings, keys::LOOPFADES)});
#if TOBIRA_HAS_ALSA_SEQUENCER
    sequencer_ = std::make_unique<AlsaSequencerDevice>(qtPorts_.eventLoop);
    midiOut_ = std::make_unique<MidiOutputSelector>(*midi_, *sequencer_);
    midiOut_->setPort(ReadSetting(settings, keys::MIDIOUT));
    MediaDevice& midiOut = *midiOut_;
#else
    // A build without the sequencer: the synthesizer is the one MIDI output.
    MediaDevice& midiOut = *midi_;
#endif
    forms_ = std::make_unique<FormSet>(ports_, std::move(paths),
                                       MediaDevices{*cd_, midiOut, *wave_}, mixer_, midi_.get());
    setupDevices_ = std::make_unique<MediaSetupDevices>(*midi_, midiOut_.get());
    forms_->FormMsg.Facts = [this] {
        return GatherAboutFacts(*midi_, *cd_, forms_->FormMain.Paths.Folder);
    };

    auto* mainView = new FormMainWidget(forms_->FormMain, hub_);
    views_.emplace_back(mainView);
    // The main window carries the mixer panel as its one mixer control, hidden: out of sight
    // and out of a screen reader's reach.
    auto* hiddenMixer = new MixerCtrlWidget(mixer_, mainView);
    hiddenMixer->hide();
    // The other windows' views are built once the main window is on the screen (see start()).
    mainView->installEventFilter(&firstPaint_);

    qtPorts_.windows.setWindowHandlers({
        .iconify =
            [this, mainView] {
                // The whole application goes to the icon; restoring it brings the main window.
                for (const auto& view : views_)
                    if (view.get() != mainView && view->isVisible())
                        view->showMinimized();
                mainView->iconify();
            },
        .closeMain = [mainView] { mainView->close(); },
        .raiseMain =
            [mainView] {
                if (mainView->isMinimized())
                    mainView->showNormal();
                mainView->raise();
                mainView->activateWindow();
            },
        .showModal =
            [this](FormModel& form) {
                completeStart();
                for (const auto& view : views_)
                    if (&view->model() == &form)
                        view->runModal();
            },
    });
    qtPorts_.eventLoop.setAfterTask([this] { hub_.refreshAll(); });
    if (auto* title = mainView->findChild<QLabel*>(QStringLiteral("LabelMidiTitle")))
        qtPorts_.windows.setTitleMetrics({
            .textWidth =
                [title](const QString& text) {
                    return title->fontMetrics().horizontalAdvance(text);
                },
            .labelWidth = [title] { return title->width(); },
        });
    qtPorts_.windows.setRepaintHandler([this, mainView] {
        hub_.refreshAll();
        mainView->repaint();
    });
}

void Program::closeMainWindow() {
    ports_.windows.closeMainWindow();
}

Program::~Program() {
    // Views go first (they refer to the models), then the models, then the devices, which must
    // leave the engine before the output stops pulling from it.
#if TOBIRA_HAS_MPRIS
    mpris_.reset();
#endif
    remote_.reset();
    views_.clear();
    forms_.reset();
    // Ends the output's thread; the devices then leave an engine nobody pulls.
    output_.reset();
    wave_.reset();
    midiOut_.reset();
#if TOBIRA_HAS_ALSA_SEQUENCER
    sequencer_.reset();
#endif
    midi_.reset();
    cd_.reset();
}

void Program::start() {
    mixer_.CreateWnd();
    {
        const auto readDone = qScopeGuard([this] { startSettings_.reset(); });
        forms_->CreateAll(*startSettings_);
    }
    forms_->FormMain.Show();
    hub_.refreshAll();
    remote_ = std::make_unique<PlayerRemote>(forms_->FormMain, forms_->FormList, forms_->FormView,
                                             qtPorts_.windows);
    // Owned by the main window's view.
    new MainWindowKeys(*views_.front(), forms_->FormMain, *remote_, hub_);
    // Should the main window never paint (started iconified), the rest comes a moment later.
    QTimer::singleShot(200, &firstPaint_, [this] { completeStart(); });
}

void Program::completeStart() {
    if (complete_)
        return;
    complete_ = true;
    // Opening the sound output can take a sound server tens of milliseconds: not before the
    // main window shows. Nothing sounds before a user has seen the window. Until then the
    // engine's wake, pause and flush go nowhere: the output opens awake.
    output_ = std::make_unique<SoundOutput>(
        engine_, qtPorts_.eventLoop,
        [this](const std::string& text) { ports_.messages.showMessage(text); },
        SoundOutput::Choice(std::getenv("TOBIRA_AUDIO_OUTPUT")), SoundOutput::RealOutputs(engine_));
    output_->open();
    // Lists the CD drives and the sequencer ports: not needed before the setup window can show.
    forms_->FormSetUp.SetDevices(*setupDevices_);
    views_.emplace_back(new FormSetUpWidget(forms_->FormSetUp, mixer_, hub_));
    views_.emplace_back(new FormListWidget(forms_->FormList, forms_->FormMain.ShowHints, hub_));
    views_.emplace_back(new FormManageWidget(forms_->FormManage, hub_));
    views_.emplace_back(new FormMsgWidget(forms_->FormMsg, hub_));
    views_.emplace_back(
        new FormPatternWidget(forms_->FormPattern, forms_->FormMain.ShowHints, hub_));
    views_.emplace_back(new FormModeWidget(forms_->FormMode, hub_));
    views_.emplace_back(new FormViewWidget(forms_->FormView, hub_));
    views_.emplace_back(new FormMidiWidget(forms_->FormMidi, hub_));
    views_.emplace_back(new FormReaderWidget(forms_->FormReader, hub_));
    views_.emplace_back(new FormLyricsWidget(forms_->FormLyrics, hub_));
    views_.emplace_back(new FormPartsWidget(forms_->FormParts, hub_));
    // Wayland places every window itself; as the player's children the side windows at least
    // stay with it and above it.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        QWidget* mainView = views_.front().get();
        for (const auto& view : views_)
            if (view.get() != mainView) {
                view->winId();
                view->windowHandle()->setTransientParent(mainView->windowHandle());
            }
    }
    hub_.refreshAll();
    // The project's icon from the icon theme when installed, else the one built in.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tobira"), QIcon(QStringLiteral(":/icons/tobira.svg"))));
#if TOBIRA_HAS_MPRIS
    mpris_ = std::make_unique<MprisService>(QDBusConnection::sessionBus(), *remote_, hub_);
#endif
}

bool FirstPaintWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, then_);
    }
    return QObject::eventFilter(watched, event);
}

void Program::openFiles(const OpenArguments& files) {
    ShowRefusedFiles(files.refused);
    if (remote_ && !files.paths.isEmpty())
        OpenFiles(files.paths, *remote_, hub_);
}

} // namespace tobira
