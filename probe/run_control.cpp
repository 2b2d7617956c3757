#include "probe/probe_dialog.h"

CProbeDialog::~CProbeDialog() { delete m_pWorker; }
void CProbeDialog::OnConnect() {}
void CProbeDialog::OnStop() {}
void CProbeDialog::OnQuit() {}
void CProbeDialog::OnCloseCommand() {}
LRESULT CProbeDialog::OnSaveAndClose(WPARAM, LPARAM) { return 1; }
