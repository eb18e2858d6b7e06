// Searching a large file for a marker through CT_Files, next to the same search over the bytes
// already in memory. The file (100 MB of story-like text, the marker only at its end) is made
// once in the temporary folder and kept for later runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/common/ct_files.h"

namespace {
constexpr std::size_t gn_FileSize = 100u << 20;
const char gc_Marker[] = "</STORY>";

std::string co_MakeText() {
    const std::string co_line =
        "Lorem <b>ipsum</b> dolor sit amet, <i>consectetur</i> adipiscing elit </STOR <ST>\n";
    std::string co_text;
    co_text.reserve(gn_FileSize);
    while (co_text.size() + co_line.size() + sizeof gc_Marker <= gn_FileSize) {
        co_text += co_line;
    }
    co_text.append(gn_FileSize - co_text.size() - (sizeof gc_Marker - 1), 'x');
    co_text += gc_Marker;
    return co_text;
}

const std::string& co_Text() {
    static const std::string sco_text = co_MakeText();
    return sco_text;
}

const std::string& co_Path() {
    static const std::string sco_path = [] {
        std::string co_path =
            (std::filesystem::temp_directory_path() / "storyport-files-bench-100mb.txt").string();
        std::error_code co_error;
        if (std::filesystem::file_size(co_path, co_error) != gn_FileSize) {
            std::ofstream(co_path, std::ios::binary) << co_Text();
        }
        return co_path;
    }();
    return sco_path;
}

void v_Report(benchmark::State& co_State) {
    co_State.SetBytesProcessed(static_cast<std::int64_t>(co_State.iterations() * gn_FileSize));
}

void BM_FilesMoveUntil(benchmark::State& co_State) {
    const CT_String co_path(co_Path());
    for (auto _ : co_State) {
        CT_Files co_file;
        co_file.v_Open(co_path, e_OpenRead, 0);
        co_file.v_MoveUntil(gc_Marker);
        co_file.v_Close();
    }
    v_Report(co_State);
}

void BM_FilesCountUntil(benchmark::State& co_State) {
    const CT_String co_path(co_Path());
    for (auto _ : co_State) {
        CT_Files co_file;
        co_file.v_Open(co_path, e_OpenRead, 0);
        benchmark::DoNotOptimize(co_file.n_CountUntil(gc_Marker));
        co_file.v_Close();
    }
    v_Report(co_State);
}

// The plain way over memory: memchr for the marker's first byte, then compare the rest.
void BM_MemoryMemchr(benchmark::State& co_State) {
    const std::string& co_text = co_Text();
    const std::size_t n_marker = sizeof gc_Marker - 1;
    for (auto _ : co_State) {
        const char* pc_at = co_text.data();
        const char* pc_end = co_text.data() + co_text.size();
        while ((pc_at = static_cast<const char*>(
                    std::memchr(pc_at, gc_Marker[0], pc_end - pc_at))) != nullptr) {
            if (static_cast<std::size_t>(pc_end - pc_at) >= n_marker &&
                std::memcmp(pc_at, gc_Marker, n_marker) == 0) {
                break;
            }
            ++pc_at;
        }
        benchmark::DoNotOptimize(pc_at);
    }
    v_Report(co_State);
}

void BM_MemorySearch(benchmark::State& co_State) {
    const std::string& co_text = co_Text();
    for (auto _ : co_State) {
        auto co_at = std::search(co_text.begin(), co_text.end(), std::begin(gc_Marker),
                                 std::end(gc_Marker) - 1);
        benchmark::DoNotOptimize(co_at);
    }
    v_Report(co_State);
}

// The library's search itself (two-way with vector compares) over memory, the fairest match.
void BM_MemoryMemmem(benchmark::State& co_State) {
    const std::string& co_text = co_Text();
    for (auto _ : co_State) {
        benchmark::DoNotOptimize(
            ::memmem(co_text.data(), co_text.size(), gc_Marker, sizeof gc_Marker - 1));
    }
    v_Report(co_State);
}

BENCHMARK(BM_FilesMoveUntil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilesCountUntil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryMemchr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemorySearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryMemmem)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
