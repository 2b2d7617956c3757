#include "framework/dialog_template.h"

#include <map>
#include <mutex>

namespace {

std::mutex s_mutex;

std::map<UINT, const DlgTemplate*>& Templates() {
    static std::map<UINT, const DlgTemplate*> templates;
    return templates;
}

} // namespace

void AfxRegisterDialogTemplate(UINT id, const DlgTemplate& dialogTemplate) {
    std::lock_guard lock(s_mutex);
    Templates()[id] = &dialogTemplate;
}

const DlgTemplate* AfxFindDialogTemplate(UINT id) {
    std::lock_guard lock(s_mutex);
    auto found = Templates().find(id);
    return found == Templates().end() ? nullptr : found->second;
}
