// The settings records and the processing context: defaults, independent copies, the filter of
// each tagged text format.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"
#include "settings/ct_process_data.h"
#include "settings/ct_process_settings.h"

TEST(CT_SettingsRecordsTest, NewRecordsHoldTheDefaults) {
    CT_ProcessSettings co_settings;
    EXPECT_EQ(co_settings.co_GetStoryListSettings().eo_GetDefaultStoryOrder(), e_TopDown);
    EXPECT_EQ(co_settings.co_GetStoryListSettings().b_GetIgnorePasteBoard(), 0);
    EXPECT_TRUE(co_settings.co_GetPathSettings().co_GetBatchImportPath().empty());
    EXPECT_TRUE(co_settings.co_GetPathSettings().co_GetBatchExportPath().empty());
    EXPECT_EQ(co_settings.co_GetStoryFormatSettings().eo_GetTaggedTextFormat(),
              CT_StoryFormatSettings::e_DtpTaggedText);
}

TEST(CT_SettingsRecordsTest, CopiesAreIndependent) {
    CT_ProcessSettings co_first;
    co_first.co_GetPathSettings().v_SetBatchImportPath("in");
    CT_ProcessSettings co_second;
    co_second = co_first;
    co_first.co_GetPathSettings().v_SetBatchImportPath("changed");
    EXPECT_EQ(co_second.co_GetPathSettings().co_GetBatchImportPath(), "in");

    std::ostringstream co_out;
    CT_LogStream co_log(co_out);
    CT_StoryFormatSettings co_format;
    co_format.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
    CT_ProcessData co_data(co_log, co_format, "Batch export");
    co_format.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_DtpTaggedText);
    EXPECT_EQ(co_log.cco_GetName(), "Batch export");
    EXPECT_EQ(co_data.cco_GetStoryFormatSettings().eo_GetTaggedTextFormat(),
              CT_StoryFormatSettings::e_QuarvelTaggedText);
    CT_ProcessData co_copy(co_data);
    EXPECT_EQ(&co_copy.co_GetLog(), &co_log);
}

TEST(CT_SettingsRecordsTest, TaggedFilterFollowsTheFormat) {
    CT_MemoryHost co_host;
    CT_Host::sv_Install(&co_host);
    CT_StoryFormatSettings co_format;
    EXPECT_EQ(co_format.cco_GetTaggedFilter(), "Memory Tagged Text (*.mtt)|*.mtt||");
    co_format.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
    EXPECT_EQ(co_format.cco_GetTaggedFilter(), "Quarvel Tagged File (*.qvx)|*.qvx||");
    co_format.v_SetTaggedTextFormat(static_cast<CT_StoryFormatSettings::et_TaggedTextFormat>(7));
    EXPECT_EQ(co_format.cco_GetTaggedFilter(), "Quarvel Tagged File (*.qvx)|*.qvx||");
    CT_Host::sv_Install(nullptr);
}
