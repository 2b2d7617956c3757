#include "tests/ui/ui_fixture.h"

#include "framework/message_box.h"
#include "framework/win_app.h"
#include "tests/framework/qt_test_support.h"
#include "transport/runtime.h"
#include "ui/resource.h"

#include <QApplication>
#include <QTest>

#include <climits>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace {

// The dialog loads its icon through the application object, as in the
// program.
CWinApp s_app("tovra");

std::mutex s_mutex;
std::vector<ShownMessage> s_messages;
MessageBoxHandler s_formerHandler = nullptr;

int RecordMessage(const CString& text, UINT type) {
    std::lock_guard lock(s_mutex);
    s_messages.push_back({text, type});
    return IDOK;
}

} // namespace

void DialogTest::SetUpTestSuite() {
    // Found beside the test program, as beside tovra.exe.
    ASSERT_EQ(RuntimeStartup(), 0);
}

void DialogTest::TearDownTestSuite() {
    RuntimeShutdown();
}

void DialogTest::SetUp() {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    m_strFormerDir = cwd;
    char pattern[] = "/tmp/kc-ui-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_strDir = pattern;
    ASSERT_EQ(chdir(m_strDir.c_str()), 0);
    // Only its name counts: the search finds it in the working directory.
    std::ofstream(m_strDir + "/tovra.exe").put('\n');
    ClearMessages();
    s_formerHandler = AfxSetMessageBoxHandler(RecordMessage);
}

void DialogTest::TearDown() {
    AfxSetMessageBoxHandler(s_formerHandler);
    EXPECT_EQ(chdir(m_strFormerDir.c_str()), 0);
    std::error_code error;
    std::filesystem::remove_all(m_strDir, error);
}

INT_PTR DialogTest::Run(CConnectDlg& dlg, const std::function<void()>& body) {
    const INT_PTR result = RunModal(dlg, body);
    dlg.EndRun();
    return result;
}

void DialogTest::WriteHistory(const CString& content) const {
    std::ofstream file(m_strDir + "/tovra.dat", std::ios::binary | std::ios::trunc);
    file << content;
    ASSERT_TRUE(file.good());
}

CString DialogTest::ReadHistory() const {
    std::ifstream file(m_strDir + "/tovra.dat", std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<ShownMessage> DialogTest::Messages() {
    std::lock_guard lock(s_mutex);
    return s_messages;
}

void DialogTest::ClearMessages() {
    std::lock_guard lock(s_mutex);
    s_messages.clear();
}

QWidget* Focus() {
    return QApplication::focusWidget();
}

QWidget* Widget(const CConnectDlg& dlg, int id) {
    return WidgetOf(dlg.GetDlgItem(id));
}

CComboBox* Combo(const CConnectDlg& dlg, int id) {
    return static_cast<CComboBox*>(dlg.GetDlgItem(id));
}

CEdit* Edit(const CConnectDlg& dlg, int id) {
    return static_cast<CEdit*>(dlg.GetDlgItem(id));
}

std::vector<CString> Entries(CComboBox* box) {
    std::vector<CString> entries;
    for (int i = 0; i < box->GetCount(); ++i)
        entries.push_back(box->GetLBText(i));
    return entries;
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(Focus(), key, modifiers);
}

void Type(const char* text) {
    QTest::keyClicks(Focus(), text);
}

void Click(const CConnectDlg& dlg, int id) {
    QTest::mouseClick(Widget(dlg, id), Qt::LeftButton);
}

void TypeTarget(const CConnectDlg& dlg, const char* text) {
    dlg.GetDlgItem(IDC_TARGET)->SetFocus();
    Key(Qt::Key_A, Qt::ControlModifier);
    Type(text);
}

bool WaitForRunEnd(const CConnectDlg& dlg) {
    CWnd* output = dlg.GetDlgItem(IDC_OUTPUT);
    CWnd* connect = dlg.GetDlgItem(IDC_CONNECT);
    // Connect stays disabled from the worker's start until its end, and the
    // run writes its first line in between.
    return WaitFor(
        [&] {
            return !output->GetWindowText().empty() && connect->IsWindowEnabled() && !dlg.m_bBusy;
        },
        10000);
}

bool WaitForDialogEnd(const CConnectDlg& dlg) {
    return WaitFor([&] {
        QWidget* window = WidgetOf(&dlg);
        return !window || !window->isVisible();
    });
}

bool ConnectAndWait(const CConnectDlg& dlg) {
    dlg.GetDlgItem(IDC_OUTPUT)->SetWindowText("");
    Key(Qt::Key_C, Qt::AltModifier);
    return WaitForRunEnd(dlg);
}
