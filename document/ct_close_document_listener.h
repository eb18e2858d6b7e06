// The listener the host calls when its active document closes: the registry's document for it
// is taken out and destroyed. The one instance registers itself with the host when the library
// is loaded and lives until the process ends.
#pragma once

#include "platform/host/ct_listener.h"

class CT_CloseDocumentListener : public CT_Listener {
  public:
    CT_CloseDocumentListener();
    void operator()() override;

    static CT_CloseDocumentListener& sco_CloseDocumentListener;
};
