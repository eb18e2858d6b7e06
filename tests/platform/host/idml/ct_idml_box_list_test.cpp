// The box list: which stories are listed and where a person sees them. Each line is the story
// key, the location ("P" and the page, "M", the master spread's name and the page's index in it,
// or "B" for the pasteboard) and the top-left corner in spread coordinates.
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

class CT_IdmlBoxListTest : public CT_HostTest {
  protected:
    std::vector<std::string> co_ListSample(const std::string& s_Name, bool b_IgnorePasteBoard) {
        v_Open(co_Sample(s_Name));
        std::vector<std::string> co_Lines = co_Listing(b_IgnorePasteBoard);
        v_CloseActive(0);
        return co_Lines;
    }
};

// Older package: pages carry no geometry and one page sits centred on each spread's origin.
TEST_F(CT_IdmlBoxListTest, BrochureWithPagesFromThePreferences) {
    EXPECT_EQ(co_ListSample("brochure-cs4.idml", false),
              (std::vector<std::string>{
                  "u1f8 P1 -112,153", "u2b2 P1 215,211",   "u102 P1 195,-268",  "u19f P1 144,-191",
                  "u1ba P1 45,-270",  "u21f P1 -360,-270", "u27d P1 -249,-92",  "u2c6 P1 33,170",
                  "u2dc P1 -106,183", "u5b5 P2 -331,216",  "u34e P2 136,-200",  "u42b P2 265,-200",
                  "u458 P2 8,-200",   "u46f P2 -121,-200", "u4f5 P2 -366,-8",   "u4c5 P2 -116,189",
                  "u4df P2 138,189",  "u53f P2 -365,187",  "u55d P2 -327,-271", "u580 P2 -330,92",
                  "u596 P2 -331,107", "u508 P2 -250,189"}));
}

// Master pages by their index in the master spread; the headline centred on the spine goes to
// the first page; the pasteboard frame is left out on request.
TEST_F(CT_IdmlBoxListTest, SectionsWithMastersSpineAndPasteboard) {
    std::vector<std::string> co_All = {"u1d8 MA-pageNumbers0 -746,-527",
                                       "u1ee MA-pageNumbers1 48,-527",
                                       "u222 P1 -746,-487",
                                       "u24e P1 -746,-487",
                                       "u270 P2 -320,242",
                                       "u293 P2 473,-111",
                                       "u2b5 P2 473,242",
                                       "u2d7 P2 473,459",
                                       "u2ee P1 -746,-419",
                                       "u305 P1 -746,-316",
                                       "u327 B 899,-396",
                                       "u33e P1 -746,-527",
                                       "u354 P2 48,-527"};
    EXPECT_EQ(co_ListSample("sections-masters.idml", false), co_All);
    co_All.erase(co_All.begin() + 10);
    EXPECT_EQ(co_ListSample("sections-masters.idml", true), co_All);
}

// Threads are placed by their first frame, wherever later frames are; pages count across
// spreads, also on the island spread whose pages do not start at 0.
TEST_F(CT_IdmlBoxListTest, ThreadedStoriesByTheirFirstFrame) {
    EXPECT_EQ(co_ListSample("threaded-island.idml", false),
              (std::vector<std::string>{"ue4 P1 73,-77", "u147 P2 -221,-67", "u176 P6 -281,-92",
                                        "u18d P7 77,-92"}));
}

std::string s_Frame(const std::string& s_Story, const std::string& s_Transform, double d_Left,
                    double d_Top, double d_Right, double d_Bottom,
                    const std::string& s_Previous = "n") {
    auto s_Point = [](double x, double y) {
        return "<PathPointType Anchor=\"" + std::to_string(x) + " " + std::to_string(y) + "\"/>";
    };
    return "<TextFrame Self=\"f" + s_Story + s_Previous + "\" ParentStory=\"" + s_Story +
           "\" PreviousTextFrame=\"" + s_Previous + "\" ItemTransform=\"" + s_Transform +
           "\"><Properties><PathGeometry><GeometryPathType><PathPointArray>" +
           s_Point(d_Left, d_Top) + s_Point(d_Left, d_Bottom) + s_Point(d_Right, d_Bottom) +
           s_Point(d_Right, d_Top) +
           "</PathPointArray></GeometryPathType></PathGeometry></Properties></TextFrame>";
}

// A package made here for what the samples show only in passing: a group moving its frame to
// the next page, a rotated frame, a thread whose later frame comes first, text on a flat line,
// an exact tie on the spine, an anchored frame, a story shown nowhere, a frame whose story is
// missing, pages without geometry.
TEST_F(CT_IdmlBoxListTest, GroupsRotationThreadsTiesAnchorsAndOlderPages) {
    const std::string s_Page = "<Page GeometricBounds=\"0 0 100 100\" ItemTransform=\"1 0 0 1 ";
    std::string s_Master =
        "<idPkg:MasterSpread xmlns:idPkg=\"p\"><MasterSpread Name=\"A-Master\">" + s_Page +
        "-100 -50\"/>" + s_Page + "0 -50\"/>" + s_Frame("s9", "1 0 0 1 0 0", 60, 0, 70, 10) +
        "</MasterSpread></idPkg:MasterSpread>";
    std::string s_First =
        "<idPkg:Spread xmlns:idPkg=\"p\"><Spread ItemTransform=\"1 0 0 1 0 900\">" + s_Page +
        "-100 -50\"/>" + s_Page + "0 -50\"/><Group ItemTransform=\"1 0 0 1 100 0\">" +
        s_Frame("s1", "1 0 0 1 0 0", -90, -10, -80, 0) + "</Group>" +
        s_Frame("s2", "1 0 0 1 0 0", -50, -50, -40, -40, "fs2n") +
        s_Frame("s3", "0 1 -1 0 50 0", 0, 0, 40, 10) +
        s_Frame("s4", "1 0 0 1 300 0", 0, 0, 10, 10) +
        "<GraphicLine ItemTransform=\"1 0 0 1 0 0\"><Properties><PathGeometry><GeometryPathType>"
        "<PathPointArray><PathPointType Anchor=\"-60 10\"/><PathPointType Anchor=\"-40 10\"/>"
        "</PathPointArray></GeometryPathType></PathGeometry></Properties>"
        "<TextPath ParentStory=\"s5\" PreviousTextFrame=\"n\"/></GraphicLine>" +
        s_Frame("s6", "1 0 0 1 0 0", -20, -40, 20, -30) +
        s_Frame("s10", "1 0 0 1 0 0", 0, 0, 9, 9) + "</Spread></idPkg:Spread>";
    std::string s_Second =
        "<idPkg:Spread xmlns:idPkg=\"p\"><Spread BindingLocation=\"1\"><Page/><Page/>" +
        s_Frame("s2", "1 0 0 1 0 0", 5, 0, 15, 10) + "</Spread></idPkg:Spread>";
    std::string s_Map =
        "<Document xmlns:idPkg=\"p\"><idPkg:Preferences src=\"P.xml\"/>"
        "<idPkg:MasterSpread src=\"M.xml\"/><idPkg:Spread src=\"S1.xml\"/>"
        "<idPkg:Spread src=\"S2.xml\"/>";
    std::vector<CT_Entry> co_Entries = {
        {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
        {"designmap.xml", ""},
        {"P.xml",
         "<idPkg:Preferences xmlns:idPkg=\"p\"><DocumentPreference PageWidth=\"100\" "
         "PageHeight=\"100\" FacingPages=\"true\"/></idPkg:Preferences>"},
        {"M.xml", s_Master},
        {"S1.xml", s_First},
        {"S2.xml", s_Second}};
    // s1 anchors s7 and then s11 in its text, s7 anchors s12 in its own: a reader meets s1,
    // s7, s12, s11 whatever order the package keeps the stories in, and the list gives the
    // reverse, which the story order turns round.
    const std::string s_Inline = "1 0 0 1 0 0";
    const std::map<std::string, std::string> co_Anchors = {
        {"s1", "<Content>a</Content>" + s_Frame("s7", s_Inline, 0, 0, 1, 1) +
                   "<Content>b</Content><Group>" + s_Frame("s11", s_Inline, 0, 0, 1, 1) +
                   "</Group>"},
        {"s7", s_Frame("s12", s_Inline, 0, 0, 1, 1)}};
    for (std::string s_Key : {"s12", "s11", "s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9"}) {
        auto co_anchors = co_Anchors.find(s_Key);
        std::string s_Anchored = co_anchors == co_Anchors.end() ? "" : co_anchors->second;
        co_Entries.emplace_back("Stories/Story_" + s_Key + ".xml",
                                s_StoryXml(s_Key, "<Content>" + s_Key + "</Content>" + s_Anchored));
        s_Map += "<idPkg:Story src=\"Stories/Story_" + s_Key + ".xml\"/>";
    }
    co_Entries[1].s_Bytes = s_Map + "</Document>";
    CT_TempDir co_Dir;
    v_WriteZip(co_Dir / "layout.idml", co_Entries);
    v_Open(co_Dir / "layout.idml");
    EXPECT_EQ(co_Listing(false),
              (std::vector<std::string>{"s9 MA-Master1 60,0", "s11 P2 10,-10", "s12 P2 10,-10",
                                        "s7 P2 10,-10", "s1 P2 10,-10", "s2 P4 5,0", "s3 P2 40,0",
                                        "s4 B 300,0", "s5 P1 -60,10", "s6 P1 -20,-40"}));
    EXPECT_EQ(co_Listing(true).size(), 9u);
    v_CloseActive(0);
}

}  // namespace
