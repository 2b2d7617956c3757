// The Qt widgets behind the controls, with the behaviour the controls
// promise and Qt's own does not give.
#pragma once

#include "framework/afx_types.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>

#include <functional>
#include <set>

// Single-line edit, also the edit field of a combo box. The limit applies to
// the user's typing and pasting only: text the program sets stays whole, and
// the user may still shorten a text that is over the limit.
class AfxLineEdit : public QLineEdit {
public:
    explicit AfxLineEdit(QWidget* parent);

    void SetLimit(int limit); // 0: none
    int Limit() const { return m_nLimit; }
    // Typed characters other than digits are refused; pasted text is not.
    void SetDigitsOnly(bool on) { m_bDigitsOnly = on; }

    bool Accepts(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_nLimit = 0;
    int m_nLastLength = 0;
    bool m_bDigitsOnly = false;
};

// Multi-line edit. It keeps the text exactly as the program set it (line ends
// CR LF) and shows it with plain line breaks.
class AfxTextPane : public QPlainTextEdit {
public:
    explicit AfxTextPane(QWidget* parent);

    void SetText(const CString& text);
    const CString& Text() const { return m_strText; }
    int LineCount() const;
    void ScrollLines(int lines);
    void SetWantReturn(bool on) { m_bWantReturn = on; }
    bool WantsReturn() const { return m_bWantReturn; }

private:
    CString m_strText;
    bool m_bSetting = false;
    bool m_bWantReturn = false;
};

// Combo box that reports its loss of the keyboard focus (opening its own list
// is no loss).
class AfxComboBox : public QComboBox {
public:
    explicit AfxComboBox(QWidget* parent) : QComboBox(parent) {}
    std::function<void()> onFocusLost;

    // Sets the current entry (-1: none) without touching the edit field's
    // text or selection.
    void SetCurrentKeepingText(int index);
    // Qt selects the first entry added to an empty list, and moves the
    // selection and the edit field's text when an entry goes; here the
    // selection and the text are the program's own.
    void InsertKeepingSelection(int index, const QString& text);
    void RemoveKeepingText(int index);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct EditState {
        QString text;
        int cursor = 0;
        int selStart = -1;
        int selLength = 0;
    };
    EditState SaveEdit() const;
    void RestoreEdit(const EditState& state);
};

// Horizontal trackbar with tick marks below the channel at the positions
// given and at both ends.
class AfxTrackBar : public QSlider {
public:
    explicit AfxTrackBar(QWidget* parent);

    void AddTick(int position) {
        m_ticks.insert(position);
        update();
    }
    void SetTicksShown(bool on) {
        m_bTicks = on;
        update();
    }
    std::set<int> Ticks() const; // the ends included

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::set<int> m_ticks;
    bool m_bTicks = true;
};
