#pragma once

#include <QGraphicsView>

#include <vector>

namespace fai {

class DesignScene;

// The designer's sheet on screen: zoomed to fit the page's width (the start, and whenever
// the window's size changes in that mode) or to 50 to 400 % of its size on paper; Ctrl and
// the mouse wheel, Ctrl++ and Ctrl+- step through the zooms.
class DesignView : public QGraphicsView {
    Q_OBJECT
  public:
    static constexpr int kFitWidth = 0;

    DesignView(DesignScene* scene, QWidget* parent = nullptr);

    // kFitWidth, or a percentage of the size on paper.
    void SetZoom(int percent);
    // The zooms offered, in percent.
    static const std::vector<int>& Zooms();
    double PixelsPerMillimetre() const { return scale_; }

  signals:
    void ZoomChanged(int percent);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The sheet opens at its top.
    void showEvent(QShowEvent* event) override;

  private:
    void StepZoom(int direction);
    void ApplyZoom();

    DesignScene* scene_;
    int percent_ = kFitWidth;
    double scale_ = 1;
    bool placed_ = false;
};

}  // namespace fai
