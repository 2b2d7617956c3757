#include "ui/about_dlg.h"

#include "ui/resource.h"
#include "ui/resources.h"

namespace {

UINT AboutTemplate() {
    RegisterUiResources();
    return IDD_ABOUTBOX;
}

} // namespace

CAboutDlg::CAboutDlg() : CDialog(AboutTemplate()) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
