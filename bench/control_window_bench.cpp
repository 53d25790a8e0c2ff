// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI control window's heavy handlers over real files:
//  - ButtonSearchClick over two 100,000-line lists, warm (lists unchanged since the last
//    search): goal <= 30 ms; the loose match alone over 100,000 normalised lines: <= 5 ms;
//  - adding a folder of 1,000 generated MIDI files with Shift-JIS titles: <= 1 s; of 10,000:
//    <= 8 s (scan, titles, save and reload of the list).

#include "midi_windows/list_page.h"
#include "midi_windows/midi_pages_host.h"
#include "midi_windows/search_page.h"
#include "files/whole_file.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "text/search.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace tobira {
namespace {

using testing::FakeBusy;
using testing::FakeChoosers;
using testing::FakeMessages;

// Titles of mixed Japanese and Latin text, paths below a few folders, as a grown list holds.
std::vector<std::string> MakeLines(std::size_t count, unsigned seed) {
    const std::vector<std::string> words = {Utf8ToCp932("さくら"),
                                            Utf8ToCp932("夜明け"),
                                            Utf8ToCp932("カノン"),
                                            Utf8ToCp932("ｶﾞｲﾄﾞ"),
                                            Utf8ToCp932("交響曲"),
                                            Utf8ToCp932("第九"),
                                            Utf8ToCp932("ｿﾅﾀ"),
                                            "Prelude",
                                            "in",
                                            "C",
                                            "minor",
                                            "Op.",
                                            "Blue",
                                            "moon",
                                            Utf8ToCp932("ＭＩＤＩ")};
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string title = pick(10) == 0 ? "!" + std::to_string(1 + pick(3)) + " " : "";
        for (std::size_t w = 0, n = 1 + pick(4); w < n; ++w)
            title += words[pick(words.size())] + " ";
        title += "by Composer" + std::to_string(pick(300));
        lines.push_back(title + "\t/home/user/midi/folder" + std::to_string(pick(50)) + "/song" +
                        std::to_string(i) + ".mid\t+0\t" + std::to_string(pick(4)));
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Only what the search and the folder scan ask of the window.
struct Host final : MidiPagesHost {
    void PlayLines(const std::vector<std::string>&, bool) override {}
    void OpenDocument(const std::string&) override {}
    bool ReaderShowing() const override { return false; }
    void ShowProgressCaption(const std::string& caption) override { last = caption; }
    void RestoreCaption() override {}
    void AddToAlbum(const std::vector<std::string>&) override {}
    std::string StartFolder(int) const override { return {}; }
    ListPage& Page(int) override { return *page; }
    void ShowPage(int) override {}
    void ShowAuthorMessage() override {}
    ListPage* page = nullptr;
    std::string last;
};

void BM_SearchClick2x100k(benchmark::State& state) {
    testing::TempDir dir;
    const std::string list0 = *Cp932FromPath(dir / "GAKUFU.DT0");
    const std::string list1 = *Cp932FromPath(dir / "GAKUFU.DT1");
    WriteFileAtomically(PathFromCp932(list0), Joined(MakeLines(100000, 1)));
    WriteFileAtomically(PathFromCp932(list1), Joined(MakeLines(100000, 2)));
    FakeMessages messages;
    FakeChoosers choosers;
    FakeBusy busy;
    Host host;
    SearchPage search(list0, list1, *Cp932FromPath(dir / "TOBIRA.INI"), messages, choosers, busy,
                      host);
    search.ComboBoxKeyWord = Utf8ToCp932("ソナタ 第九");
    search.ButtonSearchClick(); // the first search reads and normalises the files
    std::size_t found = 0;
    for (auto _ : state) {
        search.ButtonClearClick();
        search.ComboBoxKeyWord = Utf8ToCp932("ソナタ 第九");
        search.ButtonSearchClick();
        found = search.ListBoxSearch.size();
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchClick2x100k)->Unit(benchmark::kMillisecond);

void BM_SearchClickCold2x100k(benchmark::State& state) {
    testing::TempDir dir;
    const std::string list0 = *Cp932FromPath(dir / "GAKUFU.DT0");
    const std::string list1 = *Cp932FromPath(dir / "GAKUFU.DT1");
    const std::string text0 = Joined(MakeLines(100000, 1));
    WriteFileAtomically(PathFromCp932(list1), Joined(MakeLines(100000, 2)));
    FakeMessages messages;
    FakeChoosers choosers;
    FakeBusy busy;
    Host host;
    SearchPage search(list0, list1, *Cp932FromPath(dir / "TOBIRA.INI"), messages, choosers, busy,
                      host);
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomically(PathFromCp932(list0), text0); // a changed file is read again
        search.ButtonClearClick();
        search.ComboBoxKeyWord = Utf8ToCp932("ソナタ 第九");
        state.ResumeTiming();
        search.ButtonSearchClick();
    }
}
BENCHMARK(BM_SearchClickCold2x100k)->Unit(benchmark::kMillisecond);

void BM_LooseMatch100k(benchmark::State& state) {
    testing::TempDir dir;
    const std::string list0 = *Cp932FromPath(dir / "GAKUFU.DT0");
    WriteFileAtomically(PathFromCp932(list0), Joined(MakeLines(100000, 1)));
    ListSnapshot snapshot;
    snapshot.Refresh(list0);
    const auto& normalised = snapshot.Normalised();
    const std::string keyword = NormaliseForLooseSearch(Utf8ToCp932("ソナタ 第九"));
    std::size_t found = 0;
    for (auto _ : state) {
        found = LinesContaining(keyword, normalised).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_LooseMatch100k)->Unit(benchmark::kMillisecond);

// Files with Shift-JIS track names, written once for all iterations.
std::string MakeFolder(const testing::TempDir& dir, int count) {
    const auto folder = dir / ("songs" + std::to_string(count));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        testing::SmfWriter writer;
        writer.text(0, 0, 0x03, Utf8ToCp932("演奏曲 ") + std::to_string(i));
        for (int n = 0; n < 32; ++n)
            writer.note(0, static_cast<std::uint32_t>(n * 240), 0, 60 + n % 12, 100, 200);
        writer.write(folder / ("song" + std::to_string(i) + ".mid"));
    }
    return *Cp932FromPath(folder);
}

void BM_AddFolder(benchmark::State& state) {
    testing::TempDir dir;
    const int count = static_cast<int>(state.range(0));
    const std::string folder = MakeFolder(dir, count);
    const std::string list0 = *Cp932FromPath(dir / "GAKUFU.DT0");
    FakeMessages messages;
    FakeChoosers choosers;
    FakeBusy busy;
    Host host;
    ListPage scanned(0, list0, messages, choosers, busy, host);
    host.page = &scanned;
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomically(PathFromCp932(list0), ""); // an empty list each time
        scanned.LoadListPage();
        choosers.folders = {folder};
        state.ResumeTiming();
        added = scanned.AddFolderSongs();
    }
    state.counters["added"] = added;
}
BENCHMARK(BM_AddFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace tobira

BENCHMARK_MAIN();
