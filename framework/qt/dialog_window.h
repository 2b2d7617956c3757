// The top-level window of a running dialog. It turns the window system's
// events into the dialog's messages: keys (Enter, Escape, Alt+F4, Alt+Space),
// the close button, the system menu, paint requests and minimising.
#pragma once

#include "framework/dialog_template.h"

#include <QDialog>
#include <QPointer>
#include <QPushButton>

class CDialog;

class AfxDialogWindow : public QDialog {
public:
    AfxDialogWindow(CDialog* dialog, QWidget* owner, const DlgTemplate& dialogTemplate);

    // Dialog units to pixels, from the dialog's font.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

    void SetDefaultButton(QPushButton* button) { m_defaultButton = button; }
    // Where the focus goes once the window is shown, as set before.
    void FocusLater(QWidget* widget);
    void FocusFirstTabStop();
    bool InPaint() const { return m_bInPaint; }
    void OpenSystemMenu(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PressEnter();
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

    CDialog* m_pDialog;
    UINT m_nStyle;
    int m_nBaseX = 1;
    int m_nBaseY = 1;
    QPointer<QPushButton> m_defaultButton;
    QPointer<QWidget> m_pendingFocus;
    bool m_bInPaint = false;
};

// The dialog's font: the template's where it exists, else the desktop's sans
// font at the same point size.
QFont AfxDialogFont(const char* name, int pointSize);
