// The story codec: content it accepts must come out of an export as it went in once it has been
// through one import, so that a translator's file survives any number of round trips.
#include <cstdint>
#include <cstdlib>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_story_codec.h"
#include "platform/host/idml/ct_idml_story_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    pugi::xml_document co_Doc;
    co_Doc.load_string(
        "<Story Self=\"u1\"><ParagraphStyleRange><CharacterStyleRange><Content>x</Content>"
        "</CharacterStyleRange></ParagraphStyleRange></Story>");
    pugi::xml_node co_Story = co_Doc.child("Story");
    const std::string s_Input(reinterpret_cast<const char*>(pc_Data), n_Size);
    try {
        CT_IdmlStoryCodec::v_Import(co_Story, s_Input, CT_String("u1"));
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();
        return 0;
    }
    const std::string s_Once = CT_IdmlStoryCodec::s_Export(co_Story);
    CT_IdmlStoryCodec::v_Import(co_Story, s_Once, CT_String("u1"));  // must be accepted
    if (CT_IdmlStoryCodec::s_Export(co_Story) != s_Once) {
        std::abort();
    }
    // The story as a save writes it reads back as the same content: what the tree holds in a
    // compact form (runs of line ends) is written out in full.
    std::ostringstream co_Written;
    co_Story.print(co_Written, "", CT_IdmlStoryXml::sn_WriteOptions);
    pugi::xml_document co_Reread;
    co_Reread.load_string(co_Written.str().c_str(), CT_IdmlStoryXml::sn_ParseOptions);
    if (CT_IdmlStoryCodec::s_Export(co_Reread.child("Story")) != s_Once) {
        std::abort();
    }
    return 0;
}
