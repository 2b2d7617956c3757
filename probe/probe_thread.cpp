#include "probe/probe_thread.h"

#include "probe/probe_dialog.h"
#include "transport/runtime.h"
#include "transport/transport.h"

UINT ProbeThreadProc(void* param) {
    auto* dlg = static_cast<CProbeDialog*>(param);
    dlg->m_bBusy = 1;
    g_bAbort = 0;
    dlg->EnableConnect(false);
    dlg->EnableStop(true);

    UINT exitCode = 1;
    if (RuntimeThreadAttach() == 0) {
        dlg->RunProbe();
        RuntimeThreadDetach();
        exitCode = 0;
    }

    dlg->EnableConnect(true);
    dlg->EnableStop(false);
    const BOOL quit = dlg->m_bQuit;
    dlg->m_bStop = 0;
    dlg->m_bBusy = 0;
    // A Quit or Close that came after m_bQuit was taken but before m_bBusy
    // was cleared saw a run in progress and left the posting to us: look
    // again. A second post is harmless, the close path runs once.
    if (quit || dlg->m_bQuit)
        dlg->PostSaveAndClose();
    return exitCode;
}
