// Creating a template's controls in a dialog's window, with their handles.
#pragma once

#include "framework/dialog_template.h"
#include "framework/qt/main_thread.h"
#include "framework/wnd.h"

#include <memory>
#include <vector>

class AfxDialogWindow;
class CDialog;

std::vector<std::unique_ptr<CWnd>> AfxBuildControls(CDialog& dialog, AfxDialogWindow& window,
                                                    const DlgTemplate& dialogTemplate,
                                                    const std::shared_ptr<AfxCallScope>& scope);
