#pragma once

class QMdiArea;
class QSize;
class QWidget;

namespace fai {

// The application object as the screens see it: the main form that owns them and the
// document area their child windows open in. Without a document area (a screen run on its
// own, as in the tests) child windows open as top-level windows.
class HostApplication {
  public:
    static HostApplication& Instance();

    void SetMainForm(QWidget* mainForm, QMdiArea* documentArea);
    QWidget* MainForm() const { return mainForm_; }
    QMdiArea* DocumentArea() const { return documentArea_; }

    // Shows a screen as a child window of the document area (or top-level) in its normal
    // window state, and brings it to the front.
    void ShowChild(QWidget* screen);
    // Gives a screen shown in the document area the size asked for, as far as the area has
    // room for it.
    void ResizeChild(QWidget* screen, const QSize& size);

  private:
    HostApplication() = default;
    QWidget* mainForm_ = nullptr;
    QMdiArea* documentArea_ = nullptr;
};

}  // namespace fai
