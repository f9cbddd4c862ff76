#pragma once

#include <QMainWindow>

#include <functional>

class QLabel;
class QMdiArea;

namespace fai {

// The host's main window: the screens open as child windows of its document area; the
// status bar shows where the user is working.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(std::function<void()> openHeadcounts, QWidget* parent = nullptr);

    QMdiArea* DocumentArea() const { return documents_; }
    void ShowWorkingContext();
    // Maximized the first time, then where and as the user left it.
    void ShowAsLeft();

  protected:
    // Quitting closes the screens first, one by one, each the way its own closing goes, so
    // that nothing being typed is thrown away unasked; the first screen that stays open keeps
    // the host, and the screens after it, running. The window's place is kept for next time.
    void closeEvent(QCloseEvent* event) override;

  private:
    QMdiArea* documents_;
    QLabel* branchLabel_;
    QLabel* billingBranchLabel_;
    QLabel* dateLabel_;
    QLabel* userLabel_;
};

}  // namespace fai
