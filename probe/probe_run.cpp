#include "probe/probe_dialog.h"

void CProbeDialog::RunProbe() {}
void CProbeDialog::AppendOutput(std::initializer_list<std::string_view>) {}
