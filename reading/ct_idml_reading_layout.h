// The reading layout of an IDML document: its spreads' pages and text frames with their groups
// and threads, the binding of its pages and the frames anchored in its stories, taken from the
// IDML host's drawn layout. Reads the document only while it builds the layout.
#pragma once

#include "reading/ct_reading_layout.h"

class CT_IdmlDocument;

class CT_IdmlReadingLayout {
  public:
    // A frame belongs to the page it overlaps most, or to its spread's pasteboard; a group
    // whose frames lie on several pages is read as one unit on each of them. The document
    // refuses nothing here that opening it did not refuse already; a coordinate that is no
    // finite number is taken as 0.
    static CT_ReadingLayout sco_Build(const CT_IdmlDocument& co_Document);
};
