#include "framework/controls.h"

#include "framework/qt/widgets.h"
#include "framework/qt/window_link.h"

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL) {
    AfxWithWidget<AfxTrackBar>(*this, false, [nMin, nMax](AfxTrackBar* bar) {
        bar->setRange(nMin, nMax);
        return true;
    });
}

int CSliderCtrl::GetRangeMin() const {
    return AfxWithWidget<AfxTrackBar>(*this, 0, [](AfxTrackBar* bar) { return bar->minimum(); });
}

int CSliderCtrl::GetRangeMax() const {
    return AfxWithWidget<AfxTrackBar>(*this, 0, [](AfxTrackBar* bar) { return bar->maximum(); });
}

BOOL CSliderCtrl::SetTic(int nTic) {
    return AfxWithWidget<AfxTrackBar>(*this, FALSE, [nTic](AfxTrackBar* bar) {
        if (nTic < 0)
            return FALSE;
        bar->AddTick(nTic);
        return TRUE;
    });
}

int CSliderCtrl::GetNumTics() const {
    return AfxWithWidget<AfxTrackBar>(*this, 0,
                                      [](AfxTrackBar* bar) { return int(bar->Ticks().size()); });
}

int CSliderCtrl::GetPos() const {
    return AfxWithWidget<AfxTrackBar>(*this, 0, [](AfxTrackBar* bar) { return bar->value(); });
}

void CSliderCtrl::SetPos(int nPos) {
    AfxWithWidget<AfxTrackBar>(*this, false, [nPos](AfxTrackBar* bar) {
        bar->setValue(nPos);
        return true;
    });
}
