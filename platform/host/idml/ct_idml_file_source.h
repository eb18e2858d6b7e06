// Opens a zip archive on disk for reading through a window of its bytes: the zip library reads
// an entry as its local header and then its data, each after a seek, and a file read through
// the C library costs a system call for every seek and every read, tens of thousands for a
// large document. Here a read within the window costs none and one past it reads the next
// window, so reading the entries in archive order costs one system call per window. The archive
// owns its source, and the source its file descriptor.
#pragma once

#include <zip.h>

#include <string>

class CT_IdmlFileSource {
  public:
    // The archive at the path, read only (i_Flags adds ZIP_CHECKCONS and the like), or null
    // with i_Error set to a libzip error code as zip_open sets it: ZIP_ER_NOENT for no such
    // file, ZIP_ER_OPEN for one that cannot be opened (a folder cannot), ZIP_ER_NOZIP for bytes
    // that hold no archive, ZIP_ER_READ for a read that failed.
    static zip_t* spco_Open(const std::string& s_Path, int i_Flags, int& i_Error);
};
