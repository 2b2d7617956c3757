// Drawing: rectangles, the paint device of a paint request, system metrics.
//
//   void CDemoDlg::OnPaint() {
//       if (IsIconic()) {
//           CPaintDC dc(this);
//           SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
//           CRect rect;
//           GetClientRect(&rect);
//           dc.DrawIcon((rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2, ..., m_hIcon);
//       } else {
//           CDialog::OnPaint();
//       }
//   }
#pragma once

#include "framework/afx_types.h"

#include <memory>

class CWnd;

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A drawing surface. Main thread only.
class CDC {
public:
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const;
    // Draws the icon at its system size with its top-left corner at (x, y).
    BOOL DrawIcon(int x, int y, HICON hIcon);
    // Fills the whole surface with the window's background.
    void EraseBackground();

protected:
    CDC();
    std::unique_ptr<AfxDeviceContext> m_pContext;
};

// The device of a paint request: the window itself while the window system
// asks it to paint, otherwise a scratch surface of the client area's size
// (a minimised window is drawn by the window manager).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
};

// SM_CXICON and SM_CYICON: the size of a window's large icon; 0 otherwise.
int GetSystemMetrics(int index);
