#include "framework/cmd_target.h"

#include "framework/qt/main_thread.h"

#include <QApplication>
#include <QCursor>

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, WPARAM wParam) const {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage; ++entry) {
            if (entry->nMessage != message)
                continue;
            if (message != WM_COMMAND || (entry->nCode == code && entry->nID == id))
                return entry;
        }
    }
    return nullptr;
}

void CCmdTarget::BeginWaitCursor() {
    AfxRunOnMainThread([] { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); });
}

void CCmdTarget::EndWaitCursor() {
    AfxRunOnMainThread([] {
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    });
}
