// The names a document prints on its pages: each section's prefix and its numbering (from a
// start number or on from the section before, in arabic or roman numerals, letters or with
// leading zeros), as the layout application names them in its pages panel ("A22", "iv").
// Computed once from the document's sections and the order of its pages; plain strings.
#pragma once

#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_document.h"

class CT_IdmlPageNames {
  public:
    // A document without sections numbers its pages 1, 2, 3 ... A section naming a page the
    // document lacks is passed over; styles it does not know number in arabic numerals.
    explicit CT_IdmlPageNames(const CT_IdmlDocument& co_Document);

    // The name of the document page with this number (from 1, in design-map order); the
    // number itself for a page the document lacks.
    std::string s_Name(unsigned n_Page) const;

    // n written in the numbering style ("LowerRoman" 4 gives "iv", "UpperLetters" 27 "AA").
    static std::string ss_Number(unsigned n_Number, const std::string& s_Style);

  private:
    std::vector<std::string> co_Names;  // by page number - 1
};
