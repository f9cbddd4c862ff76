#include "HostApplication.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace fai {

HostApplication& HostApplication::Instance() {
    static HostApplication instance;
    return instance;
}

void HostApplication::SetMainForm(QWidget* mainForm, QMdiArea* documentArea) {
    mainForm_ = mainForm;
    documentArea_ = documentArea;
}

void HostApplication::ShowChild(QWidget* screen) {
    if (!documentArea_) {
        screen->showNormal();
        screen->raise();
        screen->activateWindow();
        return;
    }
    auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    if (!frame) {
        const QSize designSize = screen->size();
        frame = documentArea_->addSubWindow(screen);
        // The frame opens at the screen's design size, its decorations around it.
        frame->resize(designSize + frame->size() - frame->contentsRect().size());
        // The screen decides its own lifetime; the frame goes with it.
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(screen, &QObject::destroyed, frame, &QObject::deleteLater);
    }
    // A minimized or maximized screen comes back in its normal state.
    frame->showNormal();
    screen->show();
    documentArea_->setActiveSubWindow(frame);
}

}  // namespace fai
