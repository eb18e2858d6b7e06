// Converts the tagged story file of an export into an XLIFF 1.2 file, for the export command.
// Made around one export and installed as the kernel's converter for as long as it lives; it
// asks the IDML host what the codes of each exported story stand for and how the story is set
// (its pages by their printed names, frames and layer, and, unless limits are off, the room
// its frames give it, by the fit report's capacity estimate). Without a source
// language in the options, each document's own is used (English when it names none). The host and
// the options must outlive it.
#pragma once

#include "document/ct_tagged_converter.h"
#include "exchange/ct_xliff_writer.h"
#include "platform/host/idml/ct_idml_host.h"

class CT_XliffConverter : public CT_TaggedConverter {
  public:
    // The stories are written on n_Threads threads (this one counted); the file is the same
    // for any number.
    CT_XliffConverter(const CT_IdmlHost& co_Host, const CT_XliffWriter::CT_Options& co_Options,
                      unsigned n_Threads = 1);
    ~CT_XliffConverter() override;
    CT_XliffConverter(const CT_XliffConverter&) = delete;
    CT_XliffConverter& operator=(const CT_XliffConverter&) = delete;

    // Writes the XLIFF file in place of the target atomically; a story whose content is no
    // tagged content raises e_BadContent naming its key. A cancel between stories returns 1
    // and writes nothing.
    int b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                  const CT_String& co_DocumentName) override;

  private:
    const CT_IdmlHost& co_Host;
    CT_XliffWriter::CT_Options co_Options;
    unsigned n_Threads;
};
