#include "framework/message_box.h"
#include "probe/parse_port.h"
#include "probe/probe_dialog.h"
#include "probe/probe_thread.h"
#include "transport/transport.h"

namespace {

const char kTargetRequired[] = "Target Required: Enter Target Host Name or IP Address";
const char kPortMissing[] =
    "Invalid Port: Select a Service Type or Enter a Port Number between 1 - 65535";
const char kPortInvalid[] =
    "Invalid Port: Select a Service or Enter a Port number between 1 - 65535";
const char kCloseQueued[] = "A TCP/IP operation is outstanding. The termination request has been "
                            "queued. Please wait for completion.";

// How long EndRun waits for a worker that was told to stop. Every blocking
// runtime operation ends within one 20 ms slice of the abort, so this only
// guards against a worker that is stuck for some other reason.
constexpr int kEndRunLimitMs = 2000;
constexpr int kEndRunSliceMs = 20;

} // namespace

CProbeDialog::~CProbeDialog() {
    delete m_pWorker;
}

bool CProbeDialog::WorkerRunning() {
    return m_pWorker && !m_pWorker->Wait(0);
}

void CProbeDialog::OnConnect() {
    // m_bBusy is set by the worker itself, so between the start of a worker
    // and its first action only the thread tells that a run is under way.
    if (m_bBusy || WorkerRunning())
        return;
    m_bStop = 0;
    m_nCount = uint16_t(GetCountPosition() + 1);

    CTargetList& box = TargetBox();
    m_strTarget = box.GetText();
    if (m_strTarget.empty()) {
        AfxMessageBox(kTargetRequired, MB_OK | MB_ICONSTOP);
        return;
    }
    if (box.FindStringExact(m_strTarget) < 0)
        box.SetItemData(box.InsertString(0, m_strTarget), 0);

    const CString port = GetPortText();
    if (port.empty()) {
        AfxMessageBox(kPortMissing, MB_OK | MB_ICONSTOP);
        return;
    }
    if (ParsePort(port.c_str(), m_nPort) != 0 || m_nPort == 0 || m_nPort > 65535) {
        AfxMessageBox(kPortInvalid, MB_OK | MB_ICONSTOP);
        return;
    }

    ShowWaitCursor(true);
    delete m_pWorker; // the last one has ended (WorkerRunning said so)
    m_pWorker = AfxBeginThread(&ProbeThreadProc, this, THREAD_PRIORITY_NORMAL, PROBE_THREAD_STACK);
    m_strTyped.clear();
    box.SetFocus();
    ShowWaitCursor(false);
}

void CProbeDialog::OnStop() {
    EnableStop(false);
    if (m_bBusy) {
        m_bStop = 1;
        g_bAbort = 1;
    }
}

void CProbeDialog::OnQuit() {
    EnableQuit(false);
    EnableStop(false);
    m_bQuit = 1;
    if (m_bBusy) {
        m_bStop = 1;
        g_bAbort = 1;
    } else {
        PostSaveAndClose();
    }
}

void CProbeDialog::OnCloseCommand() {
    if (!m_bBusy) {
        PostSaveAndClose();
        return;
    }
    m_bStop = 1;
    m_bQuit = 1;
    g_bAbort = 1;
    // The run may have ended between the test above and m_bQuit: then the
    // worker's last look missed the request, and the posting is ours.
    if (!m_bBusy)
        PostSaveAndClose();
    AfxMessageBox(kCloseQueued, MB_OK | MB_ICONINFORMATION);
}

LRESULT CProbeDialog::OnSaveAndClose(WPARAM, LPARAM) {
    // The worker and a late Quit may both have posted; close once.
    if (m_bClosing)
        return 1;
    m_bClosing = true;
    SaveHistory();
    CloseDialog(0);
    return 1;
}

void CProbeDialog::EndRun() {
    if (!m_pWorker)
        return;
    // The worker clears g_bAbort as it starts, so a worker that had not yet
    // begun could undo a single request; repeat it until the worker has gone.
    for (int waited = 0; waited < kEndRunLimitMs; waited += kEndRunSliceMs) {
        m_bStop = 1;
        g_bAbort = 1;
        if (m_pWorker->Wait(kEndRunSliceMs))
            return;
    }
    m_pWorker->Detach();
}
