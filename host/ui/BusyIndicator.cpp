#include "BusyIndicator.h"

#include "HostApplication.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <stdexcept>
#include <vector>

namespace fai {
namespace {

QString DefaultText(int kind) {
    switch (kind) {
        case bkConnecting:
            return QStringLiteral("Conectando ao servidor...");
        case bkSaving:
            return QStringLiteral("Gravando dados...");
        default:
            return QStringLiteral("Buscando dados...");
    }
}

// Covers the whole form, swallows the mouse and shows a turning arc with the text. The
// arc turns while the event loop runs; during a blocking call it stays as last painted.
class BusyOverlay : public QWidget {
  public:
    explicit BusyOverlay(QWidget* form) : QWidget(form) {
        setObjectName(QStringLiteral("aviOcupado"));
        setAttribute(Qt::WA_NoSystemBackground);
        setCursor(Qt::WaitCursor);
        form->installEventFilter(this);
        connect(&frames_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        clock_.start();
    }

    void Show(int kind, const QString& text) {
        kind_ = kind;
        text_ = text.isEmpty() ? DefaultText(kind) : text;
        setAccessibleName(text_);
        setGeometry(parentWidget()->rect());
        show();
        raise();
        frames_.start(80);
        repaint();
    }

    void Hide() {
        frames_.stop();
        hide();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(255, 255, 255, 150));
        const QRect box = QRect(0, 0, 260, 90).translated(rect().center() - QPoint(130, 45));
        painter.setPen(QPen(QColor(90, 90, 90), 1));
        painter.setBrush(QColor(250, 250, 250));
        painter.drawRoundedRect(box, 8, 8);
        const QRect arc(box.left() + 16, box.center().y() - 16, 32, 32);
        painter.setPen(QPen(ArcColour(), 4, Qt::SolidLine, Qt::RoundCap));
        const int start = -int(clock_.elapsed() / 4 % 360) * 16;
        painter.drawArc(arc, start, 270 * 16);
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(64, 0, -10, 0), Qt::AlignVCenter | Qt::TextWordWrap, text_);
    }

  private:
    QColor ArcColour() const {
        switch (kind_) {
            case bkConnecting:
                return QColor(0, 120, 60);
            case bkSaving:
                return QColor(180, 90, 0);
            default:
                return QColor(0, 80, 170);
        }
    }

    int kind_ = bkFetching;
    QString text_;
    QTimer frames_;
    QElapsedTimer clock_;
};

struct BusyCall {
    QPointer<QWidget> form;
    int kind;
    QString text;
};

std::vector<BusyCall>& Calls() {
    static std::vector<BusyCall> calls;
    return calls;
}

BusyOverlay* OverlayOf(QWidget* form) {
    if (!form) return nullptr;
    return form->findChild<BusyOverlay*>(QStringLiteral("aviOcupado"), Qt::FindDirectChildrenOnly);
}

void HideOverlay(QWidget* form) {
    if (BusyOverlay* overlay = OverlayOf(form)) overlay->Hide();
}

void ShowInnermost() {
    const BusyCall& call = Calls().back();
    if (!call.form) return;
    BusyOverlay* overlay = OverlayOf(call.form);
    if (!overlay) overlay = new BusyOverlay(call.form);
    overlay->Show(call.kind, call.text);
}

}  // namespace

void ActiveShowAvi(QWidget* form, int kind, const QString& text) {
    if (kind != bkConnecting && kind != bkSaving && kind != bkFetching)
        throw std::invalid_argument("ActiveShowAvi: kind must be 0, 1 or 6");
    if (!form) form = HostApplication::Instance().MainForm();
    if (!Calls().empty() && Calls().back().form != form) HideOverlay(Calls().back().form);
    Calls().push_back({form, kind, text});
    ShowInnermost();
}

void DeactiveShowAvi() {
    if (Calls().empty()) return;
    QPointer<QWidget> form = Calls().back().form;
    Calls().pop_back();
    if (Calls().empty() || Calls().back().form != form) HideOverlay(form);
    if (!Calls().empty()) ShowInnermost();
}

int ShowAviDepth() { return static_cast<int>(Calls().size()); }

}  // namespace fai
