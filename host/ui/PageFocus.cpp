#include "PageFocus.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

namespace fai {
namespace {

// The control of the page the keyboard would reach first: the page itself when it is one.
QWidget* FirstControlOf(QWidget* page) {
    if (page->focusPolicy() & Qt::TabFocus) return page;
    for (QWidget* widget = page->nextInFocusChain(); widget && widget != page;
         widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            widget->isEnabled() && widget->isVisibleTo(page))
            return widget;
    }
    return nullptr;
}

// Takes the left click on another tab before the tab bar switches pages by itself.
class PageFocusCarrier : public QObject {
  public:
    explicit PageFocusCarrier(QTabWidget* pages) : QObject(pages), pages_(pages) {
        pages->tabBar()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress) return false;
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() != Qt::LeftButton) return false;
        QTabBar* bar = pages_->tabBar();
        const int index = bar->tabAt(click->position().toPoint());
        QWidget* shown = pages_->currentWidget();
        if (index < 0 || index == pages_->currentIndex() || !pages_->isTabEnabled(index) ||
            !shown || !shown->isAncestorOf(QApplication::focusWidget()))
            return false;
        // Leaving the page first runs its exits while it is still shown; one that refuses
        // keeps the focus, and the page, where they are.
        bar->setFocus(Qt::MouseFocusReason);
        if (bar->hasFocus()) {
            pages_->setCurrentIndex(index);
            if (QWidget* control = FirstControlOf(pages_->widget(index)))
                control->setFocus(Qt::MouseFocusReason);
        }
        return true;
    }

  private:
    QTabWidget* pages_;
};

}  // namespace

void CarryFocusIntoClickedPages(QTabWidget* pages) { new PageFocusCarrier(pages); }

}  // namespace fai
