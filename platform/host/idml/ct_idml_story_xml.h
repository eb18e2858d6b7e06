// How a host must parse and write story XML for the codec to see, and give back, every
// character: processing instructions are special characters, and a Content run of one space
// is text. Parsing with these options also keeps the indentation between elements, which the
// codec ignores; writing raw then gives it back as it was. pugixml never loads a DTD or an
// external entity, whatever the options.
#pragma once

#include <pugixml.hpp>

class CT_IdmlStoryXml {
  public:
    static constexpr unsigned sn_ParseOptions = pugi::parse_default | pugi::parse_declaration |
                                                pugi::parse_pi | pugi::parse_comments |
                                                pugi::parse_ws_pcdata;
    // The document's own declaration node is written, so no second one is added.
    static constexpr unsigned sn_WriteOptions = pugi::format_raw | pugi::format_no_declaration;
};
