#include "HostApplication.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <algorithm>

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

void HostApplication::ResizeChild(QWidget* screen, const QSize& size) {
    auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    if (!frame) return;
    const QSize room = documentArea_->viewport()->size();
    frame->resize((size + frame->size() - frame->contentsRect().size()).boundedTo(room));
    // Grown to the right or down, the window would reach past the area it belongs to.
    frame->move(std::max(0, std::min(frame->x(), room.width() - frame->width())),
                std::max(0, std::min(frame->y(), room.height() - frame->height())));
}

}  // namespace fai
