#include "app/IconHintX_win.h"

#include "app/IconHintLayout.h"
#include "toolkit/Application_win.h"
#include "toolkit/Canvas_win.h"

RECT TIconHintX::CalcHintRect(int maxWidth, const std::string& hint, void* data) {
    RECT base = THintWindow::CalcHintRect(maxWidth, hint, data);
    THintBox box = IconHintBox({base.left, base.top, base.right, base.bottom}, GetSystemMetrics(SM_CXICON),
                               GetSystemMetrics(SM_CYICON), hint.size());
    return {box.left, box.top, box.right, box.bottom};
}

void TIconHintX::Paint(TCanvas& canvas) {
    THintWindow::Paint(canvas);
    DrawIconEx(canvas.Handle(), kHintIconLeft, kHintIconTop, Application->Icon(), GetSystemMetrics(SM_CXICON),
               GetSystemMetrics(SM_CYICON), 0, nullptr, DI_NORMAL);
    // The icon may cover the frame's last rows: have the frame drawn again over it.
    SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}
