#include "probe/probe_dialog.h"

#include "framework/message_box.h"
#include "framework/tick_count.h"
#include "transport/transport.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int ERROR_BUFFER_SIZE = 80;
constexpr const char* LOOKUP_FAILED = "Error: DNS LookUp Failed! Verify that the target is in DNS.";

__attribute__((format(printf, 1, 2))) CString Format(const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

// One run: its local state and its steps. The dialog's controls are reached
// only through the operations of CProbeDialog.
class CProbeRun {
public:
    explicit CProbeRun(CProbeDialog& dialog) : m_dlg(dialog) {}
    void Run();

private:
    bool Stopped() const { return m_dlg.m_bStop.load() != 0; }
    void Scroll() { m_dlg.ScrollOutput(m_dlg.GetOutputLineCount()); }
    bool IsHostName() const { return !IsDottedText(m_dlg.m_strTarget.c_str()); }

    bool Attempt(); // false: a stop point saw m_bStop
    bool Lookup();  // false: the lookup failed
    void Connect();
    void WriteAttemptLine(uint32_t duration);
    void ForgetFailedTarget();
    void Summary();
    void Cancel();

    CProbeDialog& m_dlg;
    uint16_t m_nIndex = 0;
    uint16_t m_nSuccesses = 0;
    bool m_bResolved = false;
    bool m_bConnectingShown = false;
    bool m_bOpen = false;
    bool m_bConnected = false;
    bool m_bConnectTimed = false;
    int32_t m_nStatus = 0;
    uint32_t m_nStartMark = 0;
    uint32_t m_nLookupTime = 0;
    uint32_t m_nAttemptTime = 0;
    char m_szError[ERROR_BUFFER_SIZE] = {};
    CString m_strAddress;
};

void CProbeRun::Run() {
    if (Stopped()) { // S1
        Cancel();
        return;
    }
    while (m_nIndex < m_dlg.m_nCount) {
        if (!Attempt()) {
            Cancel();
            return;
        }
    }
    Summary();
}

bool CProbeRun::Attempt() {
    if (Stopped()) // S2
        return false;
    // A line shows only what its own attempt found.
    m_szError[0] = '\0';
    m_bConnectTimed = false;

    m_nStatus = TransportOpen();
    if (m_nStatus == 0) {
        m_bOpen = true;
        if (m_bResolved || Lookup()) {
            if (Stopped()) // S3
                return false;
            Connect();
        }
    }

    // An attempt that never reached its connect has nothing to time.
    const uint32_t duration = m_bConnectTimed ? GetTickCount() - m_nStartMark : 0;
    if (Stopped()) // S4: the cancelled attempt is neither released nor closed
        return false;
    WriteAttemptLine(duration);

    if (m_bConnected)
        TransportRelease();
    if (m_bOpen)
        TransportClose();
    m_bConnected = false;
    m_bOpen = false;
    ++m_nIndex;
    return true;
}

bool CProbeRun::Lookup() {
    const bool hostName = IsHostName();
    if (hostName)
        m_dlg.AppendOutput({"***** Performing DNS Lookup:\t\t", m_dlg.m_strTarget});

    m_nStartMark = GetTickCount();
    m_nStatus = TransportResolve(m_dlg.m_strTarget.c_str(), uint16_t(m_dlg.m_nPort));
    const uint32_t duration = GetTickCount() - m_nStartMark;
    m_nLookupTime += duration;

    if (hostName)
        m_dlg.AppendOutput({Format("\t\t[RTT: %dms]\r\n", int32_t(duration))});

    if (m_nStatus != 0) {
        ForgetFailedTarget();
        std::snprintf(m_szError, sizeof(m_szError), "%s", LOOKUP_FAILED);
        return false;
    }
    CTargetList& box = m_dlg.TargetBox();
    box.SetItemData(box.GetCurSel(), HOST_KEEP_MARK); // -1: every entry
    m_bResolved = true;
    uint32_t address = 0;
    FormatAddress(*GetTargetAddress(&address), m_strAddress);
    return true;
}

// The box's text may have been edited since Connect: it is what leaves the
// list, unless the history keeps it.
void CProbeRun::ForgetFailedTarget() {
    CTargetList& box = m_dlg.TargetBox();
    const CString text = box.GetText();
    const int index = box.FindStringExact(text);
    if (index < 0)
        return;
    if (box.GetItemData(index) != HOST_KEEP_MARK)
        box.DeleteString(index);
    box.SetCurSel(0);
    box.SetText(text);
}

void CProbeRun::Connect() {
    if (!m_bConnectingShown) {
        m_dlg.AppendOutput({" Connecting...\r\n"});
        Scroll();
        m_bConnectingShown = true;
    }
    m_nStartMark = GetTickCount();
    m_bConnectTimed = true;
    m_nStatus = TransportConnect();
    if (m_nStatus != 0) {
        TransportErrorText(m_nStatus, m_szError, ERROR_BUFFER_SIZE);
        return;
    }
    ++m_nSuccesses;
    m_bConnected = true;
    m_szError[0] = '\0';
    m_dlg.m_strLastGood = m_dlg.m_strTarget;
}

void CProbeRun::WriteAttemptLine(uint32_t duration) {
    const int number = m_nIndex + 1;
    const CString port = Format(" : %d\t   ", int32_t(m_dlg.m_nPort));
    if (m_nStatus == 0) {
        m_dlg.AppendOutput({Format("   [%d]     Connect reply from:\t", number), m_strAddress, port,
                            Format("[RTT: %dms]\r\n", int32_t(duration))});
    } else if (m_bResolved) {
        m_dlg.AppendOutput({Format("   [%d]     Connect Failed!!!\t", number), m_strAddress, port,
                            Format("[RTT: %dms]\r\n", int32_t(duration))});
        if (m_szError[0] != '\0')
            m_dlg.AppendOutput({"\tError: ", m_szError, "\r\n"});
    } else {
        duration = 0;
        m_dlg.AppendOutput({"\t", m_szError, "\r\n"});
    }
    Scroll();
    m_nAttemptTime += duration;
}

void CProbeRun::Summary() {
    m_dlg.AppendOutput(
        {Format("\r\n***** Status: %d of %d Connections Completed, ", int(m_nSuccesses),
                int(m_dlg.m_nCount)),
         Format("Total Time to Connect: %dms", int32_t(m_nLookupTime + m_nAttemptTime))});
    Scroll();
    TransportTerm();
}

void CProbeRun::Cancel() {
    m_dlg.AppendOutput({"\r\n*** Connect Request(s) Canceled!!!\r\n"});
    Scroll();
    TransportTerm();
}

} // namespace

void CProbeDialog::RunProbe() {
    SetOutputText(CString());
    if (TransportInit() != 0) {
        AfxMessageBox("Transport Initialization Failed. Verify that you have WinSock and a TCP/IP "
                      "stack installed",
                      MB_OK | MB_ICONSTOP);
        return;
    }
    CProbeRun(*this).Run();
}

void CProbeDialog::AppendOutput(std::initializer_list<std::string_view> pieces) {
    SetOutputDefaultTabStops();
    SetOutputSoftBreaks(true);
    CString text = GetOutputText();
    for (std::string_view piece : pieces)
        text.append(piece);
    SetOutputText(text);
}
