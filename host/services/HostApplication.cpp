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
        screen->show();
        screen->raise();
        screen->activateWindow();
        return;
    }
    auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    if (!frame) {
        frame = documentArea_->addSubWindow(screen);
        // The screen decides its own lifetime; the frame goes with it.
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(screen, &QObject::destroyed, frame, &QObject::deleteLater);
    }
    frame->show();
    screen->show();
    documentArea_->setActiveSubWindow(frame);
}

}  // namespace fai
