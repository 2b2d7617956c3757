#include "framework/qt/widgets.h"

#include "framework/qt/text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QValidator>

namespace {

class LimitValidator : public QValidator {
public:
    explicit LimitValidator(AfxLineEdit* edit) : QValidator(edit), m_pEdit(edit) {}
    State validate(QString& input, int&) const override {
        return m_pEdit->Accepts(input) ? Acceptable : Invalid;
    }

private:
    AfxLineEdit* m_pEdit;
};

bool IsDigits(const QString& text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

AfxLineEdit::AfxLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Qt's own limit would also cut text that the program sets.
    setMaxLength(32767);
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged,
            [this](const QString& text) { m_nLastLength = int(text.size()); });
}

void AfxLineEdit::SetLimit(int limit) {
    m_nLimit = limit < 0 ? 0 : limit;
}

bool AfxLineEdit::Accepts(const QString& text) const {
    // The validator sees the text after the change; m_nLastLength is the
    // length before it.
    return m_nLimit == 0 || text.size() <= m_nLimit || text.size() <= m_nLastLength;
}

void AfxLineEdit::keyPressEvent(QKeyEvent* event) {
    const bool typing = !event->text().isEmpty() && event->text()[0].isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (m_bDigitsOnly && typing && !isReadOnly() && !IsDigits(event->text())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

AfxTextPane::AfxTextPane(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, [this] {
        if (!m_bSetting)
            m_strText = AfxFromQt(toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    });
}

void AfxTextPane::SetText(const CString& text) {
    m_strText = text;
    QString shown = AfxToQt(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.remove(QLatin1Char('\r'));
    m_bSetting = true;
    setPlainText(shown);
    m_bSetting = false;
}

int AfxTextPane::LineCount() const {
    // Lines as laid out where the layout knows them (wrapped lines count),
    // else the text's own lines.
    return std::max(document()->lineCount(), document()->blockCount());
}

void AfxTextPane::ScrollLines(int lines) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

AfxComboBox::EditState AfxComboBox::SaveEdit() const {
    EditState state;
    if (QLineEdit* edit = lineEdit()) {
        state.text = edit->text();
        state.cursor = edit->cursorPosition();
        if (edit->hasSelectedText()) {
            state.selStart = edit->selectionStart();
            state.selLength = int(edit->selectedText().size());
        }
    }
    return state;
}

void AfxComboBox::RestoreEdit(const EditState& state) {
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    if (edit->text() != state.text)
        edit->setText(state.text);
    if (state.selStart < 0) {
        edit->setCursorPosition(state.cursor);
    } else if (state.cursor == state.selStart) {
        // Keep the caret at the end where the user left it.
        edit->setSelection(state.selStart + state.selLength, -state.selLength);
    } else {
        edit->setSelection(state.selStart, state.selLength);
    }
}

void AfxComboBox::SetCurrentKeepingText(int index) {
    if (currentIndex() == index)
        return;
    const EditState state = SaveEdit();
    setCurrentIndex(index);
    RestoreEdit(state);
}

void AfxComboBox::InsertKeepingSelection(int index, const QString& text) {
    const EditState state = SaveEdit();
    const bool none = currentIndex() < 0;
    insertItem(index, text, QVariant::fromValue<qulonglong>(0));
    if (none && currentIndex() >= 0)
        setCurrentIndex(-1);
    RestoreEdit(state);
}

void AfxComboBox::RemoveKeepingText(int index) {
    const EditState state = SaveEdit();
    const int selected = currentIndex();
    removeItem(index);
    if (selected == index)
        setCurrentIndex(-1);
    RestoreEdit(state);
}

void AfxComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    const bool ownList = event->reason() == Qt::PopupFocusReason || view()->isVisible();
    if (!ownList && onFocusLost)
        onFocusLost();
}

AfxTrackBar::AfxTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
    setPageStep(1);
}

std::set<int> AfxTrackBar::Ticks() const {
    std::set<int> ticks;
    for (int tick : m_ticks) {
        if (tick > minimum() && tick < maximum())
            ticks.insert(tick);
    }
    ticks.insert(minimum());
    ticks.insert(maximum());
    return ticks;
}

void AfxTrackBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (!m_bTicks)
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int span = groove.width() - handle.width();
    const int top = std::min(handle.bottom() + 2, height() - 4);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int tick : Ticks()) {
        const int x = groove.left() + handle.width() / 2 +
                      QStyle::sliderPositionFromValue(minimum(), maximum(), tick, span);
        painter.drawLine(x, top, x, top + 3);
    }
}
