// One file, read or written through a buffer. Reading searches forward for markers in time
// linear in the bytes passed. Writing goes to a temporary file beside the target: v_Close puts
// it in place atomically, v_Cancel (or destroying an unclosed object) removes it and leaves
// whatever stood at the path untouched. A path is bytes: "/" is its only separator, and a
// backslash is part of a name, but for the one the batch runner puts after its folder. Every
// failure raises an et_ErrorCode through CT_Errors with a text naming the path and the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/common/ct_string.h"

enum et_OpenMode : std::uint32_t {
    e_OpenRead = 0x80000000u,
    e_OpenWrite = 0x40000000u,
};

class CT_Files {
  public:
    // Reading fetches the file in blocks of this size; searches keep the end of a block that
    // could begin a marker, so markers may straddle blocks.
    static constexpr std::size_t sn_BlockSize = 256 * 1024;

    CT_Files();
    ~CT_Files();
    CT_Files(const CT_Files&) = delete;
    CT_Files& operator=(const CT_Files&) = delete;

    // Opens the path for reading, or for writing (the former content is replaced only when the
    // file is closed). With i_Durable non-zero a written file is flushed to disk before it is
    // put in place.
    void v_Open(const CT_String& co_Path, et_OpenMode eo_Mode, int i_Durable);
    // Opens a new intermediate file for writing in the system's temporary folder; its path is
    // cco_GetFullPath. It is written in place: v_Close keeps it, v_Cancel removes it.
    void v_Open();
    const CT_String& cco_GetFullPath() const;
    bool b_IsOpen() const;

    // Ends reading, or finishes writing and puts the file in place.
    void v_Close();
    // Abandons a file being written: the target path keeps what it held. Closes a read file.
    void v_Cancel();
    // Removes the file at the full path (after it was closed).
    void v_Delete();

    void v_Write(const CT_String& co_Text);
    void v_Write(const char* pc_Data, std::size_t n_Length);
    // The text, then the line end "\n".
    void v_Writeln(const CT_String& co_Text);

    // Moves the read position just past the next occurrence of the marker. Raises e_EndOfFile
    // when the file ends first; the position then stays where it was.
    void v_MoveUntil(const CT_String& co_Marker);
    // Sets the text to the bytes before the marker's next occurrence and moves just past it.
    // Raises e_EndOfFile when the file ends first; position and text then stay as they were.
    void v_ReadUntil(CT_String& co_Text, const CT_String& co_Marker);
    // The number of bytes before the marker's next occurrence; the position stays put.
    // Raises e_EndOfFile when the file ends first.
    unsigned n_CountUntil(const CT_String& co_Marker);
    // Reads exactly n_Count bytes at the position into the text (replacing it) and moves past
    // them. Raises e_EndOfFile when fewer remain.
    void v_Read(std::string& co_Bytes, std::size_t n_Count);

    static int sb_Exist(const CT_String& co_Path);
    // A seam for fuzzing: while set, opening the path (spelled exactly so) for reading reads
    // these bytes instead of the disk, and sb_Exist finds it; everything else about reading is
    // the same. One path at a time; the bytes must outlive the setting. An empty path ends it.
    static void sv_ServeFromMemory(const CT_String& co_Path, std::string_view co_Bytes);
    // The bytes served for the path, or null when it is read from the disk: for readers that
    // open files in their own way.
    static const std::string_view* spco_ServedFromMemory(const CT_String& co_Path);
    // The last component of the path, extension included.
    static CT_String sco_GetFileName(const CT_String& co_Path);
    // Removes the extension (from the last "." of the last component) in place.
    static void sv_RemoveExtension(CT_String& co_Name);

  private:
    struct CT_Impl;
    std::unique_ptr<CT_Impl> pco_Impl;
};
