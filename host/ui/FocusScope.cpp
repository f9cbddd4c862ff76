#include "FocusScope.h"

#include "EventGuard.h"
#include "FocusOnFailure.h"

#include <QApplication>
#include <QHash>
#include <QMdiSubWindow>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace fai {
namespace {

// The screen a widget belongs to: its window, or the child window of the document area it
// lies in, since the screens of the host's document area all share the main window.
QWidget* ScreenOf(QWidget* widget) {
    for (QWidget* parent = widget; parent; parent = parent->parentWidget()) {
        if (parent->isWindow() || qobject_cast<QMdiSubWindow*>(parent)) return parent;
    }
    return widget;
}

int Depth(const QWidget* widget) {
    int depth = 0;
    for (; widget; widget = widget->parentWidget()) ++depth;
    return depth;
}

// Follows the focus of every window of the application and tells the scopes it leaves and
// enters. One tracker for all scopes, so that exits and enters run in a defined order.
class FocusTracker : public QObject {
  public:
    static FocusTracker& Instance() {
        static FocusTracker* tracker = new FocusTracker;
        return *tracker;
    }

    void Add(FocusScope* scope) { scopes_.push_back(scope); }
    void Remove(FocusScope* scope) { std::erase(scopes_, scope); }

  private:
    FocusTracker() : QObject(qApp) {
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { FocusMoved(now); });
    }

    void FocusMoved(QWidget* now) {
        // A window losing activation takes the focus away without a move inside it.
        if (dispatching_ || !now) return;
        QWidget* window = ScreenOf(now);
        // The frame of a child window of the document area takes the focus for a moment on
        // a click anywhere in it, and hands it back to a control of its own: no control of
        // the screen was left.
        if (now == window && qobject_cast<QMdiSubWindow*>(now)) return;
        lastFocus_.removeIf([](const auto& entry) { return entry.value().isNull(); });
        handovers_.removeIf([](const auto& entry) { return entry.value().window.isNull(); });
        QPointer<QWidget> previous = lastFocus_.value(window);
        lastFocus_.insert(window, now);
        if (previous == now) return;
        // A control that disappears (a page switched away, an in-place editor closing, its
        // screen closing) hands the focus on without the user leaving anything: no exit runs,
        // which could not keep the focus anyway. Qt may pass the focus through another
        // control (the next in the tab chain, elsewhere on the screen) on its way to the new
        // page: the areas entered are those of the control the focus goes to next, or of the
        // one it stays on once events are processed again.
        if (handovers_.contains(window)) {
            const QPointer<QWidget> origin = handovers_.take(window).origin;
            if (origin) Dispatch(window, [&] { EnterScopes(origin, now); });
            return;
        }
        if (previous && !previous->isVisible()) {
            handovers_.insert(window, {window, previous});
            QTimer::singleShot(0, this, [this, screen = QPointer<QWidget>(window)] {
                if (screen) Settle(screen);
            });
            return;
        }
        const QPointer<QWidget> screen = window;
        Dispatch(window, [&] {
            const bool moved = LeaveScopes(previous, now);
            if (moved) EnterScopes(previous, now);
            // A refusal the handler did not place itself goes back where it was. The screen's
            // own focus is asked, not the application's: a message box may hold the
            // activation now, and the screen then gets the focus back once it is closed.
            if (!moved && previous && screen && screen->focusWidget() == now)
                FocusToCorrect(previous);
        });
    }

    // The handover of the window, when no other move ended it.
    void Settle(QWidget* window) {
        if (!handovers_.contains(window)) return;
        const QPointer<QWidget> origin = handovers_.take(window).origin;
        QWidget* settled = lastFocus_.value(window);
        // The focus went on to another window meanwhile, or where it was is gone: nothing
        // here is known to be entered.
        if (!origin || !settled || QApplication::focusWidget() != settled) return;
        Dispatch(window, [&] { EnterScopes(origin, settled); });
    }

    // Handlers moving the focus themselves are not moves of the user's. What the screen ends
    // up with is where its focus is known to be: its own focus widget, which it takes back
    // when a message box shown by a handler gives the activation back (under a window
    // manager, only after the handler has returned). Taking that return for a move would
    // run the exit of the control the handler sent the focus away from.
    template <typename Handlers>
    void Dispatch(QWidget* window, Handlers&& handlers) {
        const QPointer<QWidget> screen = window;
        dispatching_ = true;
        handlers();
        if (screen) {
            if (QWidget* kept = screen->focusWidget()) lastFocus_.insert(screen, kept);
        }
        if (QWidget* focus = QApplication::focusWidget()) lastFocus_.insert(ScreenOf(focus), focus);
        dispatching_ = false;
    }

    std::vector<FocusScope*> ScopesMoved(const QWidget* from, const QWidget* to) const {
        std::vector<FocusScope*> moved;
        for (FocusScope* scope : scopes_) {
            if (scope->Contains(from) && !scope->Contains(to)) moved.push_back(scope);
        }
        return moved;
    }

    // False when an exit handler refused the move.
    bool LeaveScopes(const QWidget* from, const QWidget* to) {
        std::vector<FocusScope*> left = ScopesMoved(from, to);
        std::stable_sort(left.begin(), left.end(), [](FocusScope* a, FocusScope* b) {
            return Depth(a->Area()) > Depth(b->Area());
        });
        for (QPointer<FocusScope> scope : left) {
            if (scope && scope->OnExit && !GuardEvent(scope->OnExit)) return false;
        }
        return true;
    }

    void EnterScopes(const QWidget* from, const QWidget* to) {
        std::vector<FocusScope*> entered = ScopesMoved(to, from);
        std::stable_sort(entered.begin(), entered.end(), [](FocusScope* a, FocusScope* b) {
            return Depth(a->Area()) < Depth(b->Area());
        });
        for (QPointer<FocusScope> scope : entered) {
            if (scope && scope->OnEnter) GuardEvent(scope->OnEnter);
        }
    }

    std::vector<FocusScope*> scopes_;
    QHash<QWidget*, QPointer<QWidget>> lastFocus_;
    // Per window, where the focus was before its control disappeared, until it goes on.
    struct Handover {
        QPointer<QWidget> window;
        QPointer<QWidget> origin;
    };
    QHash<QWidget*, Handover> handovers_;
    bool dispatching_ = false;
};

}  // namespace

FocusScope::FocusScope(QWidget* area) : QObject(area), area_(area) {
    FocusTracker::Instance().Add(this);
}

FocusScope::~FocusScope() { FocusTracker::Instance().Remove(this); }

bool FocusScope::Contains(const QWidget* widget) const {
    return widget && area_ && (widget == area_ || area_->isAncestorOf(widget));
}

}  // namespace fai
