// One text box of the host, by its opaque handle. All operations forward to the installed
// backend (CT_Host). Content limits count characters: code points for narrow text, UTF-16 units
// for 16-bit text.
#pragma once

#include "platform/common/ct_files.h"
#include "platform/common/ct_point.h"
#include "platform/common/ct_string.h"

class CT_BoxInterface {
  public:
    // At most n_Limit characters of the box's plain text; nonzero when the text goes on. With
    // b_Preview nonzero, line ends and tabs read as spaces. The 16-bit form writes a terminated
    // string; the buffer holds n_Limit + 1 units.
    static int sb_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved);
    static int sb_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                             int i_Reserved);
    static CT_String sco_GetKey(void* p_Box);
    // Document pages count from 1; on a master page, the index in its master spread from 0.
    static unsigned sn_GetPage(void* p_Box);
    static int sb_IsOnMasterPage(void* p_Box);
    static int sb_IsOnPasteBoard(void* p_Box);
    static CT_String sco_GetSpreadName(void* p_Box);
    static void sv_GetPosition(void* p_Box, tagPOINT& co_Position);
    static int sb_IsEqual(void* p_Box, void* p_Other);
    static void sv_DisplayBox(void* p_Box);
    // Gives the handle back; it is null afterwards.
    static void sv_ReleaseBox(void*& p_Box);

    // Writes the story content at the file's position; 0 when done.
    static int sb_Export(void* p_Box, CT_Files& co_File);
    // Reads n_Count bytes at the file's position as the new content; 0 when done.
    static int sb_Import(void* p_Box, CT_Files& co_File, unsigned n_Count);
    // Stories written or read by the current export or import.
    static unsigned sn_GetStoryCounter();
};
