#include "platform/host/ct_box_interface.h"

#include "platform/host/ct_host.h"

namespace {
CT_HostBackend& host() {
    return CT_Host::sco_Backend();
}
}  // namespace

int CT_BoxInterface::sb_GetContent(CT_String& co_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                                   int i_Reserved) {
    return host().b_GetContent(co_Text, p_Box, n_Limit, b_Preview, i_Reserved);
}
int CT_BoxInterface::sb_GetContent(char16_t* puz_Text, void* p_Box, unsigned n_Limit, int b_Preview,
                                   int i_Reserved) {
    return host().b_GetContent(puz_Text, p_Box, n_Limit, b_Preview, i_Reserved);
}
CT_String CT_BoxInterface::sco_GetKey(void* p_Box) {
    return host().co_GetKey(p_Box);
}
unsigned CT_BoxInterface::sn_GetPage(void* p_Box) {
    return host().n_GetPage(p_Box);
}
int CT_BoxInterface::sb_IsOnMasterPage(void* p_Box) {
    return host().b_IsOnMasterPage(p_Box);
}
int CT_BoxInterface::sb_IsOnPasteBoard(void* p_Box) {
    return host().b_IsOnPasteBoard(p_Box);
}
CT_String CT_BoxInterface::sco_GetSpreadName(void* p_Box) {
    return host().co_GetSpreadName(p_Box);
}
void CT_BoxInterface::sv_GetPosition(void* p_Box, tagPOINT& co_Position) {
    host().v_GetPosition(p_Box, co_Position);
}
int CT_BoxInterface::sb_IsEqual(void* p_Box, void* p_Other) {
    return host().b_IsEqualBox(p_Box, p_Other);
}
void CT_BoxInterface::sv_DisplayBox(void* p_Box) {
    host().v_DisplayBox(p_Box);
}
void CT_BoxInterface::sv_ReleaseBox(void*& p_Box) {
    host().v_ReleaseBox(p_Box);
}
int CT_BoxInterface::sb_Export(void* p_Box, CT_Files& co_File) {
    return host().b_Export(p_Box, co_File);
}
int CT_BoxInterface::sb_Import(void* p_Box, CT_Files& co_File, unsigned n_Count) {
    return host().b_Import(p_Box, co_File, n_Count);
}
unsigned CT_BoxInterface::sn_GetStoryCounter() {
    return host().n_GetStoryCounter();
}
