// The XLIFF reader, on files that translation tools and translators have been at: any bytes
// give stories or one refusal, never a crash or another error. The stories it gives must reach
// the document as they stand: well-formed UTF-8, tagged content that reads back to the same
// bytes, and keys and contents that come out of the tagged story file written for the import
// unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ct_tagged_file.h"
#include "exchange/ct_tagged_token.h"
#include "exchange/ct_xliff_reader.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/idml/ct_idml_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    std::vector<CT_TaggedStory> co_stories;
    try {
        const CT_XliffReader co_reader(
            std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
        co_stories = co_reader.cco_Stories();
    } catch (const CT_XliffReader::CT_Refusal&) {
        return 0;
    }
    for (const CT_TaggedStory& co_story : co_stories) {
        if (!CT_Utf8::sb_IsValid(co_story.co_Key) || !CT_Utf8::sb_IsValid(co_story.co_Content)) {
            std::abort();
        }
        std::vector<CT_TaggedToken> co_tokens;
        CT_TaggedToken::sv_Read(co_story.co_Content, co_tokens);  // raising is a finding
        std::string s_again;
        CT_TaggedToken::sv_Write(co_tokens, s_again);
        if (s_again != co_story.co_Content) {
            std::abort();
        }
    }
    const std::vector<CT_TaggedStory> co_read =
        CT_TaggedStoryFile::sco_Read(CT_TaggedStoryFile::s_Write(
            co_stories, CT_IdmlHost::spc_OpenTag, CT_IdmlHost::spc_CloseTag));
    if (co_read.size() != co_stories.size()) {
        std::abort();
    }
    for (std::size_t n = 0; n < co_read.size(); ++n) {
        if (co_read[n].co_Key != co_stories[n].co_Key ||
            co_read[n].co_Content != co_stories[n].co_Content) {
            std::abort();
        }
    }
    return 0;
}
