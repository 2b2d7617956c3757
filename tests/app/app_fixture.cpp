#include "tests/app/app_fixture.h"

#include "framework/controls.h"
#include "framework/win_app.h"
#include "tests/framework/qt_test_support.h"
#include "ui/resource.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// How long the body may leave the dialog running before the test fails.
constexpr int kEndGraceMs = 5000;
// How long a whole run of the application may take before the program ends
// itself.
constexpr int kWatchdogMs = 20000;

QWidget* ItemWidget(CConnectDlg& dlg, int id) {
    return WidgetOf(dlg.GetDlgItem(id));
}

} // namespace

void AppTest::SetUp() {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    m_oldDir = cwd;
    char dir[] = "/tmp/kc-app-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    m_dir = dir;
    ASSERT_EQ(chdir(dir), 0);
    // The history file lies beside the tovra.exe that the search finds.
    WriteFile(m_dir + "/tovra.exe", "");
    AfxSetMessageBoxHook([this](const MessageBoxRecord& box) { m_boxes.push_back(box); });
}

void AppTest::TearDown() {
    AfxSetMessageBoxHook(nullptr);
    if (!m_oldDir.empty()) {
        EXPECT_EQ(chdir(m_oldDir.c_str()), 0);
    }
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir);
}

AppTest::Outcome AppTest::RunApp(const std::function<void(CConnectDlg&)>& body) {
    Outcome outcome;
    TestWatchdog watchdog(kWatchdogMs, "InitInstance");
    QTimer poll;
    QTimer grace;
    grace.setSingleShot(true);
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = dynamic_cast<CConnectDlg*>(AfxGetMainWnd());
        QWidget* window = dlg ? WidgetOf(dlg) : nullptr;
        if (!window || !window->isVisible())
            return;
        poll.stop();
        outcome.dialogShown = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        // Both timers die with this call, so the dialog they name is alive
        // whenever they fire.
        QObject::connect(&grace, &QTimer::timeout, [dlg] {
            ADD_FAILURE() << "the test left the dialog running";
            dlg->EndDialog(IDCANCEL);
        });
        grace.start(kEndGraceMs);
        body(*dlg);
    });
    poll.start();
    outcome.result = AfxGetApp()->InitInstance();
    return outcome;
}

void TypeTarget(CConnectDlg& dlg, const char* text) {
    auto* box = qobject_cast<QComboBox*>(ItemWidget(dlg, IDC_TARGET));
    ASSERT_NE(box, nullptr);
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), text);
}

void ChooseOtherService(CConnectDlg& dlg) {
    QWidget* list = ItemWidget(dlg, IDC_SERVICE);
    ASSERT_NE(list, nullptr);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End); // Other is the last service
    ASSERT_EQ(dlg.GetDlgItem(IDC_SERVICE)->GetWindowText(), "Other");
}

void TypePort(CConnectDlg& dlg, uint32_t port) {
    QWidget* field = ItemWidget(dlg, IDC_PORT);
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClicks(field, QString::number(port));
}

void SetCount(CConnectDlg& dlg, int count) {
    static_cast<CSliderCtrl*>(dlg.GetDlgItem(IDC_COUNT))->SetPos(count - 1);
}

void Click(CConnectDlg& dlg, int id) {
    QTest::mouseClick(ItemWidget(dlg, id), Qt::LeftButton);
}

void PressEscape() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
}

void CloseWindow(CConnectDlg& dlg) {
    WidgetOf(&dlg)->close();
}

CString OutputText(CConnectDlg& dlg) {
    return dlg.GetDlgItem(IDC_OUTPUT)->GetWindowText();
}

bool IsEnabled(CConnectDlg& dlg, int id) {
    return dlg.GetDlgItem(id)->IsWindowEnabled();
}

bool AnyWindowShown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            return true;
    }
    return false;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

ino_t InodeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}
