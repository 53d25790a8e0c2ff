// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the pattern file when a disc is put in. Goal: a file of 10,000 records read for one
// disc in under 20 ms, the file read and the display refresh included.

#include "cd_windows/pattern_display.h"
#include "cd_windows/pattern_file.h"
#include "text/cp932_convert.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace tobira;

class NoMessages final : public MessagePort {
  public:
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    Answer askYesNoCancel(const std::string&) override { return Answer::Cancel; }
    void beep() override {}
};

std::string discId(int disc) {
    return std::to_string(1000000000 + disc * 7919);
}

// 1,000 discs with ten patterns each, appended over the years in no order: 10 to 30 tracks and
// a Japanese title per record, about 80 bytes a line.
std::string MakeFile(int records) {
    const char* words[] = {"ドライブ", "ミックス", "夜", "ベスト", "ｶﾗｵｹ", "live", "part", "　"};
    std::mt19937 random(10000);
    std::vector<std::string> lines;
    for (int i = 0; i < records; ++i) {
        std::vector<int> tracks(10 + random() % 21);
        for (int& t : tracks)
            t = 1 + static_cast<int>(random() % 20);
        std::string title;
        for (int w = 0; w < 3; ++w)
            title += Utf8ToCp932(words[random() % std::size(words)]);
        lines.push_back(PatternRecordLine(PatternKey(discId(i / 10), i % 10),
                                          FormatTrackOrder(tracks) + "." + title));
    }
    std::shuffle(lines.begin(), lines.end(), random);
    return JoinPatternLines(lines);
}

struct BenchFile {
    BenchFile() {
        path = std::filesystem::temp_directory_path() /
               ("tobira-pattern-bench-" + std::to_string(::getpid()) + ".DAT");
        bytes = MakeFile(10000);
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~BenchFile() { std::filesystem::remove(path); }
    std::filesystem::path path;
    std::string bytes;
};

const BenchFile& File() {
    static const BenchFile file;
    return file;
}

// state.range(0): 1 = a disc with ten records, 0 = a disc without any (every line searched).
void BM_ReadPatternFile(benchmark::State& state) {
    const auto& file = File();
    std::array<ButtonState, kPatternSlots> slots, rows;
    LabelState cdId;
    cdId.Caption = state.range(0) ? discId(123) : "9999999999";
    PatternTable table;
    NoMessages messages;
    for (auto _ : state) {
        auto result = ReadPatternFile(file.path.string(), table, {slots, rows, cdId}, messages);
        benchmark::DoNotOptimize(result);
    }
    state.counters["registered"] = static_cast<double>(
        std::count_if(table.begin(), table.end(), [](const std::string& t) { return !t.empty(); }));
    state.counters["bytes"] = static_cast<double>(file.bytes.size());
}
BENCHMARK(BM_ReadPatternFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The same in memory: line split and key search only.
void BM_BuildPatternTable(benchmark::State& state) {
    const auto& file = File();
    const std::string disc = state.range(0) ? discId(123) : "9999999999";
    for (auto _ : state) {
        auto table = BuildPatternTable(SplitPatternLines(file.bytes), disc);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_BuildPatternTable)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
