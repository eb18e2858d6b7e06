// How importing one story's translation grows with its size, for an ordinary translation and
// for shapes a hostile (or careless) file may take: nothing but line ends, a format code around
// every letter, a paragraph per letter. Each import is timed with the writing of the story as a
// save writes it. Every shape should grow linearly (the fitted complexity is N), and the first
// two stay close to the ordinary text of the same size; a paragraph per letter costs a few tree
// nodes per letter whatever is done, so it is only held to growing linearly.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

#include "platform/common/ct_string.h"
#include "platform/host/idml/ct_idml_story_codec.h"
#include "platform/host/idml/ct_idml_story_xml.h"

namespace {

const char kac_Story[] =
    "<Story Self=\"u1\"><ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/Body\">"
    "<CharacterStyleRange AppliedCharacterStyle=\"CharacterStyle/$ID/[No character style]\">"
    "<Content>An ordinary paragraph of the story, </Content></CharacterStyleRange>"
    "<CharacterStyleRange AppliedCharacterStyle=\"CharacterStyle/$ID/[No character style]\" "
    "FontStyle=\"Bold\"><Content>bold</Content></CharacterStyleRange>"
    "<CharacterStyleRange AppliedCharacterStyle=\"CharacterStyle/$ID/[No character style]\">"
    "<Content> and plain again.</Content></CharacterStyleRange></ParagraphStyleRange></Story>";

enum et_Shape { e_Ordinary, e_LineEnds, e_FormatRuns, e_ShortParagraphs };

std::string s_Content(et_Shape eo_Shape, std::size_t n_Bytes) {
    static const char* const apc_units[] = {
        "Ein gew\xc3\xb6hnlicher Absatz der Geschichte, <g1>fett</g1> und wieder schlicht.\n", "\n",
        "<g1>a</g1>", "a\n"};
    const std::string s_unit = apc_units[eo_Shape];
    std::string s_content;
    s_content.reserve(n_Bytes + s_unit.size());
    while (s_content.size() < n_Bytes) {
        s_content += s_unit;
    }
    return s_content;
}

void BM_ImportStory(benchmark::State& co_State, et_Shape eo_Shape) {
    const std::size_t n_bytes = static_cast<std::size_t>(co_State.range(0));
    const std::string s_content = s_Content(eo_Shape, n_bytes);
    std::size_t n_written = 0;
    for (auto _ : co_State) {
        co_State.PauseTiming();
        pugi::xml_document co_document;
        co_document.load_string(kac_Story, CT_IdmlStoryXml::sn_ParseOptions);
        co_State.ResumeTiming();
        CT_IdmlStoryCodec::v_Import(co_document.child("Story"), s_content, CT_String("u1"));
        struct ct_Counter : pugi::xml_writer {
            std::size_t n_Size = 0;
            void write(const void*, std::size_t n_Size) override { this->n_Size += n_Size; }
        } co_counter;
        co_document.save(co_counter, "", CT_IdmlStoryXml::sn_WriteOptions);
        n_written = co_counter.n_Size;
    }
    co_State.SetBytesProcessed(static_cast<int64_t>(co_State.iterations() * s_content.size()));
    co_State.SetComplexityN(static_cast<int64_t>(s_content.size()));
    co_State.counters["xml_per_byte"] =
        static_cast<double>(n_written) / static_cast<double>(s_content.size());
}

void v_Sizes(benchmark::internal::Benchmark* pco_Bench) {
    pco_Bench->Arg(1 << 18)->Arg(1 << 20)->Arg(1 << 21);
    pco_Bench->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ImportStory, Ordinary, e_Ordinary)->Apply(v_Sizes);
BENCHMARK_CAPTURE(BM_ImportStory, LineEnds, e_LineEnds)->Apply(v_Sizes);
BENCHMARK_CAPTURE(BM_ImportStory, FormatRuns, e_FormatRuns)->Apply(v_Sizes);
BENCHMARK_CAPTURE(BM_ImportStory, ShortParagraphs, e_ShortParagraphs)->Apply(v_Sizes);

BENCHMARK_MAIN();
