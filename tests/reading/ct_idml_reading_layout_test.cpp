// The reading layout the IDML host gives: groups as the spread nests them, the binding from the
// preferences, master pages by their place on the spread, and the stories the XML structure
// tags. A small package is written for each case.
#include "reading/ct_idml_reading_layout.h"

#include "platform/host/idml/ct_idml_document.h"
#include "reading/ct_reading_order.h"
#include "reading/ct_structure_order.h"
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

std::string s_Frame(const std::string& s_Story, double d_Left, double d_Top, double d_Right,
                    double d_Bottom) {
    auto s_Point = [](double x, double y) {
        return "<PathPointType Anchor=\"" + std::to_string(x) + " " + std::to_string(y) + "\"/>";
    };
    return "<TextFrame Self=\"f" + s_Story + "\" ParentStory=\"" + s_Story +
           "\" PreviousTextFrame=\"n\" ItemTransform=\"1 0 0 1 0 0\"><Properties><PathGeometry>"
           "<GeometryPathType><PathPointArray>" +
           s_Point(d_Left, d_Top) + s_Point(d_Left, d_Bottom) + s_Point(d_Right, d_Bottom) +
           s_Point(d_Right, d_Top) +
           "</PathPointArray></GeometryPathType></PathGeometry></Properties></TextFrame>";
}

// Two pages of 100 by 100 points side by side, the spine at x = 0, on a master spread and on
// a document spread; the document's page 1 holds a group whose frames lie above and below the
// frame beside it.
fs::path co_Write(const CT_TempDir& co_Dir, const std::string& s_Binding,
                  const std::string& s_Structure) {
    const std::string s_Pages =
        "<Page GeometricBounds=\"0 0 100 100\" ItemTransform=\"1 0 0 1 -100 -50\"/>"
        "<Page GeometricBounds=\"0 0 100 100\" ItemTransform=\"1 0 0 1 0 -50\"/>";
    const std::string s_Master = "<idPkg:MasterSpread xmlns:idPkg=\"p\"><MasterSpread Name=\"A\">" +
                                 s_Pages + s_Frame("mRight", 10, -40, 90, -30) +
                                 s_Frame("mLeft", -90, -40, -10, -30) +
                                 "</MasterSpread></idPkg:MasterSpread>";
    const std::string s_Spread = "<idPkg:Spread xmlns:idPkg=\"p\"><Spread>" + s_Pages +
                                 "<Group Self=\"g1\">" + s_Frame("low", -90, 20, -60, 30) +
                                 s_Frame("top", -90, -40, -60, -30) + "</Group>" +
                                 s_Frame("beside", -50, -10, -10, 0) + "</Spread></idPkg:Spread>";
    std::string s_Map =
        "<Document xmlns:idPkg=\"p\"><idPkg:Preferences src=\"P.xml\"/>"
        "<idPkg:MasterSpread src=\"M.xml\"/><idPkg:Spread src=\"S.xml\"/>";
    std::vector<CT_Entry> co_entries = {
        {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
        {"designmap.xml", ""},
        {"P.xml",
         "<idPkg:Preferences xmlns:idPkg=\"p\"><DocumentPreference PageWidth=\"100\" "
         "PageHeight=\"100\" FacingPages=\"true\" PageBinding=\"" +
             s_Binding + "\"/></idPkg:Preferences>"},
        {"M.xml", s_Master},
        {"S.xml", s_Spread}};
    if (!s_Structure.empty()) {
        s_Map += "<idPkg:BackingStory src=\"XML/BackingStory.xml\"/>";
        co_entries.push_back({"XML/BackingStory.xml", s_Structure});
    }
    for (const char* pc_key : {"mLeft", "mRight", "top", "low", "beside"}) {
        const std::string s_entry = std::string("Stories/Story_") + pc_key + ".xml";
        co_entries.emplace_back(s_entry, s_StoryXml(pc_key, "<Content>x</Content>"));
        s_Map += "<idPkg:Story src=\"" + s_entry + "\"/>";
    }
    co_entries[1].s_Bytes = s_Map + "</Document>";
    v_WriteZip(co_Dir / "layout.idml", co_entries);
    return co_Dir / "layout.idml";
}

using CT_Keys = std::vector<std::string>;

TEST(CT_IdmlReadingLayoutTest, GroupsMasterPagesAndBindingComeFromThePackage) {
    CT_TempDir co_dir;
    {
        const CT_IdmlDocument co_document(co_Write(co_dir, "LeftToRight", "").string());
        EXPECT_EQ(CT_ReadingOrder(CT_IdmlReadingLayout::sco_Build(co_document)).co_GetKeys(),
                  (CT_Keys{"mLeft", "mRight", "top", "low", "beside"}));
        EXPECT_TRUE(co_document.co_StructureKeys().empty());
    }
    const CT_IdmlDocument co_document(co_Write(co_dir, "RightToLeft", "").string());
    EXPECT_EQ(CT_ReadingOrder(CT_IdmlReadingLayout::sco_Build(co_document)).co_GetKeys(),
              (CT_Keys{"mRight", "mLeft", "top", "low", "beside"}));
}

// Tags naming a story twice, or one the package lacks, are passed over; a broken structure is
// refused naming its part, when the order asks for it and not before.
TEST(CT_IdmlReadingLayoutTest, StructureTagsComeFirstInTreeOrder) {
    CT_TempDir co_dir;
    {
        const CT_IdmlDocument co_document(
            co_Write(co_dir, "LeftToRight",
                     "<idPkg:BackingStory xmlns:idPkg=\"p\"><XmlStory><XMLElement Self=\"r\">"
                     "<XMLElement Self=\"a\" XMLContent=\"beside\"/><XMLElement Self=\"b\">"
                     "<XMLElement Self=\"c\" XMLContent=\"nowhere\"/><XMLElement Self=\"d\" "
                     "XMLContent=\"low\"/></XMLElement><XMLElement Self=\"e\" "
                     "XMLContent=\"beside\"/></XMLElement></XmlStory></idPkg:BackingStory>")
                .string());
        EXPECT_EQ(co_document.co_StructureKeys(), (CT_Keys{"beside", "low"}));
        EXPECT_EQ(CT_StructureOrder(co_document.co_StructureKeys(),
                                    CT_IdmlReadingLayout::sco_Build(co_document))
                      .co_GetKeys(),
                  (CT_Keys{"beside", "low", "mLeft", "mRight", "top"}));
    }
    const CT_IdmlDocument co_document(co_Write(co_dir, "LeftToRight", "<broken").string());
    try {
        co_document.co_StructureKeys();
        ADD_FAILURE() << "a broken structure was read";
    } catch (et_ErrorCode) {
        EXPECT_NE(std::string(CT_Errors::cco_GetLastError().sv()).find("XML/BackingStory.xml"),
                  std::string::npos)
            << CT_Errors::cco_GetLastError().sv();
        CT_Errors::v_ResetError();
    }
}

}  // namespace
