// How an IDML document sets its stories, for the capacity estimate behind the host's
// co_GetStorySetting: every text frame's inner geometry (outline, insets, columns, gutter,
// whether its height follows its text), the printed name of its page and whether it prints,
// found once by a walk of the spreads; and each story's type sizes, read from its paragraph and
// character style ranges and the document's styles when asked for. Plain values; the document
// must outlive this object.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/ct_story_setting.h"
#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_geometry.h"
#include "platform/host/idml/ct_idml_page_names.h"
#include "platform/host/idml/ct_idml_selection.h"
#include "platform/host/idml/ct_idml_type_styles.h"

class CT_IdmlStorySettings {
  public:
    // Reads the spreads, the sections and the styles part. A styles part that is not
    // well-formed XML is passed over (every style then says nothing), and so are sizes, insets
    // and column counts that are no numbers or out of bounds: they keep IDML's defaults.
    explicit CT_IdmlStorySettings(const CT_IdmlDocument& co_Document);

    // The story's frames in thread order and its type, read from the story unless given (as
    // co_TypeOf of sco_ReadStyles gives it). A story shown only in anchored frames has one frame
    // without geometry, placed and printing as the first frame of the story that holds its
    // anchor. A key the document lacks gives nothing.
    CT_StorySetting co_Setting(const std::string& s_Key,
                               const std::vector<CT_TypeRun>* pco_Type = nullptr) const;
    // The type sizes of the document's styles part; none when it has none or it is no XML.
    static CT_IdmlTypeStyles sco_ReadStyles(const CT_IdmlDocument& co_Document);

  private:
    struct CT_Frame {
        CT_FrameSetting co_Setting;
        std::string s_Previous;  // the Self ids of its neighbours in the thread; empty for none
        std::string s_Next;
    };
    struct CT_Spread {
        std::vector<CT_IdmlRect> co_Pages;
        bool b_Master = false;
        std::string s_Name;
        unsigned n_FirstPage = 0;
    };

    void v_Add(const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map,
               const CT_IdmlFrameState& co_State, const CT_Spread& co_Spread, bool b_OnPath);
    std::vector<CT_FrameSetting> co_FramesOf(const std::string& s_Key) const;
    std::vector<CT_TypeRun> co_TypeOf(const std::string& s_Key) const;

    const CT_IdmlDocument& co_Source;
    CT_IdmlPageNames co_PageNames;
    CT_IdmlTypeStyles co_Styles;
    CT_IdmlSelection co_Printing;  // the default choice: what prints
    std::unordered_map<std::string, std::vector<CT_Frame>> co_Frames;  // by story, as met
    std::unordered_map<std::string, std::string> co_AnchorHolders;     // story to holder
};
