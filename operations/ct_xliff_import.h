// The part of an import or check that the XLIFF format adds: when the file given is XLIFF, it
// is read, refused with one clear error when it cannot be imported, and written as a tagged
// story file in a folder of its own, which the kernel's import then reads like any other;
// the folder goes when this object does. Untranslated units are named in a warning line, or
// refused with --require-translated. For a tagged story file nothing happens.
#pragma once

#include <string>

class CT_Session;

class CT_XliffImport {
  public:
    // Raises e_BadContent (naming the file) when the XLIFF file cannot be imported.
    CT_XliffImport(CT_Session& co_Session, const std::string& s_File);
    ~CT_XliffImport();
    CT_XliffImport(const CT_XliffImport&) = delete;
    CT_XliffImport& operator=(const CT_XliffImport&) = delete;

    // The tagged story file to import: the given file, or the one made from the XLIFF file,
    // named after the document the XLIFF file was made for.
    const std::string& s_GetTagged() const { return s_Tagged; }
    // Whether s_GetTagged was made from an XLIFF file, whose lines are not its lines.
    bool b_IsConverted() const { return !s_Folder.empty(); }

  private:
    std::string s_Tagged;
    std::string s_Folder;
};
