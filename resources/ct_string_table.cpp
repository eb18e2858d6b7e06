#include "resources/ct_string_table.h"

const CT_StringTableEntry g_KernelStringTable[] = {
    {1, "Page %"},
    {2, "Pasteboard"},
    {3, "Master Pages"},
    {4, "Story %: "},
    {5, "..."},
    {6, "Story %d: "},
    {50, "Exporting %..."},
    {51, "Importing %..."},
    {100, "Exporting %..."},
    {101, "1 story has been exported."},
    {102, "% stories have been exported."},
    {103, "Export canceled."},
    {110, "Importing %..."},
    {111, "1 story has been imported."},
    {112, "% stories have been imported."},
    {113, "Import canceled."},
    {120, "Error: %"},
    {121, "Batch finished."},
    {123, "Batch canceled."},
    {124, "Batch finished but contains one or more errors (see above)."},
    {150,
     "Warning: there are one or more stories in the document that cannot be found in the tagged "
     "text file."},
    {151,
     "Warning: there is more stories in the imported tagged file than in the document: these "
     "stories have been ignored."},
    {200, "Quarvel Tagged File (*.qvx)|*.qvx||"},
};

const std::size_t gn_KernelStringTableSize =
    sizeof(g_KernelStringTable) / sizeof(g_KernelStringTable[0]);
