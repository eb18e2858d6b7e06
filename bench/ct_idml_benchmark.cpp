// The IDML host on a large generated package (2,000 stories, about 5 M characters): opening,
// exporting every story, importing a translation of every story and saving, next to merely
// unpacking and parsing all the package's XML. The XLIFF export and import do the same through
// an XLIFF file, as the command does: the tagged story file, then the command's converter to
// XLIFF; the XLIFF file read back into a tagged story file, then imported. Each of their
// iterations also runs the tagged export or import once, outside the timing, as the command
// does it (an exported file is written durably, as the XLIFF file is), and the counter
// x_tagged is the CPU time of the XLIFF road over that of the tagged one in the same run (the
// goal is 1.5 at most); it holds up on a busy machine where the times themselves do not.
// BM_ExportAllXliff and BM_ImportAllXliff measure the step alone, the document open;
// BM_OpenExportAllXliff and BM_OpenImportAllXliffAndSave the whole command.
// Peak memory is the process's peak resident size so far: run one benchmark alone
// (--benchmark_filter) to see its own.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>
#include <zip.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "exchange/ct_tagged_file.h"
#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_writer.h"
#include "operations/ct_xliff_codes.h"
#include "operations/ct_xliff_converter.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_host.h"
#include "platform/host/idml/ct_idml_host.h"

namespace {

namespace fs = std::filesystem;

// The package is the one scripts/bench makes and keeps (build/bench-data), made here when it is
// missing; the files the benchmarks write stay in the build folder, so that two builds never share
// them.
const fs::path gco_Data = fs::path(STORYPORT_SOURCE_DIR) / "build" / "bench-data";
const fs::path gco_Big = gco_Data / "big-2000-5000000.idml";
const fs::path gco_Folder = fs::path(STORYPORT_BINARY_DIR) / "idml-bench";

void v_MakeBigPackage() {
    fs::create_directories(gco_Folder);
    if (fs::exists(gco_Big)) {
        return;
    }
    fs::create_directories(gco_Data);
    const std::string s_Command = std::string("python3 ") + STORYPORT_SOURCE_DIR +
                                  "/scripts/make_big_idml.py " + STORYPORT_SOURCE_DIR +
                                  "/tests/data/idml/footnotes.idml " + gco_Big.string() +
                                  " --stories 2000 --bytes 5000000 >/dev/null";
    if (std::system(s_Command.c_str()) != 0) {
        std::abort();
    }
}

// CPU seconds of this thread, which take in the system time of its reads and writes.
double d_ThreadSeconds() {
    struct timespec co_Now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &co_Now);
    return static_cast<double>(co_Now.tv_sec) + static_cast<double>(co_Now.tv_nsec) * 1e-9;
}

// Adds up the CPU time of the XLIFF road and of the tagged road, iteration by iteration.
class CT_Ratio {
  public:
    template <typename F>
    void v_Xliff(F f_Do) {
        d_Xliff += d_Time(f_Do);
    }
    // Outside the benchmark's timing.
    template <typename F>
    void v_Tagged(benchmark::State& co_State, F f_Do) {
        co_State.PauseTiming();
        d_Tagged += d_Time(f_Do);
        co_State.ResumeTiming();
    }
    void v_Report(benchmark::State& co_State) const {
        co_State.counters["x_tagged"] = d_Tagged > 0 ? d_Xliff / d_Tagged : 0;
    }

  private:
    template <typename F>
    static double d_Time(F f_Do) {
        const double d_Start = d_ThreadSeconds();
        f_Do();
        return d_ThreadSeconds() - d_Start;
    }
    double d_Xliff = 0;
    double d_Tagged = 0;
};

void v_ReportPeak(benchmark::State& co_State) {
    struct rusage co_Usage;
    getrusage(RUSAGE_SELF, &co_Usage);
    co_State.counters["peak_MB"] = static_cast<double>(co_Usage.ru_maxrss) / 1024.0;
}

// Wraps each stretch of text between codes and line ends in "[" and "]".
std::string s_Translate(const std::string& s_Content) {
    std::string s_Out;
    bool b_InText = false;
    for (std::size_t n = 0; n < s_Content.size(); ++n) {
        const char c = s_Content[n];
        const bool b_Text = c != '<' && c != '\n';
        if (b_Text != b_InText) {
            s_Out += b_Text ? "[" : "]";
            b_InText = b_Text;
        }
        if (c == '<') {
            const std::size_t n_End = s_Content.find('>', n);
            s_Out += s_Content.substr(n, n_End + 1 - n);
            n = n_End;
            continue;
        }
        s_Out += c;
        if (c == '\\' && n + 1 < s_Content.size()) {
            s_Out += s_Content[++n];
        }
    }
    return b_InText ? s_Out + "]" : s_Out;
}

// Drives the host as the kernel does, with a tagged story file as export writes one.
class CT_Driver {
  public:
    CT_Driver() { CT_Host::sv_Install(&co_Host); }
    ~CT_Driver() { CT_Host::sv_Install(nullptr); }

    void v_Open(const fs::path& co_Path) {
        void* p_Document = co_Host.p_Open(CT_String(co_Path.c_str()), 1);
        co_Host.v_Release(p_Document);
        co_Host.v_GenerateBoxList(0);
    }
    const CT_IdmlHost& cco_Host() const { return co_Host; }
    void v_Close(int b_Save) {
        void* p_Document = co_Host.p_GetCurrentDocument();
        co_Host.v_Close(p_Document, b_Save);
        co_Host.v_Release(p_Document);
    }
    template <typename F>
    void v_ForEachBox(F f_Do) {
        co_Host.v_ResetBoxList();
        do {
            void* p_Box = co_Host.p_GetCurrentBox();
            f_Do(p_Box, std::string(co_Host.co_GetKey(p_Box).sv()));
            co_Host.v_ReleaseBox(p_Box);
        } while (co_Host.b_NextTextBox());
    }
    // b_Durable as the export command writes its file; the work file that an XLIFF export
    // converts is not.
    void v_Export(const fs::path& co_File, int b_Durable = 0) {
        CT_Files co_Out;
        co_Out.v_Open(CT_String(co_File.c_str()), e_OpenWrite, b_Durable);
        co_Host.v_PrepareForExport();
        co_Out.v_Write(CT_String(CT_IdmlHost::spc_OpenTag));
        v_ForEachBox([&](void* p_Box, const std::string& s_Key) {
            co_Out.v_Write(CT_String(("<STORY NAME=\"" + s_Key + "\" LOCATION=\"P1\">").c_str()));
            co_Host.b_Export(p_Box, co_Out);
            co_Out.v_Write(CT_String("</STORY>\n\n\n"));
        });
        co_Out.v_Write(CT_String(CT_IdmlHost::spc_CloseTag));
        co_Out.v_Close();
    }
    void v_Import(const fs::path& co_File) {
        CT_Files co_In;
        co_In.v_Open(CT_String(co_File.c_str()), e_OpenRead, 0);
        co_Host.v_PrepareForImport();
        v_ForEachBox([&](void* p_Box, const std::string& s_Key) {
            co_In.v_MoveUntil(CT_String(("<STORY NAME=\"" + s_Key + "\"").c_str()));
            co_In.v_MoveUntil(CT_String(">"));
            co_Host.b_Import(p_Box, co_In, co_In.n_CountUntil(CT_String("</STORY>")));
        });
        co_In.v_Close();
    }

    CT_IdmlHost co_Host;
};

// Whole, at its size, as the command reads a file.
std::string s_ReadAll(const fs::path& co_File) {
    std::ifstream co_In(co_File, std::ios::binary | std::ios::ate);
    std::string s_Bytes(static_cast<std::size_t>(co_In.tellg()), '\0');
    co_In.seekg(0);
    co_In.read(s_Bytes.data(), static_cast<std::streamsize>(s_Bytes.size()));
    return s_Bytes;
}

void v_Write(const fs::path& co_File, const std::string& s_Bytes) {
    std::ofstream(co_File, std::ios::binary) << s_Bytes;
}

// The exported stories and their translation, made once.
void v_MakeTaggedFiles() {
    v_MakeBigPackage();
    if (fs::exists(gco_Folder / "translated.stt")) {
        return;
    }
    CT_Driver co_Driver;
    co_Driver.v_Open(gco_Big);
    co_Driver.v_Export(gco_Folder / "exported.stt");
    co_Driver.v_Close(0);
    std::vector<CT_TaggedStory> co_stories =
        CT_TaggedStoryFile::sco_Read(s_ReadAll(gco_Folder / "exported.stt"));
    for (CT_TaggedStory& co_story : co_stories) {
        co_story.co_Content = s_Translate(co_story.co_Content);
    }
    v_Write(gco_Folder / "translated.stt",
            CT_TaggedStoryFile::s_Write(co_stories, CT_IdmlHost::spc_OpenTag,
                                        CT_IdmlHost::spc_CloseTag));
}

const CT_XliffWriter::CT_Options gco_XliffOptions = {"", "en", "fr", true};

// The translation as an XLIFF file whose targets hold the translated stories, made once.
void v_MakeXliffTranslation() {
    v_MakeTaggedFiles();
    if (fs::exists(gco_Folder / "translated.xlf")) {
        return;
    }
    CT_Driver co_Driver;
    co_Driver.v_Open(gco_Big);
    co_Driver.v_Export(gco_Folder / "codes.stt");
    CT_XliffConverter co_Converter(co_Driver.co_Host, gco_XliffOptions);
    co_Converter.b_Convert(CT_String((gco_Folder / "translated.stt").c_str()),
                           CT_String((gco_Folder / "translated.xlf").c_str()),
                           CT_String("big.idml"));
    co_Driver.v_Close(0);
}

void BM_UnpackAndParseAllXml(benchmark::State& co_State) {
    v_MakeBigPackage();
    for (auto _ : co_State) {
        int i_Error = 0;
        zip_t* pco_Zip = zip_open(gco_Big.c_str(), ZIP_RDONLY, &i_Error);
        for (zip_int64_t i = 0; i < zip_get_num_entries(pco_Zip, 0); ++i) {
            const zip_uint64_t n = static_cast<zip_uint64_t>(i);
            if (fs::path(zip_get_name(pco_Zip, n, 0)).extension() != ".xml") {
                continue;
            }
            zip_stat_t co_Stat;
            zip_stat_index(pco_Zip, n, 0, &co_Stat);
            std::string s_Bytes(co_Stat.size, '\0');
            zip_file_t* pco_File = zip_fopen_index(pco_Zip, n, 0);
            zip_fread(pco_File, s_Bytes.data(), s_Bytes.size());
            zip_fclose(pco_File);
            pugi::xml_document co_Doc;
            co_Doc.load_buffer(s_Bytes.data(), s_Bytes.size(),
                               pugi::parse_default | pugi::parse_pi | pugi::parse_ws_pcdata);
            benchmark::DoNotOptimize(co_Doc.document_element());
        }
        zip_discard(pco_Zip);
    }
    v_ReportPeak(co_State);
}

void BM_OpenAndExportAll(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    CT_Driver co_Driver;
    for (auto _ : co_State) {
        co_Driver.v_Open(gco_Big);
        co_Driver.v_Export(gco_Folder / "out.stt");
        co_Driver.v_Close(0);
    }
    v_ReportPeak(co_State);
}

void BM_ExportAll(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    CT_Driver co_Driver;
    co_Driver.v_Open(gco_Big);
    for (auto _ : co_State) {
        co_Driver.v_Export(gco_Folder / "out.stt");
    }
    co_Driver.v_Close(0);
    v_ReportPeak(co_State);
}

void BM_ExportAllXliff(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    CT_Driver co_Driver;
    co_Driver.v_Open(gco_Big);
    CT_XliffConverter co_Converter(co_Driver.co_Host, gco_XliffOptions);
    CT_Ratio co_Ratio;
    for (auto _ : co_State) {
        co_Ratio.v_Xliff([&] {
            co_Driver.v_Export(gco_Folder / "out.stt");
            co_Converter.b_Convert(CT_String((gco_Folder / "out.stt").c_str()),
                                   CT_String((gco_Folder / "out.xlf").c_str()),
                                   CT_String("big.idml"));
        });
        co_Ratio.v_Tagged(co_State, [&] { co_Driver.v_Export(gco_Folder / "out.stt", 1); });
    }
    co_Driver.v_Close(0);
    co_Ratio.v_Report(co_State);
    v_ReportPeak(co_State);
}

void BM_ImportAll(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    CT_Driver co_Driver;
    for (auto _ : co_State) {
        co_State.PauseTiming();
        co_Driver.v_Open(gco_Big);
        co_State.ResumeTiming();
        co_Driver.v_Import(gco_Folder / "translated.stt");
        co_State.PauseTiming();
        co_Driver.v_Close(0);
        co_State.ResumeTiming();
    }
    v_ReportPeak(co_State);
}

// As the import command reads an XLIFF file: whole, then written as a tagged story file, which
// is imported.
void v_ImportXliff(CT_Driver& co_Driver) {
    const CT_XliffReader co_Reader(s_ReadAll(gco_Folder / "translated.xlf"));
    CT_Files co_Out;
    co_Out.v_Open(CT_String((gco_Folder / "from-xliff.stt").c_str()), e_OpenWrite, 0);
    // Laid over the open document's stories by unit id, as the command does.
    std::vector<CT_XliffFinding> co_Findings;
    const std::vector<CT_TaggedStory> co_Stories = CT_XliffPlacement::sco_PlaceAll(
        co_Reader,
        [&](const std::string& s_Key, std::vector<CT_StoryLayout>& co_Layouts) {
            std::string s_Content;
            std::vector<CT_IdmlStoryCodeInfo> co_Infos;
            if (!co_Driver.cco_Host().b_ExportedContent("", s_Key, false, s_Content, co_Infos)) {
                return false;
            }
            co_Layouts.emplace_back(s_Content, CT_XliffCodes::sco_From(co_Infos));
            return true;
        },
        co_Findings);
    const std::string s_Tagged = CT_TaggedStoryFile::s_Write(co_Stories, CT_IdmlHost::spc_OpenTag,
                                                             CT_IdmlHost::spc_CloseTag);
    co_Out.v_Write(s_Tagged.data(), s_Tagged.size());
    co_Out.v_Close();
    co_Driver.v_Import(gco_Folder / "from-xliff.stt");
}

void BM_ImportAllXliff(benchmark::State& co_State) {
    v_MakeXliffTranslation();
    CT_Driver co_Driver;
    CT_Ratio co_Ratio;
    for (auto _ : co_State) {
        co_State.PauseTiming();
        co_Driver.v_Open(gco_Big);
        co_State.ResumeTiming();
        co_Ratio.v_Xliff([&] { v_ImportXliff(co_Driver); });
        co_State.PauseTiming();
        co_Driver.v_Close(0);
        co_Driver.v_Open(gco_Big);
        co_State.ResumeTiming();
        co_Ratio.v_Tagged(co_State, [&] { co_Driver.v_Import(gco_Folder / "translated.stt"); });
        co_State.PauseTiming();
        co_Driver.v_Close(0);
        co_State.ResumeTiming();
    }
    co_Ratio.v_Report(co_State);
    v_ReportPeak(co_State);
}

void BM_OpenImportAllAndSave(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    const fs::path co_Copy = gco_Folder / "copy.idml";
    CT_Driver co_Driver;
    for (auto _ : co_State) {
        co_State.PauseTiming();
        fs::copy_file(gco_Big, co_Copy, fs::copy_options::overwrite_existing);
        co_State.ResumeTiming();
        co_Driver.v_Open(co_Copy);
        co_Driver.v_Import(gco_Folder / "translated.stt");
        co_Driver.v_Close(1);
    }
    v_ReportPeak(co_State);
}

// The whole commands: open, export and close; copy, open, import and save.
void BM_OpenExportAllXliff(benchmark::State& co_State) {
    v_MakeTaggedFiles();
    CT_Driver co_Driver;
    CT_Ratio co_Ratio;
    for (auto _ : co_State) {
        co_Ratio.v_Xliff([&] {
            co_Driver.v_Open(gco_Big);
            CT_XliffConverter co_Converter(co_Driver.co_Host, gco_XliffOptions);
            co_Driver.v_Export(gco_Folder / "out.stt");
            co_Converter.b_Convert(CT_String((gco_Folder / "out.stt").c_str()),
                                   CT_String((gco_Folder / "out.xlf").c_str()),
                                   CT_String("big.idml"));
            co_Driver.v_Close(0);
        });
        co_Ratio.v_Tagged(co_State, [&] {
            co_Driver.v_Open(gco_Big);
            co_Driver.v_Export(gco_Folder / "out.stt", 1);
            co_Driver.v_Close(0);
        });
    }
    co_Ratio.v_Report(co_State);
    v_ReportPeak(co_State);
}

void BM_OpenImportAllXliffAndSave(benchmark::State& co_State) {
    v_MakeXliffTranslation();
    const fs::path co_Copy = gco_Folder / "copy.idml";
    CT_Driver co_Driver;
    CT_Ratio co_Ratio;
    for (auto _ : co_State) {
        co_State.PauseTiming();
        fs::copy_file(gco_Big, co_Copy, fs::copy_options::overwrite_existing);
        co_State.ResumeTiming();
        co_Ratio.v_Xliff([&] {
            co_Driver.v_Open(co_Copy);
            v_ImportXliff(co_Driver);
            co_Driver.v_Close(1);
        });
        co_State.PauseTiming();
        fs::copy_file(gco_Big, co_Copy, fs::copy_options::overwrite_existing);
        co_State.ResumeTiming();
        co_Ratio.v_Tagged(co_State, [&] {
            co_Driver.v_Open(co_Copy);
            co_Driver.v_Import(gco_Folder / "translated.stt");
            co_Driver.v_Close(1);
        });
    }
    co_Ratio.v_Report(co_State);
    v_ReportPeak(co_State);
}

BENCHMARK(BM_UnpackAndParseAllXml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenAndExportAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportAllXliff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportAllXliff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenImportAllAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenExportAllXliff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenImportAllXliffAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
