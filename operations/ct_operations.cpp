#include "storyport/operations.h"

#include <cctype>
#include <map>
#include <memory>
#include <sstream>
#include <utility>

#include "document/ct_document.h"
#include "map/ct_map_html_writer.h"
#include "map/ct_map_svg_writer.h"
#include "map/ct_order_walk.h"
#include "map/ct_story_map.h"
#include "operations/ct_batch_operation.h"
#include "operations/ct_check_operation.h"
#include "operations/ct_current_document.h"
#include "operations/ct_document_path.h"
#include "operations/ct_export_target.h"
#include "operations/ct_import_operation.h"
#include "operations/ct_operation_outcome.h"
#include "operations/ct_order_file.h"
#include "operations/ct_pseudo_operation.h"
#include "operations/ct_story_counts.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_xliff_export.h"
#include "operations/ct_xliff_import.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/idml/ct_idml_layout.h"
#include "settings/ct_process_data.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
std::string s_Text(const CT_String& co_Text) {
    return std::string(co_Text.sv());
}

bool b_IsOpen(CT_IdmlHost& co_Host, const std::string& s_Document) {
    void* p_document = co_Host.p_IsDocumentOpen(CT_String(s_Document.c_str()));
    const bool b_open = p_document != nullptr;
    if (b_open) {
        co_Host.v_Release(p_document);
    }
    return b_open;
}

void v_CloseIfOpen(CT_IdmlHost& co_Host, const std::string& s_Document) {
    void* p_document = co_Host.p_IsDocumentOpen(CT_String(s_Document.c_str()));
    if (p_document == nullptr) {
        return;
    }
    try {
        co_Host.v_Close(p_document, 0);
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();  // nothing was written: there is nothing to lose
    }
    co_Host.v_Release(p_document);
}

// The order file, read before the document is opened so that a bad one costs no parsing.
std::unique_ptr<CT_OrderFile> pco_ReadOrderFile(CT_Session& co_Session) {
    const std::string s_path = co_Session.s_GetOrderFile();
    if (s_path.empty()) {
        return nullptr;
    }
    return std::make_unique<CT_OrderFile>(s_path);
}

// A name that is only the ending is no name.
bool b_EndsWith(const std::string& s_Path, const std::string& s_Ending) {
    if (s_Path.size() <= s_Ending.size()) {
        return false;
    }
    const std::size_t n_from = s_Path.size() - s_Ending.size();
    for (std::size_t n = 0; n < s_Ending.size(); ++n) {
        if (std::tolower(static_cast<unsigned char>(s_Path[n_from + n])) != s_Ending[n]) {
            return false;
        }
    }
    return true;
}

// An order file or a computed order arranges the stories of the current document, whose custom
// order the kernel's entry point by path would not keep.
int b_ExportArranged(CT_Session& co_Session, CT_ProcessData& co_Data) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const std::unique_ptr<CT_OrderFile> pco_orderFile = pco_ReadOrderFile(co_Session);
    CT_CurrentDocument co_document(co_options.s_Document, co_Session.cco_GetStoryListSettings());
    // The same refusal as the entry point's, for the same reason: there is nothing to export.
    if (co_document.co_GetDocument().b_IsEmpty()) {
        CT_Errors::v_ThrowError(e_NoTextBox, CT_String(co_options.s_Document.c_str()));
    }
    co_Session.v_Arrange(co_document.co_GetStoryOrder(), pco_orderFile.get());
    return co_document.co_GetDocument().b_Export(CT_String(co_options.s_Tagged.c_str()), co_Data);
}

void v_WriteFile(const std::string& s_Path, const std::string& s_Text) {
    CT_Files co_file;
    co_file.v_Open(CT_String(s_Path.c_str()), e_OpenWrite, 0);
    co_file.v_Write(s_Text.data(), s_Text.size());
    co_file.v_Close();
}
}  // namespace

CT_StoryListing CT_Operations::sco_List(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_List);
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_DocumentPath::sv_Check(co_options.s_Document);
    const std::unique_ptr<CT_OrderFile> pco_orderFile = pco_ReadOrderFile(co_Session);
    CT_CurrentDocument co_document(co_options.s_Document, co_Session.cco_GetStoryListSettings());
    CT_StoryOrder& co_order = co_document.co_GetStoryOrder();
    co_Session.v_Arrange(co_order, pco_orderFile.get());
    const CT_IdmlHost& co_host = co_Session.co_GetHost();
    CT_StoryListing co_listing;
    co_listing.s_Document = s_Text(co_document.co_GetDocument().co_GetFileName());
    co_listing.s_Order = co_Session.s_OrderInForce(co_order);
    if (pco_orderFile) {
        co_listing.s_OrderFile = pco_orderFile->s_GetPath();
    }
    std::unique_ptr<CT_StoryCounts> pco_counts;
    if (!co_options.b_Keys) {
        pco_counts = std::make_unique<CT_StoryCounts>(
            co_host, co_order, [&co_host](const std::string& s_Key) {
                const CT_IdmlBox* pco_box = co_host.pco_FindListed(s_Key);
                return pco_box == nullptr || pco_box->s_LeftOut.empty();
            });
        co_listing.b_Counted = true;
        co_listing.co_Total = pco_counts->co_GetTotal();
    }
    // Sized once: a list of thousands of stories grew by copying all of them a dozen times.
    std::size_t n_stories = 0;
    v_ForEachBox(co_order, [&n_stories](CT_TextBox&, unsigned) { ++n_stories; });
    co_listing.co_Stories.reserve(n_stories);
    v_ForEachEntry(co_order, [&](CT_TextBox& co_Box, CT_OrderEntry co_Entry) {
        CT_ListedStory co_story;
        static_cast<CT_OrderEntry&>(co_story) = std::move(co_Entry);
        co_story.i_Page = co_Box.i_GetPage();
        co_story.i_X = co_Box.cco_GetPosition().x;
        co_story.i_Y = co_Box.cco_GetPosition().y;
        if (const CT_IdmlBox* pco_listed = co_host.pco_FindListed(co_story.s_Key)) {
            co_story.s_Layer = pco_listed->s_Layer;
            co_story.s_LeftOut = pco_listed->s_LeftOut;
        }
        if (pco_counts) {
            co_story.co_Tally = pco_counts->co_Get(co_story.s_Key);
        }
        co_listing.co_Stories.push_back(std::move(co_story));
    });
    return co_listing;
}

et_ExitStatus CT_Operations::seo_Export(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_Export);
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_DocumentPath::sv_Check(co_options.s_Document);
    const CT_XliffExport co_format(co_Session, co_options.s_Tagged);
    CT_ProcessData co_data(co_Session.co_GetLog(), co_format.cco_GetFormat(), "Export");
    CT_OperationOutcome co_outcome(co_Session);
    std::string s_backup;
    const bool b_open = b_IsOpen(co_Session.co_GetHost(), co_options.s_Document);
    co_outcome.v_Run([&]() -> int {
        s_backup = CT_ExportTarget::ss_Check(co_Session.co_GetHost(), co_options.s_Document,
                                             co_options.s_Tagged, co_options.b_Force, true, true);
        // Made here, so that the kernel never starts an export it cannot end in a file.
        CT_ExportTarget::sv_MakeFolder(co_options.s_Tagged);
        if (co_Session.b_IsArranged()) {
            return b_ExportArranged(co_Session, co_data);
        }
        return CT_Document::sb_Export(CT_String(co_options.s_Document.c_str()),
                                      CT_String(co_options.s_Tagged.c_str()),
                                      co_Session.cco_GetStoryListSettings(), co_data);
    });
    // Opened by the check of what the target holds, and used by the export as it stood.
    if (!b_open) {
        v_CloseIfOpen(co_Session.co_GetHost(), co_options.s_Document);
    }
    if (!s_backup.empty() && CT_ExportTarget::sb_KeepsBackup(co_options.s_Tagged, s_backup)) {
        co_Session.v_LogLine("The file as it was is kept in " + s_backup + ".");
    }
    return co_outcome.eo_GetExitStatus();
}

et_ExitStatus CT_Operations::seo_Import(CT_Session& co_Session) {
    return sco_Import(co_Session).eo_Status;
}

CT_ImportResult CT_Operations::sco_Import(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_Import);
    CT_DocumentPath::sv_Check(co_Session.co_GetOptions().s_Document);
    return CT_ImportOperation::sco_Run(co_Session);
}

CT_CheckResult CT_Operations::sco_Check(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_Check);
    CT_DocumentPath::sv_Check(co_Session.co_GetOptions().s_Document);
    return CT_CheckOperation::sco_Run(co_Session);
}

et_ExitStatus CT_Operations::seo_Pseudo(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_Pseudo);
    CT_DocumentPath::sv_Check(co_Session.co_GetOptions().s_Document);
    return CT_PseudoOperation::seo_Run(co_Session);
}

et_ExitStatus CT_Operations::seo_Batch(CT_Session& co_Session) {
    co_Session.v_Begin(co_Session.co_GetOptions().eo_Command);
    return CT_BatchOperation::seo_Run(co_Session);
}

et_ExitStatus CT_Operations::seo_Map(CT_Session& co_Session) {
    co_Session.v_Begin(CT_CommandOptions::e_Map);
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    CT_DocumentPath::sv_Check(co_options.s_Document);
    const std::unique_ptr<CT_OrderFile> pco_orderFile = pco_ReadOrderFile(co_Session);
    const CT_StoryListSettings& co_settings = co_Session.cco_GetStoryListSettings();
    CT_CurrentDocument co_document(co_options.s_Document, co_settings);
    co_Session.v_Arrange(co_document.co_GetStoryOrder(), pco_orderFile.get());
    const CT_IdmlLayout co_layout(co_Session.co_GetHost().cco_GetActiveDocument());
    // A story is left out when none of its frames is kept: the first frame's reason says why.
    std::map<std::string, std::string> co_reasons;
    for (const CT_IdmlBoxList::CT_Frame& co_frame : co_Session.co_GetHost().co_GetFrames()) {
        if (!co_frame.s_LeftOut.empty()) {
            co_reasons.emplace(co_frame.s_Story, co_frame.s_LeftOut);
        }
    }
    const CT_StoryMap co_map(co_layout, co_document.co_GetStoryOrder(),
                             co_settings.b_GetIgnorePasteBoard() != 0, std::move(co_reasons));
    CT_MapSvgWriter co_svg(co_map);
    const std::string s_order = co_Session.s_OrderInForce(co_document.co_GetStoryOrder());
    co_svg.v_SetOrderName(s_order);
    // Without a translation each story is judged by its own text, as check judges a story
    // the file lacks.
    CT_TaggedFile::CT_Contents pco_translated =
        std::make_shared<const std::map<std::string, std::string_view>>();
    if (!co_options.s_CheckFile.empty()) {
        // A translation in XLIFF is read through the tagged form it imports by.
        // Checked as import and check check it, so that a broken file is told the same way.
        CT_XliffImport co_translation(co_Session, co_options.s_CheckFile);
        co_translation.v_Place(std::string(co_document.co_GetDocument().co_GetFilePath().sv()),
                               co_options.s_Document);
        co_translation.v_Admit();
        const CT_TaggedFile co_checked(co_translation.s_GetTagged(),
                                       !co_translation.b_IsConverted());
        co_Session.co_GetSink().v_AddRewrite(co_checked.s_GetReadablePath(),
                                             co_options.s_CheckFile);
        pco_translated = co_checked.pco_Contents();
    }
    co_svg.v_SetFit(
        CT_FitReport(co_Session.co_GetHost(), co_document.co_GetStoryOrder(), *pco_translated,
                     co_options.d_MaxGrowth / 100, co_Session.n_Threads()),
        !co_options.s_CheckFile.empty());
    std::ostringstream co_text;
    if (sb_IsHtmlName(co_options.s_MapFile)) {
        const std::string s_name = s_Text(co_document.co_GetDocument().co_GetFileName());
        CT_MapHtmlWriter co_html(co_map, co_svg, s_name, s_order);
        if (pco_orderFile) {
            co_html.v_SetOrderFile(pco_orderFile->s_GetPath());
        }
        co_html.v_SetCheckedFile(co_options.s_CheckFile);
        std::map<std::string, CT_StoryTally> co_counts;
        const CT_StoryCounts co_tally(co_Session.co_GetHost(), co_document.co_GetStoryOrder());
        for (const CT_MapStory& co_story : co_map.co_GetStories()) {
            co_counts.emplace(co_story.s_Key, co_tally.co_Get(co_story.s_Key));
        }
        co_html.v_SetCounts(std::move(co_counts));
        co_html.v_Write(co_text);
    } else {
        co_svg.v_Write(co_text, true);
    }
    v_WriteFile(co_options.s_MapFile, co_text.str());
    return e_ExitOk;
}

bool CT_Operations::sb_IsMapName(const std::string& s_Path) {
    return b_EndsWith(s_Path, ".svg") || sb_IsHtmlName(s_Path);
}

bool CT_Operations::sb_IsHtmlName(const std::string& s_Path) {
    return b_EndsWith(s_Path, ".html") || b_EndsWith(s_Path, ".htm");
}
