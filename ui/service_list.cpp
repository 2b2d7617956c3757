#include "ui/service_list.h"

#include "framework/controls.h"
#include "ui/connect_dlg.h"
#include "ui/resource.h"

#include <cstring>

const ServiceEntry kServices[20] = {
    {"KRPC", 1352},   {"TIIOP", 63148},  {"TIIOP/SSL", 63149},  {"FTP", 21},
    {"FTP/SSL", 990}, {"HTTP", 80},      {"HTTPS", 443},        {"HTTP Proxy", 8080},
    {"IMAP", 143},    {"IMAP/SSL", 993}, {"LDAP", 389},         {"LDAP/SSL", 636},
    {"NNTP", 119},    {"NNTP/SSL", 563}, {"POP", 110},          {"POP/SSL", 995},
    {"SMTP", 25},     {"SMTP/SSL", 465}, {"SOCKS Proxy", 1080}, {"Other", 0},
};

CString FormatPort(uint32_t port) {
    return port == 0 ? CString("*") : std::to_string(port);
}

void CConnectDlg::FillServiceList() {
    for (int i = 0; i < 20; ++i) {
        m_pService->InsertString(i, kServices[i].text);
        m_pService->SetItemData(i, kServices[i].port);
    }
    m_pService->SetCurSel(0);
    m_pPort->SetWindowText(FormatPort(uint32_t(m_pService->GetItemData(m_pService->GetCurSel()))));
    m_pPort->SetReadOnly(TRUE);
}

void CConnectDlg::OnSelEndOkService() {
    m_pPort->SetReadOnly(TRUE);
    const int selected = m_pService->GetCurSel();
    if (selected == CB_ERR)
        return;
    const CString port = FormatPort(uint32_t(m_pService->GetItemData(selected)));
    // "Other" is known by its text, not by its port.
    if (m_pService->GetLBText(selected) == "Other") {
        m_pPort->SetWindowText("");
        m_pPort->SetReadOnly(FALSE);
    } else {
        m_pPort->SetWindowText(port);
    }
}
