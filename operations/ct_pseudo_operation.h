// What "pseudo" does: a pseudo-translated copy of a document (CT_PseudoText: letters accented,
// paragraphs lengthened, markers at both ends, codes and structure kept), for a designer to
// open in the layout program and see what overflows before a translation is paid for; and, when
// asked, the same pseudo-translation as a translated XLIFF file, for trying a CAT workflow and
// for check's fit report. The document is only read: the copy is made in a hidden folder beside
// the target, exported, pseudo-translated and imported there, and renamed into place only when
// all of that went through. Each target is refused as an export refuses its file
// (CT_ExportTarget). Stateless.
#pragma once

#include "operations/ct_exit_status.h"

class CT_Session;

class CT_PseudoOperation {
  public:
    // 0 written, 1 an error (nothing written), 130 cancelled (nothing written).
    static et_ExitStatus seo_Run(CT_Session& co_Session);
};
