// The root of the classes that take messages: the application and every
// window. It owns the search of the message maps (see message_map.h) and the
// application's wait cursor.
#pragma once

#include "framework/afx_types.h"
#include "framework/message_map.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The entry of this object's maps that takes the message, or null. For
    // WM_COMMAND, code and id come from the WPARAM; other messages match by
    // message alone.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, WPARAM wParam) const;

    // Shows the wait cursor over the whole application until the matching
    // EndWaitCursor; calls nest. Callable from any thread.
    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
