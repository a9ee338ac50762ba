// What the tests of the comment dialog and the template panel share.
#pragma once

#include "settings/SccSettings.h"

#include <string>
#include <vector>

namespace comment_tests {

// Puts the templates into the settings object so that they stand in this list order
// (adding puts a template at the front).
inline void StoreTemplates(CSccSettings& settings, const std::vector<std::string>& inOrder) {
    for (auto it = inOrder.rbegin(); it != inOrder.rend(); ++it)
        settings.UpdateTemplateList(*it, false);
}

inline std::vector<std::string> Templates(const CSccSettings& settings) {
    std::vector<std::string> all;
    for (int i = 0; i < settings.GetTemplateCount(); ++i)
        all.push_back(settings.GetTemplate(i));
    return all;
}

} // namespace comment_tests
