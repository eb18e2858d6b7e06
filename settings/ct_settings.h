// The user's settings and the small text file that keeps them: four lines, each a key, " = "
// and the value between double quotes. The caller chooses the path, loads, hands the records to
// the kernel's operations and saves after changes. The tagged text format is not kept in the
// file. The object owns its records and the path; no file stays open between calls.
#pragma once

#include "platform/common/ct_files.h"
#include "platform/common/ct_string.h"
#include "settings/ct_process_settings.h"

class CT_Settings {
  public:
    // Default settings; the file is not touched.
    explicit CT_Settings(const CT_String& co_Path);

    CT_ProcessSettings& co_GetProcessSettings() { return co_ProcessSettings; }

    // Reads the file into the settings. A missing file is created from the settings in memory.
    // A key that is missing or malformed keeps its value; reading never goes back, so a key
    // standing before one already read is not found. Errors opening the file pass to the caller.
    void v_Load();
    // Writes the four lines. The file is replaced only once it is complete: a failed save
    // raises the error and leaves the former file as it was.
    void v_Save();

  private:
    // 1 with the value read, 0 (error cleared) when the key or its markers are not found.
    int b_ReadVariable(CT_Files& co_File, const CT_String& co_Key, CT_String& co_Value);
    // The same for a number; the converted value is stored even when the read fails.
    int b_ReadVariable(CT_Files& co_File, const CT_String& co_Key, unsigned& n_Value);
    void v_WriteVariable(CT_Files& co_File, const CT_String& co_Key, const CT_String& co_Value);
    // The number is written as a signed 32-bit decimal.
    void v_WriteVariable(CT_Files& co_File, const CT_String& co_Key, unsigned n_Value);

    CT_ProcessSettings co_ProcessSettings;
    CT_String co_FileName;
};
