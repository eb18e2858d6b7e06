// Which stories go to the translator: the box list leaves out the stories of hidden and
// non-printing frames and layers unless asked otherwise, keeps a threaded story whole when any
// frame of it is kept, and says why each story left out stays behind.
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

class CT_IdmlSelectionTest : public CT_HostTest {
  protected:
    // The keys listed, and for stories left out the key, then the reason.
    std::vector<std::string> co_Keys(const CT_IdmlSelection& co_Selection) {
        co_Host.v_SetSelection(co_Selection);
        std::vector<std::string> co_keys;
        v_ForEachBox(false, [&](void* p_Box) {
            const std::string s_key(co_Host.co_GetKey(p_Box).sv());
            const CT_IdmlBox* pco_box = co_Host.pco_FindListed(s_key);
            EXPECT_NE(pco_box, nullptr);
            co_keys.push_back(pco_box->s_LeftOut.empty() ? s_key
                                                         : s_key + " " + pco_box->s_LeftOut);
        });
        return co_keys;
    }

    static CT_IdmlSelection so_Selection(CT_IdmlSelection::et_Layers eo_Layers,
                                         std::vector<std::string> co_Names = {},
                                         bool b_ListLeftOut = false) {
        CT_IdmlSelection co_selection;
        co_selection.eo_Layers = eo_Layers;
        co_selection.co_LayerNames = std::move(co_Names);
        co_selection.b_ListLeftOut = b_ListLeftOut;
        return co_selection;
    }
};

// story-pointers has a non-printing layer "Notes" that holds a rule but no text, and a
// "Guides" layer with three stories.
TEST_F(CT_IdmlSelectionTest, StoryPointersByLayerName) {
    v_Open(co_Sample("story-pointers.idml"));
    EXPECT_EQ(co_Keys(so_Selection(CT_IdmlSelection::e_PrintableLayers)),
              co_Keys(so_Selection(CT_IdmlSelection::e_AllLayers)));
    EXPECT_EQ(co_Keys(so_Selection(CT_IdmlSelection::e_PrintableLayers, {"Guides"})),
              (std::vector<std::string>{"ub4e4", "ub4fd", "u8f24"}));
    EXPECT_EQ(co_Keys(so_Selection(CT_IdmlSelection::e_AllLayers, {"Notes"})),
              std::vector<std::string>{});
    v_CloseActive(0);
}

// A package made here: story "a" runs from a frame on the hidden layer into one on the shown
// layer; "b" stays on the hidden layer; "c" sits in a hidden group, "d" in a non-printing frame,
// "e" on a shown layer that does not print, "f" has an anchored story "g".
TEST_F(CT_IdmlSelectionTest, ThreadsGroupsAndFrameStates) {
    auto s_Frame = [](const std::string& s_Story, const std::string& s_Self,
                      const std::string& s_Previous, const std::string& s_Attributes, int i_Top) {
        return "<TextFrame Self=\"" + s_Self + "\" ParentStory=\"" + s_Story +
               "\" PreviousTextFrame=\"" + s_Previous + "\" " + s_Attributes +
               " ItemTransform=\"1 0 0 1 10 " + std::to_string(i_Top) + "\"/>";
    };
    const std::string s_Spread =
        "<idPkg:Spread xmlns:idPkg=\"p\"><Spread><Page GeometricBounds=\"0 0 100 100\" "
        "ItemTransform=\"1 0 0 1 0 0\"/>" +
        s_Frame("a", "a1", "n", "ItemLayer=\"hid\"", 10) +
        s_Frame("a", "a2", "a1", "ItemLayer=\"top\"", 20) +
        s_Frame("b", "b1", "n", "ItemLayer=\"hid\"", 30) +
        "<Group ItemLayer=\"top\" Visible=\"false\">" + s_Frame("c", "c1", "n", "", 40) +
        "</Group>" + s_Frame("d", "d1", "n", "ItemLayer=\"top\" Nonprinting=\"true\"", 50) +
        s_Frame("e", "e1", "n", "ItemLayer=\"plan\"", 60) +
        s_Frame("f", "f1", "n", "ItemLayer=\"hid\"", 70) + "</Spread></idPkg:Spread>";
    std::string s_Map =
        "<Document xmlns:idPkg=\"p\"><Layer Self=\"top\" Name=\"Text\" Visible=\"true\"/>"
        "<Layer Self=\"hid\" Name=\"Old\" Visible=\"false\"/>"
        "<Layer Self=\"plan\" Name=\"Plan\" Printable=\"false\"/>"
        "<idPkg:Spread src=\"S.xml\"/>";
    std::vector<CT_Entry> co_entries = {
        {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
        {"designmap.xml", ""},
        {"S.xml", s_Spread}};
    for (std::string s_key : {"a", "b", "c", "d", "e", "f", "g"}) {
        const std::string s_anchored =
            s_key == "f" ? s_Frame("g", "g1", "n", "", 0) : std::string();
        co_entries.emplace_back("Stories/Story_" + s_key + ".xml",
                                s_StoryXml(s_key, "<Content>" + s_key + "</Content>" + s_anchored));
        s_Map += "<idPkg:Story src=\"Stories/Story_" + s_key + ".xml\"/>";
    }
    co_entries[1].s_Bytes = s_Map + "</Document>";
    CT_TempDir co_dir;
    v_WriteZip(co_dir / "layers.idml", co_entries);
    v_Open(co_dir / "layers.idml");

    EXPECT_EQ(
        co_Keys(so_Selection(CT_IdmlSelection::e_PrintableLayers, {}, true)),
        (std::vector<std::string>{"a", "b on hidden layer \"Old\"", "c in a hidden frame",
                                  "d in a non-printing frame", "e on non-printing layer \"Plan\"",
                                  "g on hidden layer \"Old\"", "f on hidden layer \"Old\""}));
    EXPECT_EQ(co_Keys(so_Selection(CT_IdmlSelection::e_VisibleLayers)),
              (std::vector<std::string>{"a", "d", "e"}));
    EXPECT_EQ(co_Keys(so_Selection(CT_IdmlSelection::e_PrintableLayers, {"Old"})),
              (std::vector<std::string>{"a", "b", "g", "f"}));
    // The kept thread is placed by its first frame, on the hidden layer, and shown on the
    // layer of the frame that keeps it.
    co_Host.v_SetSelection(CT_IdmlSelection());
    EXPECT_EQ(co_Listing().front(), "a P1 10,10");
    EXPECT_EQ(co_Host.pco_FindListed("a")->s_Layer, "Text");
    // Frame by frame, for a drawing of the layout.
    std::vector<std::string> co_frames;
    for (const CT_IdmlBoxList::CT_Frame& co_frame : co_Host.co_GetFrames()) {
        co_frames.push_back(co_frame.s_Id + " " + co_frame.s_Story + " " + co_frame.s_Layer + ": " +
                            co_frame.s_LeftOut);
    }
    EXPECT_EQ(
        co_frames,
        (std::vector<std::string>{
            "a1 a Old: on hidden layer \"Old\"", "a2 a Text: ", "b1 b Old: on hidden layer \"Old\"",
            "c1 c Text: in a hidden frame", "d1 d Text: in a non-printing frame",
            "e1 e Plan: on non-printing layer \"Plan\"", "f1 f Old: on hidden layer \"Old\""}));
    v_CloseActive(0);
}

}  // namespace
