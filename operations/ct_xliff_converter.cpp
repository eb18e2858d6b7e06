#include "operations/ct_xliff_converter.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "exchange/ct_tagged_file.h"
#include "map/ct_capacity_estimate.h"
#include "operations/ct_document_language.h"
#include "operations/ct_xliff_codes.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_work_pool.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_progress_listener.h"

namespace {
// "page A22", "master A-Master", "pasteboard": the page as the document prints its name.
std::string s_PageOf(const CT_FrameSetting& co_Frame) {
    if (co_Frame.b_OnPasteBoard) {
        return "pasteboard";
    }
    if (co_Frame.s_Page.empty()) {
        return std::string();
    }
    return (co_Frame.b_OnMasterPage ? "master " : "page ") + co_Frame.s_Page;
}

// "pages A22 to A24, frames u1dc, u1e0, u1e4, layer Text": where a translator finds the story
// in the layout. A long thread names its first and last frames only.
std::string s_Where(const CT_StorySetting& co_Setting, const CT_IdmlBox* pco_Box) {
    const std::vector<CT_FrameSetting>& co_frames = co_Setting.co_Frames;
    if (co_frames.empty()) {
        return std::string();
    }
    const std::string s_first = s_PageOf(co_frames.front());
    const std::string s_last = s_PageOf(co_frames.back());
    const bool b_pages = s_first.rfind("page ", 0) == 0 && s_last.rfind("page ", 0) == 0;
    std::string s_where = s_first == s_last ? s_first
                          : b_pages ? "pages " + s_first.substr(5) + " to " + s_last.substr(5)
                                    : s_first + " to " + s_last;
    s_where += s_where.empty() ? "" : ", ";
    s_where += co_frames.size() == 1 ? "frame " : "frames ";
    if (co_frames.size() <= 3) {
        for (std::size_t n = 0; n < co_frames.size(); ++n) {
            s_where += (n == 0 ? "" : ", ") + co_frames[n].s_Id;
        }
    } else {
        s_where += co_frames.front().s_Id + " to " + co_frames.back().s_Id + " (" +
                   std::to_string(co_frames.size()) + ")";
    }
    if (pco_Box != nullptr && !pco_Box->s_Layer.empty()) {
        s_where += ", layer " + pco_Box->s_Layer;
    }
    return s_where;
}

// What the writer needs of the story's setting: where it stands, the page each of its lines
// starts on (as the capacity estimate fills its frames, when the thread crosses pages) and,
// with limits, the characters its frames hold. A story none of whose frames prints (on the
// pasteboard, hidden, non-printing) gets no limit: nothing of it reaches the page, and a
// pasteboard frame is sized for the designer's convenience, not for its text. Nor does one
// whose frame grows with its text, nor one without geometry to measure (text on a path, an
// anchored frame): there is no room to divide. The setting is the host's; the rest is measured
// from it and the content, on any thread.
void v_Place(const CT_StorySetting& co_Setting, std::string_view co_Content, bool b_Limits,
             CT_XliffWriter::CT_Context& co_Context) {
    if (co_Setting.co_Frames.empty()) {
        return;
    }
    const CT_CapacityEstimate co_estimate(co_Setting);
    co_Context.co_Pages.push_back(s_PageOf(co_Setting.co_Frames.front()));
    const bool b_onePage = std::all_of(co_Setting.co_Frames.begin(), co_Setting.co_Frames.end(),
                                       [&](const CT_FrameSetting& co_Frame) {
                                           return s_PageOf(co_Frame) == co_Context.co_Pages[0];
                                       });
    if (!b_onePage) {
        co_Context.co_Pages.clear();
        for (const std::size_t n_frame : co_estimate.co_FrameOfLines(co_Content)) {
            co_Context.co_Pages.push_back(s_PageOf(co_Setting.co_Frames[n_frame]));
        }
    }
    if (b_Limits && co_estimate.b_Measurable() && co_estimate.b_Prints() &&
        !co_estimate.b_GrowsWithText()) {
        co_Context.n_Capacity = co_estimate.n_Capacity(co_Content);
    }
}

// One story on its way through the pool: what the host gave for it, and what was written.
struct CT_Pending {
    std::string s_Key;
    std::string s_Location;
    std::string s_Content;
    CT_StorySetting co_Setting;
    const std::vector<CT_IdmlStoryCodeInfo>* pco_Infos = nullptr;
    CT_XliffWriter::CT_Context co_Context;
    CT_XliffWriter::CT_Written co_Written;
};

// Writers for the threads, each used by one at a time: each holds a sentence splitter, which
// is made once for all the stories a thread writes.
class CT_Writers {
  public:
    explicit CT_Writers(const CT_XliffWriter::CT_Options& co_Options) : co_Options(co_Options) {}

    std::unique_ptr<CT_XliffWriter> pco_Take() {
        {
            const std::lock_guard<std::mutex> co_lock(co_Mutex);
            if (!co_Free.empty()) {
                std::unique_ptr<CT_XliffWriter> pco_writer = std::move(co_Free.back());
                co_Free.pop_back();
                return pco_writer;
            }
        }
        return std::make_unique<CT_XliffWriter>(co_Options);
    }
    void v_Give(std::unique_ptr<CT_XliffWriter> pco_Writer) {
        const std::lock_guard<std::mutex> co_lock(co_Mutex);
        co_Free.push_back(std::move(pco_Writer));
    }

  private:
    const CT_XliffWriter::CT_Options& co_Options;
    std::mutex co_Mutex;
    std::vector<std::unique_ptr<CT_XliffWriter>> co_Free;
};
}  // namespace

CT_XliffConverter::CT_XliffConverter(const CT_IdmlHost& co_Host,
                                     const CT_XliffWriter::CT_Options& co_Options,
                                     unsigned n_Threads)
    : co_Host(co_Host), co_Options(co_Options), n_Threads(n_Threads) {
    CT_TaggedConverter::sv_Install(this);
}

CT_XliffConverter::~CT_XliffConverter() {
    CT_TaggedConverter::sv_Install(nullptr);
}

// The XLIFF file goes to the target's temporary file as it is written; it takes the target's
// place only when every story is in, and a cancel or an error leaves the target as it was.
int CT_XliffConverter::b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                                 const CT_String& co_DocumentName) {
    // Read a block at a time: the whole file would be one more copy of every story's text.
    std::ifstream co_tagged(std::string(co_TaggedPath.sv()), std::ios::binary);
    if (!co_tagged) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String("cannot read ") + co_TaggedPath);
    }
    CT_XliffWriter::CT_Options co_options = co_Options;
    co_options.co_Original = std::string(co_DocumentName.sv());
    if (co_options.co_SourceLanguage.empty()) {
        co_options.co_SourceLanguage = CT_DocumentLanguage::ss_Of(co_Host.cco_GetActiveDocument(),
                                                                  co_Host.pco_TextLanguages());
    }
    if (co_options.co_SourceLanguage.empty()) {
        co_options.co_SourceLanguage = "en";
    }
    CT_Files co_target;
    co_target.v_Open(co_TargetPath, e_OpenWrite, 1);
    CT_XliffWriter co_writer(co_options, [&co_target](std::string_view co_Bytes) {
        co_target.v_Write(co_Bytes.data(), co_Bytes.size());
    });
    bool b_cancelled = false;
    std::string s_key;
    // Writing a story's units (its sentences cut, its codes numbered, its room measured) is
    // most of the conversion: with several threads each story is written apart on the pool,
    // while this thread reads the file, asks the host what each story needs and hands the
    // stories to the file in story order, holding a few ahead at most.
    std::deque<std::pair<std::size_t, std::unique_ptr<CT_Pending>>> co_running;
    CT_Writers co_writers(co_options);
    CT_WorkPool co_pool(n_Threads);  // after what its jobs use: goes first, waiting for them
    auto v_TakeFirst = [&]() {
        s_key = co_running.front().second->s_Key;
        co_pool.v_Wait(co_running.front().first);
        co_writer.v_AddWritten(co_running.front().second->co_Written);
        co_running.pop_front();
        s_key.clear();
    };
    std::size_t n_number = 0;
    try {
        CT_TaggedStoryFile::sv_ForEach(co_tagged, [&](std::string_view co_Key,
                                                      std::string_view co_Location,
                                                      std::string_view co_Content) {
            b_cancelled = b_cancelled || CT_ProgressListener::sb_IsCancel();
            if (b_cancelled) {
                return;
            }
            s_key = co_Key;
            const std::vector<CT_IdmlStoryCodeInfo>* pco_infos = co_Host.pco_ExportedCodes(s_key);
            const CT_StorySetting co_setting =
                CT_DocumentInterface::sco_GetStorySetting(CT_String(s_key.c_str()));
            CT_XliffWriter::CT_Context co_context;
            co_context.co_Where = s_Where(co_setting, co_Host.pco_FindListed(s_key));
            if (pco_infos != nullptr && !pco_infos->empty()) {
                co_context.co_Styles = pco_infos->front().co_ParagraphStyles;
            }
            if (n_Threads <= 1) {
                v_Place(co_setting, co_Content, co_Options.b_Limits, co_context);
                co_writer.v_AddStory(s_key, co_Location, co_Content,
                                     pco_infos != nullptr ? CT_XliffCodes::sco_From(*pco_infos)
                                                          : CT_StoryLayout::CT_Codes(),
                                     co_context);
                s_key.clear();
                return;
            }
            auto pco_pending = std::make_unique<CT_Pending>();
            pco_pending->s_Key = s_key;
            pco_pending->s_Location = co_Location;
            pco_pending->s_Content = co_Content;
            pco_pending->co_Setting = co_setting;
            pco_pending->pco_Infos = pco_infos;
            pco_pending->co_Context = std::move(co_context);
            CT_Pending* pco_job = pco_pending.get();
            const bool b_limits = co_Options.b_Limits;
            const std::size_t n_story = ++n_number;
            const std::size_t n_ticket =
                co_pool.n_Give([pco_job, b_limits, n_story, &co_writers]() {
                    v_Place(pco_job->co_Setting, pco_job->s_Content, b_limits, pco_job->co_Context);
                    std::unique_ptr<CT_XliffWriter> pco_writer = co_writers.pco_Take();
                    pco_job->co_Written = pco_writer->co_Write(
                        n_story, pco_job->s_Key, pco_job->s_Location, pco_job->s_Content,
                        pco_job->pco_Infos != nullptr ? CT_XliffCodes::sco_From(*pco_job->pco_Infos)
                                                      : CT_StoryLayout::CT_Codes(),
                        pco_job->co_Context);
                    co_writers.v_Give(std::move(pco_writer));
                });
            co_running.emplace_back(n_ticket, std::move(pco_pending));
            s_key.clear();
            if (co_running.size() > co_pool.n_Ahead()) {
                v_TakeFirst();
            }
        });
        while (!b_cancelled && !co_running.empty()) {
            v_TakeFirst();
        }
    } catch (const std::invalid_argument& co_error) {
        const std::string s_where = s_key.empty() ? std::string() : "story " + s_key + ": ";
        CT_Errors::v_ThrowError(e_BadContent, CT_String((s_where + co_error.what()).c_str()));
    } catch (const std::runtime_error&) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String("cannot read ") + co_TaggedPath);
    }
    if (b_cancelled) {
        co_target.v_Cancel();
        return 1;
    }
    co_writer.s_Finish();
    co_target.v_Close();
    return 0;
}
