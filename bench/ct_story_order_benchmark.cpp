// How the check of a story order against the host grows with the number of boxes. Each check
// makes a new box object per host box, matches old and new boxes through an index by key (the
// host confirms each match) and places whole lists by sorting, so it grows as N log N: 5,000
// boxes should take well under 100 ms, 20,000 well under a second. The memory host answers;
// its journal is off so that it does not grow.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"
#include "settings/ct_story_list_settings.h"
#include "storyorder/ct_story_order.h"

namespace {

constexpr const char* kpc_Path = "/bench/catalogue.indd";
constexpr int ki_BoxesPerPage = 12;

// Boxes spread over pages at scattered places, listed by the host in page order.
std::vector<CT_MemoryBox> co_Boxes(int i_Count) {
    std::vector<CT_MemoryBox> co_boxes;
    unsigned n_seed = 12345;
    for (int i_box = 0; i_box < i_Count; ++i_box) {
        n_seed = n_seed * 1103515245u + 12345u;
        CT_MemoryBox co_box;
        co_box.s_Key = "u" + std::to_string(1000 + i_box);
        co_box.n_Page = static_cast<unsigned>(1 + i_box / ki_BoxesPerPage);
        co_box.i_X = static_cast<int>((n_seed >> 8) % 600);
        co_box.i_Y = static_cast<int>((n_seed >> 18) % 800);
        co_box.s_Content = "Story number " + std::to_string(i_box) + " of the catalogue";
        co_boxes.push_back(co_box);
    }
    return co_boxes;
}

void BM_CheckStoryOrder(benchmark::State& co_State) {
    const int i_count = static_cast<int>(co_State.range(0));
    CT_MemoryHost co_host;
    co_host.v_SetJournaling(false);
    CT_Host::sv_Install(&co_host);
    co_host.v_PutDocument(kpc_Path, co_Boxes(i_count));
    co_host.v_OpenDocument(kpc_Path);

    CT_StoryListSettings co_settings;
    CT_StoryOrder co_order(co_settings);
    co_order.v_CheckStoryOrder();
    for (auto _ : co_State) {
        co_order.v_CheckStoryOrder();
    }
    co_State.SetComplexityN(i_count);
    if (co_order.n_Count() != static_cast<unsigned>(i_count)) {
        co_State.SkipWithError("the story order lost boxes");
    }
    co_order.v_DestroyAll();
    CT_Host::sv_Install(nullptr);
}

BENCHMARK(BM_CheckStoryOrder)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
