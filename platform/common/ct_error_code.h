// The error codes carried by every exception the system raises. Codes below 100 are the
// kernel's; the others belong to the common library and the host backends.
#pragma once

enum et_ErrorCode : int {
    e_NoError = 0,
    e_NoTextBox = 13,    // a document named by path holds no text box; text: the path
    e_UnknownKey = 16,   // a story of a tagged file names a key no box has; text: the key
    e_EndOfFile = 19,    // a search reached the end of the file before its marker
    e_NoConverter = 20,  // an export in the translation tool's format with no converter

    // Common library: files. The text names the path and the system's reason.
    e_FileOpen = 100,
    e_FileRead = 101,
    e_FileWrite = 102,
    e_FileReplace = 103,  // the finished file could not be put in place
    e_FileDelete = 104,
    e_FileState = 105,  // an operation on a file object that is not open for it

    // Host interface and its backends.
    e_NoHost = 200,           // no backend installed
    e_HostFailure = 201,      // a host operation failed; the text says which and why
    e_BadDocument = 202,      // a document that cannot be opened or is broken
    e_BadContent = 203,       // story content the host refuses on import
    e_UnknownDocument = 204,  // a handle or path the host does not know
};
