// A well-formed file is read a unit at a time, and gives what one tree of it would: markup that
// only looks like a unit (in the document type, a comment, a processing instruction, a CDATA
// section, an attribute's value) starts none, prefixed units are units, units outside every
// <file> are not read, and lines are the file's own. A file in another encoding is read whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "exchange/ct_xliff_reader.h"
#include "platform/common/ct_file_bytes.h"
#include "tests/platform/common/ct_temp_folder.h"

namespace {
std::size_t n_LineOf(const std::string& s_File, const std::string& s_Text) {
    const std::size_t n_at = s_File.find(s_Text);
    EXPECT_NE(n_at, std::string::npos) << s_Text;
    return 1 + static_cast<std::size_t>(std::count(s_File.begin(), s_File.begin() + n_at, '\n'));
}

std::string s_Text(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::string s_text;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        s_text += co_token.co_Text;
    }
    return s_text;
}
}  // namespace

TEST(CT_XliffReaderTest, UnitsAreFoundByTheirMarkupAlone) {
    const std::string s_file =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE xliff [\n"
        "<!ENTITY fake \"<trans-unit id='doctype.1'>]>\">\n"
        "<!-- ]> <trans-unit id=\"comment.1\"> -->\n"
        "]>\n"
        "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" "
        "xmlns:x=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
        "<trans-unit id=\"outside.1\"><source>in no file</source></trans-unit>\n"
        "<file original=\"doc.idml\" source-language=\"en\" target-language=\"de\"><body>\n"
        "<!-- -> <trans-unit id=\"comment.2\"><source>x</source></trans-unit> -->\n"
        "<?tool <trans-unit id=\"pi.1\"> ?>\n"
        "<group id=\"u7\"><trans-unit id=\"u7.1\" resname=\"a>b\"><source>a &lt; b</source>\n"
        "<target><![CDATA[</trans-unit> & ]]>done</target><note from=\"a>b\">n</note>"
        "</trans-unit>\n"
        "<x:trans-unit id=\"u7.2\"><x:source>two</x:source><x:target>zwei</x:target>"
        "</x:trans-unit>\n"
        "<trans-unit id=\"u7.3\"/>\n"
        "</group></body></file>\n"
        "<file original=\"doc.idml\" source-language=\"en\" target-language=\"fr\"><body>\n"
        "<trans-unit id=\"u8.1\"><source>s</source><target>t</target></trans-unit>\n"
        "</body></file></xliff>\n";
    const CT_XliffReader co_reader(s_file);
    EXPECT_TRUE(co_reader.b_ReadUnitByUnit());
    std::vector<std::string> co_ids;
    for (const CT_XliffUnit& co_unit : co_reader.cco_Units()) {
        co_ids.push_back(co_unit.co_Id);
        EXPECT_EQ(co_unit.n_Line, n_LineOf(s_file, "id=\"" + co_unit.co_Id + "\""))
            << co_unit.co_Id;
    }
    EXPECT_EQ(co_ids, (std::vector<std::string>{"u7.1", "u7.2", "u7.3", "u8.1"}));
    const std::vector<CT_XliffUnit>& co_units = co_reader.cco_Units();
    EXPECT_EQ(s_Text(co_units[0].co_Source), "a < b");
    EXPECT_EQ(s_Text(co_units[0].co_Target), "</trans-unit> & done");
    EXPECT_EQ(s_Text(co_units[1].co_Target), "zwei");
    EXPECT_FALSE(co_units[2].b_Target);
    ASSERT_EQ(co_reader.cco_Files().size(), 2u);
    EXPECT_EQ(co_reader.cco_Files()[1].co_TargetLanguage, "fr");
    EXPECT_EQ(co_reader.cco_Files()[1].n_Line, n_LineOf(s_file, "target-language=\"fr\""));
    EXPECT_EQ(CT_XliffReader::sco_StoryKeys(s_file),
              (std::vector<std::string>{"outside", "u7", "u8"}));

    // Bytes the declaration names as Latin-1 are read as such, though they would pass for
    // UTF-8 ("\xC3\xA9" is two letters, not one).
    const std::string s_latin =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "<xliff version=\"1.2\"><file original=\"doc.idml\" source-language=\"en\" "
        "target-language=\"de\"><body><trans-unit id=\"u1.1\"><source>a</source>"
        "<target>\xC3\xA9</target></trans-unit></body></file></xliff>";
    const CT_XliffReader co_latin(s_latin);
    EXPECT_FALSE(co_latin.b_ReadUnitByUnit());
    EXPECT_EQ(s_Text(co_latin.cco_Units()[0].co_Target), "\xC3\x83\xC2\xA9");
}

// A file read unit by unit and found wrong is read again as one tree, which words the fault
// at the file's own line and column: the unit's markup is cut short here.
TEST(CT_XliffReaderTest, AFaultIsToldAsOneTreeTellsIt) {
    const std::string s_file =
        "<xliff version=\"1.2\"><file original=\"d\" source-language=\"en\" target-language=\"de\">"
        "<body>\n<trans-unit id=\"u1.1\"><source>a</source>\n<target>b</trans-unit>\n"
        "</body></file></xliff>";
    try {
        const CT_XliffReader co_reader(s_file);
        FAIL() << "read";
    } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
        EXPECT_EQ(
            std::string(co_refusal.what())
                .rfind("not well-formed XML at line 3, column 12: Start-end tags mismatch", 0),
            0u)
            << co_refusal.what();
    }
}

// Read on several threads, or from a file whose bytes it gives back as it goes and reads a unit's
// text from again, a file gives what it gives on one: its units in file order, each with its line
// and its own fault. A unit the file no longer holds as it was read gets a fault of its own.
TEST(CT_XliffReaderTest, ThreadsAndAFileGivenBackReadWhatOneReads) {
    std::string s_file =
        "<xliff version=\"1.2\"><file original=\"d\" source-language=\"en\" target-language=\"de\">"
        "<body>\n";
    for (int i = 0; i < 1000; ++i) {
        const std::string s_id = "u" + std::to_string(i % 37) + "." + std::to_string(i + 1);
        const std::string s_codes = i % 5 == 0 ? "<g id=\"1\">b</g><x id=\"2\"/>" : "";
        s_file += "<trans-unit id=\"" + s_id + "\"><source>s" + s_codes + std::to_string(i) +
                  "</source>\n<target>" +
                  (i == 700   ? "&nbsp;"
                   : i == 800 ? "&#0;"
                              : "t" + s_codes + std::to_string(i)) +
                  "</target></trans-unit>\n";
    }
    s_file += "</body></file></xliff>\n";
    const auto s_Seen = [&](CT_XliffReader& co_Reader) {
        EXPECT_TRUE(co_Reader.b_ReadUnitByUnit());
        std::string s_seen;
        for (const CT_XliffUnit& co_unit : co_Reader.cco_Units()) {
            co_Reader.v_Unpack(co_unit);
            s_seen += co_unit.co_Id + " " + std::to_string(co_unit.n_Line) + " ";
            CT_TaggedToken::sv_Write(co_unit.co_Source, s_seen);
            s_seen += " ";
            CT_TaggedToken::sv_Write(co_unit.co_Target, s_seen);
            s_seen += " " + co_unit.co_Fault + "\n";
        }
        return s_seen;
    };
    CT_XliffReader co_one(s_file);
    const std::string s_one = s_Seen(co_one);
    EXPECT_EQ(s_one.rfind("u0.1 2 s<g1>b</g1><x2/>0 t<g1>b</g1><x2/>0 \nu1.2 4 s1 t1 \n", 0), 0u)
        << s_one.substr(0, 100);
    EXPECT_EQ(std::count(s_one.begin(), s_one.end(), '\n'), 1000);
    const std::size_t n_faulty = s_one.find("u34.701 1402 ");
    ASSERT_NE(n_faulty, std::string::npos);
    const std::string s_line = s_one.substr(n_faulty, s_one.find('\n', n_faulty) - n_faulty);
    EXPECT_NE(s_line.find("the text holds the entity &nbsp;"), std::string::npos) << s_line;
    const std::size_t n_nul = s_one.find("u23.801 1602 ");
    EXPECT_NE(s_one.substr(n_nul, s_one.find('\n', n_nul) - n_nul)
                  .find("the text holds a reference to the character NUL"),
              std::string::npos);
    CT_XliffReader co_three(s_file, CT_XliffReader::CT_Cancel(), 3);
    EXPECT_EQ(s_Seen(co_three), s_one);

    CT_TempFolder co_folder;
    co_folder.v_Put("t.xlf", s_file);
    CT_FileBytes co_bytes(co_folder / "t.xlf");
    CT_XliffReader co_file(co_bytes, CT_XliffReader::CT_Cancel(), 2);
    EXPECT_TRUE(co_file.cco_Units()[1].co_Source.empty());
    EXPECT_EQ(s_Seen(co_file), s_one);

    std::string s_changed = s_file;
    s_changed.replace(s_changed.find("u1.2"), 4, "u9.2");
    co_folder.v_Put("t.xlf", s_changed);
    CT_FileBytes co_later(co_folder / "t.xlf");
    CT_XliffReader co_changed(co_later);
    co_folder.v_Put("t.xlf", s_file);
    co_changed.v_Unpack(co_changed.cco_Units()[1]);
    EXPECT_EQ(co_changed.cco_Units()[1].co_Fault,
              "the file changed while it was read: import it again");
}
