// A host listener: an object whose operator() the host calls. The close-document listener is
// called when the active document closes; a pushed listener does one step of its work per call.
// Listeners are owned by whoever made them; the host only keeps pointers.
#pragma once

class CT_Listener {
  public:
    CT_Listener() = default;
    virtual ~CT_Listener() = default;
    virtual void operator()() = 0;

    // Makes the listener the current one, until sv_Pop.
    static void sv_Push(CT_Listener* pco_Listener);
    static void sv_Pop();
    // Tells the host that a new unit of counted work (a batch document) begins.
    void v_StartCounting(int b_Reset);

    unsigned n_State = 0;
};
