// Message maps: a static table per class from message, notification code and
// control id to a member handler. Each entry holds a plain function (a thunk)
// that a template makes from the member pointer, so a handler may come from
// any base class of the mapped class, not only from the framework's.
//
//   class CDemoDlg : public CDialog, public CHandlers {
//       ...
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CDemoDlg, CDialog)
//       ON_WM_SYSCOMMAND()                        // void OnSysCommand(UINT nID, LPARAM)
//       ON_WM_PAINT()                             // void OnPaint()
//       ON_WM_QUERYDRAGICON()                     // HCURSOR OnQueryDragIcon()
//       ON_BN_CLICKED(IDC_GO, &CDemoDlg::OnGo)    // void OnGo(), here from CHandlers
//       ON_COMMAND(1101, &CDemoDlg::OnAbout)      // void OnAbout()
//       ON_CBN_SELENDOK(IDC_LIST, &CDemoDlg::OnPick)
//       ON_CBN_EDITUPDATE(IDC_BOX, &CDemoDlg::OnEdit)
//       ON_CBN_KILLFOCUS(IDC_BOX, &CDemoDlg::OnLeave)
//       ON_MESSAGE(WM_USER + 1, &CDemoDlg::OnMine) // LRESULT OnMine(WPARAM, LPARAM)
//   END_MESSAGE_MAP()
//
// The search starts at the most derived class's table and goes on through
// the base classes' tables; a message that no entry takes gets the default
// handling (CWnd::DefWindowProc).
#pragma once

#include "framework/afx_types.h"

class CCmdTarget;

typedef LRESULT (*AFX_PMSGTHUNK)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // 0 ends the table
    UINT nCode;    // notification code, WM_COMMAND only
    UINT nID;      // control or command id, WM_COMMAND only
    AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The thunks, one per handler shape. T is the mapped class, Pmf the handler.
template <class T, auto Pmf> LRESULT AfxThunkVoid(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<T*>(target)->*Pmf)();
    return 0;
}

template <class T, auto Pmf> LRESULT AfxThunkSysCommand(CCmdTarget* target, WPARAM w, LPARAM l) {
    (static_cast<T*>(target)->*Pmf)(UINT(w), l);
    return 0;
}

template <class T, auto Pmf> LRESULT AfxThunkMessage(CCmdTarget* target, WPARAM w, LPARAM l) {
    return (static_cast<T*>(target)->*Pmf)(w, l);
}

template <class T, auto Pmf> LRESULT AfxThunkHandle(CCmdTarget* target, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((static_cast<T*>(target)->*Pmf)());
}

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, nullptr }                                                                           \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]};                 \
    return &map;                                                                                   \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, BN_CLICKED, UINT(id), &AfxThunkVoid<ThisClass, memberFxn>},
#define ON_CONTROL(code, id, memberFxn)                                                            \
    {WM_COMMAND, UINT(code), UINT(id), &AfxThunkVoid<ThisClass, memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_MESSAGE(message, memberFxn)                                                             \
    {UINT(message), 0, 0, &AfxThunkMessage<ThisClass, memberFxn>},
#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND, 0, 0, &AfxThunkSysCommand<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &AfxThunkVoid<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0, &AfxThunkHandle<ThisClass, &ThisClass::OnQueryDragIcon>},
