// A document opened in the host the way a user opens one, seen through the kernel as the
// current document: the registry's CT_Document with its story order brought up to date. This
// is the road for the story list and for an export in an arranged order. The destructor closes
// the document in the host without saving; the host then tells the kernel, which lets the
// registry's document go.
//
// The settings record must outlive the object (the kernel's document keeps a pointer to it).
#pragma once

#include <string>

#include "settings/ct_story_list_settings.h"

class CT_Document;
class CT_StoryOrder;

class CT_CurrentDocument {
  public:
    // Host and kernel errors pass to the caller; nothing stays open after a failure.
    CT_CurrentDocument(const std::string& s_Path, const CT_StoryListSettings& co_Settings);
    ~CT_CurrentDocument();
    CT_CurrentDocument(const CT_CurrentDocument&) = delete;
    CT_CurrentDocument& operator=(const CT_CurrentDocument&) = delete;

    CT_Document& co_GetDocument() { return *pco_Document; }
    CT_StoryOrder& co_GetStoryOrder() { return *pco_StoryOrder; }

  private:
    void v_Close() noexcept;

    void* p_Handle = nullptr;
    CT_Document* pco_Document = nullptr;
    CT_StoryOrder* pco_StoryOrder = nullptr;
};
