#include "operations/ct_export_batch_action.h"

int CT_ExportBatchAction::b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) {
    return pco_Document->b_Export(CT_String(co_Folder.s_OsPath(co_TaggedFile.sv()).c_str()),
                                  co_Data);
}
