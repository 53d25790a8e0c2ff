// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer panel's Qt view over the program's mixer: the slider scale on every channel, changes
// from elsewhere shown without being written back, the TrackBar limit and the columns.
#include "controls/views/mixer_ctrl_widget.h"
#include "media/audio_engine.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QTest>

using namespace tobira;

class MixerPanelViewTest : public QObject {
    Q_OBJECT

    struct World {
        AudioEngine engine;
        TMixerCtrl panel{&engine};
        MixerCtrlWidget view{panel};
        int changes = 0;
        World() {
            panel.CreateWnd();
            engine.addControlListener([this](MixerLine) { ++changes; });
            view.render();
        }
        MixerLine lineOf(int column) const {
            const MixerColumn& c = panel.Columns().at(static_cast<std::size_t>(column));
            return c.IsDestination ? MixerLine::Speakers : *panel.SourceLine(c.Tag);
        }
        bool allChannelsAre(MixerLine line, int value) const {
            return engine.volume(line, 0) == value && engine.volume(line, 1) == value;
        }
    };

  private slots:
    void sliderTopBottomAndOneStepDownOnEveryChannel() {
        World w;
        QCOMPARE(w.view.columnCount(), 4);
        for (int column = 0; column < w.view.columnCount(); ++column) {
            QSlider* slider = w.view.volume(column);
            const MixerLine line = w.lineOf(column);
            slider->setValue(0);
            QVERIFY(w.allChannelsAre(line, 65535));
            slider->setValue(1);
            QVERIFY(w.allChannelsAre(line, 65278));
            slider->setValue(255);
            QVERIFY(w.allChannelsAre(line, 0));
            // The top is Min: the loudest end of the slider is drawn at the top.
            QVERIFY(slider->invertedAppearance());
        }
        QTest::mouseClick(w.view.mute(0), Qt::LeftButton);
        QVERIFY(w.engine.mute(MixerLine::Speakers));
    }

    void aChangeFromElsewhereMovesSliderAndBoxWithoutWriteBack() {
        World w;
        const int cd = [&w] {
            for (int c = 1; c < w.view.columnCount(); ++c)
                if (w.lineOf(c) == MixerLine::CompactDisc)
                    return c;
            return -1;
        }();
        QVERIFY(cd > 0);
        const int source = w.panel.Columns()[static_cast<std::size_t>(cd)].Tag;
        w.changes = 0;
        // 30000 lies between two slider steps: a write back would round it to 30069.
        w.panel.SetSourceVolume(source, 30000);
        w.panel.SetSourceMute(source, true);
        w.view.render();
        QCOMPARE(w.view.volume(cd)->value(), 138);
        QVERIFY(w.view.mute(cd)->isChecked());
        QVERIFY(w.allChannelsAre(MixerLine::CompactDisc, 30000));
        QCOMPARE(w.changes, 2);
    }

    void trackBarLimitAndEmptyLines() {
        World w;
        QVERIFY(!w.panel.SetTrackBarMax(40000));
        w.view.render();
        QCOMPARE(w.panel.TrackBar.Max, 255);
        QCOMPARE(w.view.volume(0)->maximum(), 255);
        QVERIFY(w.panel.SetTrackBarMax(100));
        w.view.render();
        QCOMPARE(w.view.volume(1)->maximum(), 100);

        w.panel.SetLines({});
        w.view.render();
        QCOMPARE(w.view.columnCount(), 1);
        QCOMPARE(w.panel.LineLabels.size(), std::size_t{1});
        QCOMPARE(w.view.label(0)->text().isEmpty(), false);
        // One column takes the whole work area; no separator.
        w.view.resize(168, 312);
        QVERIFY(!w.view.findChild<QFrame*>(QStringLiteral("Separator"))->isVisibleTo(&w.view));
        QCOMPARE(w.view.volume(0)->width(), 40);
        QCOMPARE(w.view.volume(0)->x(), 4 + (160 - 40) / 2); // centred in the work area
        QVERIFY(w.view.mute(0)->geometry().top() >= w.view.volume(0)->geometry().bottom());
    }
};

QTEST_MAIN(MixerPanelViewTest)
#include "mixer_panel_view_test.moc"
