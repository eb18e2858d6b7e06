// The part of an export that the XLIFF format adds: when the command's target is XLIFF, the
// story format of the translation tool and an installed converter for as long as this object
// lives; otherwise the tagged story file's format and nothing installed.
#pragma once

#include <memory>
#include <string>

#include "operations/ct_xliff_converter.h"
#include "settings/ct_story_format_settings.h"

class CT_Session;

class CT_XliffExport {
  public:
    // s_Target: the file the export writes (for batch, any name with the files' extension).
    CT_XliffExport(CT_Session& co_Session, const std::string& s_Target);

    const CT_StoryFormatSettings& cco_GetFormat() const { return co_Format; }
    bool b_IsXliff() const { return pco_Converter != nullptr; }

  private:
    CT_StoryFormatSettings co_Format;
    std::unique_ptr<CT_XliffConverter> pco_Converter;
};
