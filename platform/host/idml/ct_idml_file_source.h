// Opens zip archives: one on disk through a window of its bytes, one in memory in place. The zip
// library reads an entry as its local header and then its data, each after a seek, and a file
// read through the C library costs a system call for every seek and every read, tens of
// thousands for a large document. Here a read within the window costs none and one past it
// reads the next window, so reading the entries in archive order costs one system call per
// window. Writing goes the other way: the zip library goes back to complete each entry's header
// after its data, and here both stay in a buffer that is written out a few megabytes at a time.
// The archive owns its source; a source opened to read owns its file descriptor, one to write
// does not.
#pragma once

#include <zip.h>

#include <string>
#include <string_view>

class CT_IdmlFileSource {
  public:
    // The archive at the path, read only (i_Flags adds ZIP_CHECKCONS and the like), or null
    // with i_Error set to a libzip error code as zip_open sets it: ZIP_ER_NOENT for no such
    // file, ZIP_ER_OPEN for one that cannot be opened (a folder cannot), ZIP_ER_NOZIP for bytes
    // that hold no archive, ZIP_ER_READ for a read that failed.
    static zip_t* spco_Open(const std::string& s_Path, int i_Flags, int& i_Error);
    // The archive in the bytes, read in place as a file would be (a package served from
    // memory), or null with i_Error set when they hold none. The bytes must outlive it.
    static zip_t* spco_OpenBytes(std::string_view co_Bytes, int& i_Error);
    // A new archive, empty, to be written to the open descriptor (from its start, whatever it
    // held) when it is closed; null with i_Error set when the zip library refuses. The
    // descriptor stays the caller's, and is not closed.
    static zip_t* spco_OpenToWrite(int i_Descriptor, int& i_Error);
};
