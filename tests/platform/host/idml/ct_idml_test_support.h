// Helpers of the IDML host tests: a temporary folder, writing zip packages and a
// comparable form of story XML; the samples come from ct_idml_story_samples.h. Header only.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>
#include <pugixml.hpp>

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_host.h"
#include "platform/host/idml/ct_idml_host.h"
#include "tests/platform/common/ct_temp_folder.h"
#include "tests/platform/host/idml/ct_idml_story_samples.h"

namespace idml_test {

inline std::string s_ReadFile(const fs::path& co_Path) {
    std::ifstream co_In(co_Path, std::ios::binary);
    std::ostringstream co_Out;
    co_Out << co_In.rdbuf();
    return co_Out.str();
}

inline std::string s_StoryXml(const std::string& s_Key, const std::string& s_Inside) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><idPkg:Story xmlns:idPkg=\"p\"><Story "
           "Self=\"" +
           s_Key + "\"><ParagraphStyleRange><CharacterStyleRange>" + s_Inside +
           "</CharacterStyleRange></ParagraphStyleRange></Story></idPkg:Story>";
}

// A small package: one page of 100 by 100 points with one frame per story, from the story keys
// and what stands inside their character range.
inline std::vector<CT_Entry> co_SmallPackage(
    const std::vector<std::pair<std::string, std::string>>& co_Stories) {
    std::string s_Map = "<Document xmlns:idPkg=\"p\"><idPkg:Spread src=\"Spreads/S.xml\"/>";
    std::string s_Spread =
        "<idPkg:Spread xmlns:idPkg=\"p\"><Spread><Page GeometricBounds=\"0 0 100 "
        "100\" ItemTransform=\"1 0 0 1 0 0\"/>";
    std::vector<CT_Entry> co_Entries = {
        {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
        {"designmap.xml", ""},
        {"Spreads/S.xml", ""}};
    int i_Top = 0;
    for (const auto& co_Story : co_Stories) {
        const std::string s_Entry = "Stories/Story_" + co_Story.first + ".xml";
        s_Map += "<idPkg:Story src=\"" + s_Entry + "\"/>";
        s_Spread += "<TextFrame ParentStory=\"" + co_Story.first +
                    "\" PreviousTextFrame=\"n\" "
                    "ItemTransform=\"1 0 0 1 10 " +
                    std::to_string(i_Top += 20) + "\"/>";
        co_Entries.emplace_back(s_Entry, s_StoryXml(co_Story.first, co_Story.second));
    }
    co_Entries[1].s_Bytes = s_Map + "</Document>";
    co_Entries[2].s_Bytes = s_Spread + "</Spread></idPkg:Spread>";
    return co_Entries;
}

// Story XML as a comparable text: indentation between elements is left out, every character
// of text (whitespace-only runs too), every attribute and processing instruction is kept.
inline void v_Canonical(const pugi::xml_node& co_Node, std::string& s_Out) {
    bool b_HasElements = false;
    for (pugi::xml_node co_Child : co_Node.children()) {
        b_HasElements |= co_Child.type() == pugi::node_element;
    }
    for (pugi::xml_node co_Child : co_Node.children()) {
        switch (co_Child.type()) {
            case pugi::node_element:
                s_Out += "<" + std::string(co_Child.name());
                for (pugi::xml_attribute co_Attr : co_Child.attributes()) {
                    s_Out += " " + std::string(co_Attr.name()) + "=\"" + co_Attr.value() + "\"";
                }
                s_Out += ">";
                v_Canonical(co_Child, s_Out);
                s_Out += "</" + std::string(co_Child.name()) + ">";
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata:
                if (!b_HasElements || std::string(co_Child.value()).find_first_not_of(" \t\r\n") !=
                                          std::string::npos) {
                    s_Out += std::string("{") + co_Child.value() + "}";
                }
                break;
            case pugi::node_pi:
                s_Out += "<?" + std::string(co_Child.name()) + " " + co_Child.value() + "?>";
                break;
            default:
                break;
        }
    }
}

inline std::string s_Canonical(const std::string& s_Xml) {
    pugi::xml_document co_Doc;
    co_Doc.load_buffer(s_Xml.data(), s_Xml.size(),
                       pugi::parse_default | pugi::parse_pi | pugi::parse_ws_pcdata);
    std::string s_Out;
    v_Canonical(co_Doc, s_Out);
    return s_Out;
}

// The common temporary folder, with paths as the IDML tests take them and a sample copied in.
class CT_TempDir : public CT_TempFolder {
  public:
    using CT_TempFolder::co_Get;
    fs::path co_Get() const { return co_Path; }
    fs::path operator/(const std::string& s_Name) const { return fs::path(co_Path) / s_Name; }
    // The sample copied in, so that tests may change it.
    fs::path co_CopySample(const std::string& s_Name) const {
        fs::copy_file(co_Sample(s_Name), *this / s_Name);
        return *this / s_Name;
    }
    std::size_t n_Files() const { return co_Names().size(); }
};

// Installs a fresh IDML host for each test and checks that no handle was left behind.
class CT_HostTest : public ::testing::Test {
  protected:
    void SetUp() override { CT_Host::sv_Install(&co_Host); }
    void TearDown() override {
        CT_Host::sv_Install(nullptr);
        if (HasFailure()) {
            std::cerr << "last error: " << CT_Errors::cco_GetLastError().sv() << "\n";
        }
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);
        EXPECT_EQ(co_Host.n_LiveDocumentHandles(), 0);
        EXPECT_EQ(co_Host.n_BadReleases(), 0);
    }

    // Opens the document and gives the handle back at once: it stays open and active.
    void v_Open(const fs::path& co_Path) {
        void* p_Document = co_Host.p_Open(CT_String(co_Path.c_str()), 1);
        co_Host.v_Release(p_Document);
    }
    void v_CloseActive(int b_Save) {
        void* p_Document = co_Host.p_GetCurrentDocument();
        co_Host.v_Close(p_Document, b_Save);
        co_Host.v_Release(p_Document);
    }

    // Calls the function with each box handle of the active document's list, then releases it.
    template <typename F>
    void v_ForEachBox(bool b_IgnorePasteBoard, F f_Do) {
        void* p_Box = nullptr;
        try {
            co_Host.v_GenerateBoxList(b_IgnorePasteBoard);
            if (co_Host.b_IsBoxListEmpty()) {
                return;
            }
            co_Host.v_ResetBoxList();
            do {
                p_Box = co_Host.p_GetCurrentBox();
                f_Do(p_Box);
                co_Host.v_ReleaseBox(p_Box);
            } while (co_Host.b_NextTextBox());
        } catch (...) {
            co_Host.v_ReleaseBox(p_Box);
            throw;
        }
    }

    // One line per box: key, location as the tagged file writes it, and position.
    std::vector<std::string> co_Listing(bool b_IgnorePasteBoard = false) {
        std::vector<std::string> co_Lines;
        v_ForEachBox(b_IgnorePasteBoard, [&](void* p_Box) {
            std::string s_Place = "B";
            if (!co_Host.b_IsOnPasteBoard(p_Box)) {
                s_Place = co_Host.b_IsOnMasterPage(p_Box)
                              ? "M" + std::string(co_Host.co_GetSpreadName(p_Box).sv())
                              : "P";
                s_Place += std::to_string(co_Host.n_GetPage(p_Box));
            }
            tagPOINT co_At;
            co_Host.v_GetPosition(p_Box, co_At);
            co_Lines.push_back(std::string(co_Host.co_GetKey(p_Box).sv()) + " " + s_Place + " " +
                               std::to_string(co_At.x) + "," + std::to_string(co_At.y));
        });
        return co_Lines;
    }

    // Every story of the active document through one tagged file, by key.
    std::map<std::string, std::string> co_ExportAll(const fs::path& co_File) {
        CT_Files co_Out;
        co_Out.v_Open(CT_String(co_File.c_str()), e_OpenWrite, 0);
        co_Host.v_PrepareForExport();
        std::vector<std::string> co_Keys;
        v_ForEachBox(false, [&](void* p_Box) {
            co_Keys.emplace_back(co_Host.co_GetKey(p_Box).sv());
            co_Out.v_Write(CT_String(("\x01" + co_Keys.back() + "\x02").c_str()));
            EXPECT_EQ(co_Host.b_Export(p_Box, co_Out), 0);
            co_Out.v_Write(CT_String("\x03"));
        });
        co_Out.v_Close();
        EXPECT_EQ(co_Host.n_GetStoryCounter(), co_Keys.size());
        std::string s_All = s_ReadFile(co_File);
        std::map<std::string, std::string> co_Stories;
        for (const std::string& s_Key : co_Keys) {
            std::size_t n_Start = s_All.find("\x01" + s_Key + "\x02") + s_Key.size() + 2;
            co_Stories[s_Key] = s_All.substr(n_Start, s_All.find('\x03', n_Start) - n_Start);
        }
        return co_Stories;
    }

    // Writes the stories to a tagged file in box-list order and imports each into its box.
    void v_ImportAll(const fs::path& co_File,
                     const std::map<std::string, std::string>& co_Stories) {
        {
            std::ofstream co_Out(co_File, std::ios::binary);
            v_ForEachBox(false, [&](void* p_Box) {
                std::string s_Key(co_Host.co_GetKey(p_Box).sv());
                co_Out << "\x01" << s_Key << "\x02" << co_Stories.at(s_Key) << "\x03";
            });
        }
        CT_Files co_In;
        co_In.v_Open(CT_String(co_File.c_str()), e_OpenRead, 0);
        co_Host.v_PrepareForImport();
        v_ForEachBox(false, [&](void* p_Box) {
            std::string s_Key(co_Host.co_GetKey(p_Box).sv());
            co_In.v_MoveUntil(CT_String(("\x01" + s_Key + "\x02").c_str()));
            unsigned n_Count = co_In.n_CountUntil(CT_String("\x03"));
            EXPECT_EQ(co_Host.b_Import(p_Box, co_In, n_Count), 0);
        });
        co_In.v_Close();
    }

    CT_IdmlHost co_Host;
};

}  // namespace idml_test
