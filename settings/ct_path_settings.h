// The folders a batch reads its tagged files from (import) and writes them to (export). The
// folders are kept exactly as set; the batch runner adds the separator it needs. A plain value
// type owning its two strings.
#pragma once

#include "platform/common/ct_string.h"

class CT_PathSettings {
  public:
    CT_PathSettings() = default;

    const CT_String& co_GetBatchImportPath() const { return co_BatchImportPath; }
    void v_SetBatchImportPath(const CT_String& co_Path) { co_BatchImportPath = co_Path; }
    const CT_String& co_GetBatchExportPath() const { return co_BatchExportPath; }
    void v_SetBatchExportPath(const CT_String& co_Path) { co_BatchExportPath = co_Path; }

  private:
    CT_String co_BatchImportPath;
    CT_String co_BatchExportPath;
};
