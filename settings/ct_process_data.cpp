#include "settings/ct_process_data.h"

CT_ProcessData::CT_ProcessData(CT_LogStream& co_Log, const CT_StoryFormatSettings& co_Format,
                               const CT_String& co_Name)
    : pco_Log(co_Log), co_StoryFormatSettings(co_Format) {
    co_ProcessName = co_Name;
    pco_Log.v_SetName(co_ProcessName);
}
