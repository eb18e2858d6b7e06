#include "platform/host/idml/ct_idml_selection.h"

#include <algorithm>

#include <pugixml.hpp>

namespace {
std::string s_Quoted(const std::string& s_Name) {
    return "\"" + s_Name + "\"";
}
}  // namespace

std::string CT_IdmlSelection::s_LeftOut(const CT_IdmlFrameState& co_Frame,
                                        const CT_IdmlDocument& co_Document) const {
    static const CT_IdmlLayer sco_NoLayer;
    const CT_IdmlLayer* pco_layer = co_Document.pco_FindLayer(co_Frame.pc_LayerId);
    const CT_IdmlLayer& co_layer = pco_layer != nullptr ? *pco_layer : sco_NoLayer;
    const bool b_named = !co_LayerNames.empty();
    if (b_named && std::find(co_LayerNames.begin(), co_LayerNames.end(), co_layer.s_Name) ==
                       co_LayerNames.end()) {
        return "on layer " + s_Quoted(co_layer.s_Name) + ", not chosen";
    }
    if (eo_Layers == e_AllLayers) {
        return {};
    }
    if (!b_named && !co_layer.b_Visible) {
        return "on hidden layer " + s_Quoted(co_layer.s_Name);
    }
    if (co_Frame.b_Hidden) {
        return "in a hidden frame";
    }
    if (eo_Layers == e_VisibleLayers) {
        return {};
    }
    if (!b_named && !co_layer.b_Printable) {
        return "on non-printing layer " + s_Quoted(co_layer.s_Name);
    }
    if (co_Frame.b_NonPrinting) {
        return "in a non-printing frame";
    }
    return {};
}

std::string CT_IdmlSelection::ss_LayerName(const CT_IdmlFrameState& co_Frame,
                                           const CT_IdmlDocument& co_Document) {
    const CT_IdmlLayer* pco_layer = co_Document.pco_FindLayer(co_Frame.pc_LayerId);
    return pco_layer != nullptr ? pco_layer->s_Name : std::string();
}

std::vector<std::string> CT_IdmlSelection::co_UnknownLayers(
    const CT_IdmlDocument& co_Document) const {
    const std::vector<std::string> co_known = co_Document.co_LayerNames();
    std::vector<std::string> co_unknown;
    for (const std::string& s_name : co_LayerNames) {
        if (std::find(co_known.begin(), co_known.end(), s_name) == co_known.end()) {
            co_unknown.push_back(s_name);
        }
    }
    return co_unknown;
}
