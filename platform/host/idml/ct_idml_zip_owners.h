// Owners for libzip's handles, so that every way out of a function gives them back: an archive
// is discarded (nothing written) unless the caller closed it and released the owner, an open
// entry is closed.
#pragma once

#include <zip.h>

#include <memory>

struct CT_IdmlZipDiscard {
    void operator()(zip_t* pco_Zip) const { zip_discard(pco_Zip); }
};
struct CT_IdmlZipFileClose {
    void operator()(zip_file_t* pco_File) const { zip_fclose(pco_File); }
};

using CT_IdmlZip = std::unique_ptr<zip_t, CT_IdmlZipDiscard>;
using CT_IdmlZipFile = std::unique_ptr<zip_file_t, CT_IdmlZipFileClose>;
